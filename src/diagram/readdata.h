// readdata.h - the data section reader: the whole data file into the model.
#pragma once

#include "diagram/model.h"
#include "run/run.h"
#include "text/fixedtext.h"

namespace gridel::diagram {

// How far the reading of the data file got, for a check that goes on
// after a failure.
struct ReadProgress {
    text::Text datafile = {0, {}};   // the data file's name as opened; empty until it is
    bool script = false;       // the script reader has begun
};

// Ask for and open the data file, read its data section into the diagram
// (whose tables exist), then hand the file to the script reader, which
// closes it.
void readdata(run::Run& run, Diagram& d, ReadProgress& progress);

inline void readdata(run::Run& run, Diagram& d) {
    ReadProgress progress;
    readdata(run, d, progress);
}

}  // namespace gridel::diagram

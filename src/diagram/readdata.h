// readdata.h - the data section reader: the whole data file into the model.
#pragma once

#include "diagram/model.h"
#include "run/run.h"

// Ask for and open the data file, read its data section into the diagram
// (whose tables exist), then hand the file to the script reader, which
// closes it.
void readdata(Run& run, Diagram& d);

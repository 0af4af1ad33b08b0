// readdata.cpp - the data section reader (only the choice of the file so far).
#include "diagram/readdata.h"

#include "run/files.h"
#include "run/settings.h"

namespace {

LineReader datafile;

}  // namespace

void readdata() {
    promptdatafile("gl-", runsettings.datafile, datafile);
    closereader(datafile);
}

// readdata.h - the data section reader: the whole data file into the model.
#pragma once

#include "run/lineinput.h"
#include "text/fixedtext.h"

// The open data file and its full name; the script reader closes it.
extern LineReader datafile;
extern Text datafilename;

// Ask for and open the data file, read its data section into the diagram
// model, then hand the file to the script reader, which closes it.
void readdata();

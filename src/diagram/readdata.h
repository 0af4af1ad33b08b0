// readdata.h - the data section reader: the whole data file into the model.
#pragma once

// Ask for and open the data file, read its data section into the diagram
// model, then hand the file to the script reader, which closes it.
void readdata();

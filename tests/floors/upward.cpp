// upward.cpp - a file of the run floor that includes a header of the floor
// above it: the build must refuse it.
#include "diagram/model.h"

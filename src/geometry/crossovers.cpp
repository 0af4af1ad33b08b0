// crossovers.cpp - placecrossovers (not yet placing anything).
#include "geometry/crossovers.h"

void placecrossovers() {}

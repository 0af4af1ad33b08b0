// assembly.cpp - assemblelines (not yet assembling anything).
#include "geometry/assembly.h"

void assemblelines() {}

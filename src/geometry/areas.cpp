// areas.cpp - drawareas (not yet painting anything).
#include "geometry/areas.h"

void drawareas() {}

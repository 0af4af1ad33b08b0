// faultpoint.cpp - faultat in the program: no fault is ever made.  A test
// build links a faultat of its own in place of this file.
#include "run/faultpoint.h"

namespace gridel::run {

bool faultat(const char*) { return false; }

}  // namespace gridel::run

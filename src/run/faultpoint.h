// faultpoint.h - the places where a test build makes a system call fail on
// purpose, to show that a failure there loses nothing.  In the program
// itself no fault is ever made.
#pragma once

namespace gridel::run {

// True when the call at `point` ("rename", ...) is to fail this time, with
// errno set; the program then takes the call as failed without making it.
bool faultat(const char* point);

}  // namespace gridel::run

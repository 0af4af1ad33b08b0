// faultat.cpp - faultat for gridel-faults, the program built to fail on
// purpose: with GRIDEL_FAULT="POINT:N", the Nth call at POINT fails (EIO).
#include <cerrno>
#include <cstdlib>
#include <string>

#include "run/faultpoint.h"

bool faultat(const char* point) {
    static int calls = 0;  // calls at the point named, in this process
    const char* asked = std::getenv("GRIDEL_FAULT");
    std::string want = asked != nullptr ? asked : "", here = std::string(point) + ":";
    if (want.compare(0, here.size(), here) != 0 || ++calls != std::atoi(want.c_str() + here.size())) return false;
    errno = EIO;
    return true;
}

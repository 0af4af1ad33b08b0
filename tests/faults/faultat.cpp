// faultat.cpp - faultat for gridel-faults, the test build of the program
// that fails on purpose: with GRIDEL_FAULT="POINT:N" in its environment, the
// Nth call at POINT fails with an input/output error.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "run/faultpoint.h"

bool faultat(const char* point) {
    static int calls = 0;  // calls at the point named, in this process
    const char* asked = std::getenv("GRIDEL_FAULT");
    const char* colon = asked != nullptr ? std::strchr(asked, ':') : nullptr;
    if (colon == nullptr || std::strncmp(asked, point, static_cast<size_t>(colon - asked)) != 0 ||
        point[colon - asked] != '\0')
        return false;
    if (++calls != std::atoi(colon + 1)) return false;
    errno = EIO;
    return true;
}

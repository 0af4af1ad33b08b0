// faultat.cpp - faultat for gridel-faults, the program built to fail on
// purpose.  GRIDEL_FAULT is a comma-separated list of "POINT:N" (the Nth
// call at POINT fails, with EIO) and "POINT:N+" (the Nth and every later
// one fails); each point counts its own calls.
#include <cerrno>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "run/faultpoint.h"

bool gridel::run::faultat(const char* point) {
    static std::map<std::string, int> calls;  // calls at each point, in this process
    const char* asked = std::getenv("GRIDEL_FAULT");
    if (asked == nullptr) return false;
    int call = ++calls[point];
    std::istringstream list(asked);
    std::string item;
    while (std::getline(list, item, ',')) {
        size_t colon = item.find(':');
        if (colon == std::string::npos || item.compare(0, colon, point) != 0) continue;
        int n = std::atoi(item.c_str() + colon + 1);
        bool onward = item.back() == '+';
        if (call == n || (onward && call > n)) {
            errno = EIO;
            return true;
        }
    }
    return false;
}

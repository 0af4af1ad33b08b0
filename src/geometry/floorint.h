// floorint.h - the whole number at or below a real, fast.  std::floor of
// an 80-bit real, and a cast of one to an integer, each switch the x87
// unit's rounding mode and back, which on some processors costs ten times
// the rest of the work of filing an item by its grid cell.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace gridel::geometry {

// floor(q) as an integer, exactly, for |q| below 2^62: q stored as a
// 64-bit integer in whatever rounding mode is current (a neighbour of q,
// within one), then stepped down where that lies above q.
inline long long floorint(long double q) {
    static_assert(std::numeric_limits<long double>::digits == 64, "80-bit extended reals");
#if defined(__x86_64__) || defined(__i386__)
    int64_t k;
    asm("fistpll %0" : "=m"(k) : "t"(q) : "st");
    return static_cast<long double>(k) > q ? k - 1 : k;
#else
    return static_cast<long long>(std::floor(q));
#endif
}

}  // namespace gridel::geometry

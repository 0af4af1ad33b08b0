// interpolation.h - points and lines found by straight-line interpolation in
// calculated rows, where the interpolation value I meets the target a + b*y.
#pragma once

#include <cstdint>

namespace gridel::diagram {

// Interpolate rows 1..n of (X, Y, I) (arrays indexed from 1) at the target:
// the first segment that holds it gives (x, y).  False when none does.
bool interpolate(const long double* X, const long double* Y, const long double* I, int16_t n,
                 long double a, long double b, long double& x, long double& y);

// Interpolate each run of rows with equal x or equal y (b not 0), in row
// order; the points found go into outx, outy (indexed from 1).  Returns
// their count, at most n - 1.
int16_t interpolateline(const long double* X, const long double* Y, const long double* I,
                        int16_t n, long double a, long double b, long double* outx,
                        long double* outy);

}  // namespace gridel::diagram

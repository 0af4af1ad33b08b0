// interpolation.cpp - interpolate and interpolateline, in 80-bit arithmetic
// with exact comparisons.
#include "diagram/interpolation.h"

namespace gridel::diagram {

namespace {

// v lies between the two ends, both included, in either order.
bool between(long double v, long double e1, long double e2) {
    return (e1 <= v && v <= e2) || (e2 <= v && v <= e1);
}

}  // namespace

bool interpolate(const long double* X, const long double* Y, const long double* I, int16_t n,
                 long double a, long double b, long double& x, long double& y) {
    if (b == 0) {
        if (n == 1) {
            if (I[1] != a) return false;
            x = X[1];
            y = Y[1];
            return true;
        }
        for (int p = 1; p <= n - 1; ++p) {
            // Half-open: a target equal only to the last row's value is not found.
            if ((I[p] <= a && a < I[p + 1]) || (I[p] >= a && a > I[p + 1])) {
                long double t = (a - I[p]) / (I[p + 1] - I[p]);
                x = X[p] + t * (X[p + 1] - X[p]);
                y = Y[p] + t * (Y[p + 1] - Y[p]);
                return true;
            }
        }
        return false;
    }
    if (n < 2) return false;
    for (int p = 1; p <= n - 1; ++p) {
        if (Y[p + 1] == Y[p]) {
            long double istar = b * Y[p] + a;
            if (!between(istar, I[p], I[p + 1])) continue;
            // A segment flat in both y and I that lies on the target yields its
            // first row: the fraction would be 0/0.
            long double t = I[p + 1] == I[p] ? 0 : (istar - I[p]) / (I[p + 1] - I[p]);
            x = X[p] + t * (X[p + 1] - X[p]);
            y = Y[p] + t * (Y[p + 1] - Y[p]);
            return true;
        }
        long double ystar;
        if (I[p + 1] == I[p]) {
            ystar = (I[p] - a) / b;
        } else {
            long double w = (I[p + 1] - I[p]) / (Y[p + 1] - Y[p]);
            long double c = (I[p] * Y[p + 1] - Y[p] * I[p + 1]) / (Y[p + 1] - Y[p]);
            if (w == b) continue;  // parallel to the target
            ystar = (a - c) / (w - b);
        }
        if (!between(ystar, Y[p], Y[p + 1])) continue;
        long double t = (ystar - Y[p]) / (Y[p + 1] - Y[p]);
        x = X[p] + t * (X[p + 1] - X[p]);
        y = ystar;
        return true;
    }
    return false;
}

int16_t interpolateline(const long double* X, const long double* Y, const long double* I,
                        int16_t n, long double a, long double b, long double* outx,
                        long double* outy) {
    int16_t found = 0;
    int j = 1;
    for (;;) {
        // The next pair of rows with equal x or equal y starts a run.
        while (j <= n - 1 && X[j + 1] != X[j] && Y[j + 1] != Y[j]) ++j;
        if (j > n - 1) break;
        int m = j + 1;
        if (X[j + 1] == X[j]) {
            while (m + 1 <= n && X[m + 1] == X[m]) ++m;
        } else {
            while (m + 1 <= n && Y[m + 1] == Y[m]) ++m;
        }
        long double x, y;
        if (interpolate(X + j - 1, Y + j - 1, I + j - 1, static_cast<int16_t>(m - j + 1), a, b, x, y)) {
            ++found;
            outx[found] = x;
            outy[found] = y;
        }
        if (m == n) break;
        j = m;  // a run of the other kind may begin on this run's last row
    }
    return found;
}

}  // namespace gridel::diagram

// diagrams.cpp - the made-up data files.
#include "fidelity/diagrams.h"

#include <cmath>
#include <cstdio>
#include <random>

namespace fidelity {

namespace {

constexpr double pi = 3.14159265358979323846;

// Drawn from a fixed sequence, so a seed always gives the same diagram.
struct Random {
    std::mt19937 g;
    double uniform(double lo, double hi) { return lo + (hi - lo) * (g() / 4294967296.0); }
    int whole(int lo, int hi) { return lo + static_cast<int>(g() % static_cast<unsigned>(hi - lo + 1)); }
    // Three components "R G B", each from 0 to its maximum, drawn in order.
    std::string colour(int red, int green, int blue) {
        std::string c = std::to_string(whole(0, red));
        for (int most : {green, blue}) {
            c += ' ';
            c += std::to_string(whole(0, most));
        }
        return c;
    }
};

std::string number(double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%.4f", v);
    return b;
}

// Where the ray from (x, y) inside the unit square in direction a leaves it.
void exitpoint(double x, double y, double a, double& ex, double& ey) {
    double dx = std::cos(a), dy = std::sin(a);
    double t = 1e9;
    if (dx > 0) t = std::min(t, (1 - x) / dx);
    if (dx < 0) t = std::min(t, -x / dx);
    if (dy > 0) t = std::min(t, (1 - y) / dy);
    if (dy < 0) t = std::min(t, -y / dy);
    ex = x + t * dx;
    ey = y + t * dy;
}

}  // namespace

std::string fan(unsigned seed) {
    Random r{std::mt19937(seed)};
    double xlow = 100.0 * r.whole(0, 5), dx = 100.0 * r.whole(2, 8);
    double ylow = -r.whole(0, 2), dy = r.whole(5, 12);
    auto x = [&](double u) { return number(xlow + u * dx); };
    auto y = [&](double v) { return number(ylow + v * dy); };
    double uc = r.uniform(0.35, 0.65), vc = r.uniform(0.35, 0.65);
    int n = r.whole(3, 6);

    std::string s = "% a fan of lines round one point\n2 3 1 2\n";
    s += "i1 A B C D invariant " + x(uc) + " " + y(vc) + "\n";
    for (int k = 2; k <= 4; ++k) {
        double u = r.uniform(0.1, 0.9), v = r.uniform(0.1, 0.9);
        s += "i";
        s += std::to_string(k) + " " + x(u) + " " + y(v) + "\n";
    }
    const char* colours[] = {"", "red ", "rgb", "blue ", "green ", "magenta "};
    double start = r.uniform(0, 2 * pi);
    for (int k = 1; k <= n; ++k) {
        double a = start + 2 * pi * (k - 1) / n + r.uniform(-0.25, 0.25) * 2 * pi / n;
        double bend = r.uniform(-0.3, 0.3);
        double bx = uc + 0.2 * std::cos(a + bend), by = vc + 0.2 * std::sin(a + bend);
        // The last segment must not leave through a corner.
        for (;;) {
            double ex, ey;
            exitpoint(bx, by, a, ex, ey);
            if (std::min(std::fabs(ex), std::fabs(1 - ex)) + std::min(std::fabs(ey), std::fabs(1 - ey)) > 0.05) break;
            a += 0.1;
        }
        std::string style = colours[k % 6];
        if (style == "rgb") {
            style += ' ';
            style += r.colour(255, 255, 255) + " ";
        }
        if (r.whole(0, 2) == 0) style += "thick ";
        if (r.whole(0, 2) == 0) style += "dashed ";
        s += "u";
        s += std::to_string(k) + " A B - C i1 end " + style + "\n   " + x(uc) + " " + y(vc) + "   " + x(bx) + " " +
             y(by) + "   " + x(bx + 3 * std::cos(a)) + " " + y(by + 3 * std::sin(a)) + "\n";
    }
    s += "*\n";
    for (int k = 1; k <= n; ++k)
        s += number(r.uniform(0.15, 0.95)) + " u" + std::to_string(k) + " u" + std::to_string(k % n + 1) + "\n";
    s += "*\n";
    s += "window " + x(0) + " " + x(1) + " " + y(0) + " " + y(1) + "\n";
    int xticks = r.whole(3, 6), yticks = r.whole(3, 6);
    s += "bigticks " + number(dx / xticks) + " " + x(0) + " " + number(dy / yticks) + " " + y(0) + "\n";
    s += "smallticks " + number(dx / xticks / 4) + " " + number(dy / yticks / 5) + "\n";
    s += "numbering yes " + std::to_string(r.whole(6, 14)) + "\n";
    s += "docircles " + std::to_string(r.whole(2, 7)) + "\n";
    s += "darkcolour ";
    s += r.colour(120, 120, 160) + "\n";
    s += "info a fan of " + std::to_string(n) + " lines, seed " + std::to_string(seed) + "\n*\n";
    return s;
}

std::string ticksandtext() {
    return "2 3 1 2\n"
           "i1 -3 -0.5\n"
           "i2 1.75 1.25\n"
           "i3 -1 1\n"
           "i4 0.5 -0.75\n"
           "u1 i1 i2 connect\n"
           "u2 i3 i4 connect thick\n"
           "u13 i1 i3 connect rgb 120 60 200 dashed\n"
           "u4 i2 i4 connect rgb 300 -20 128 thick dashed\n"
           "*\n*\n"
           "window -3.5 2.25 -1 1.5\n"
           "bigticks 0.75 -3 0.25 -0.75\n"
           "smallticks 0.125 0.05\n"
           "numbering yes 9\n"
           "docircles 5\n"
           "info Parentheses (like these), a backslash \\ and 50% stay as they are\n"
           "info A longer line of words to see that text runs on at the same pace in every format, "
           "without drifting against the EPS: WAVY AVAILABLE Tokyo LT fi fl 0123456789\n"
           "info 1/3 = 0.333, 2e3 = 2000, -1.5 < 0 > -2 [x] {y} @#$&*+=|~^_\n"
           "*\n";
}

std::string utf8text() {
    return "2 3 1 2\n"
           "i1 qz coe ky sill invariant 400 5\n"
           "u\xCE\xB1 qz coe - ky i1 end\n   400 5   -200 11\n"
           "u\xCE\xB2" "2 coe ky - qz i1 end blue\n   400 5   900 12\n"
           "u\xC3\xA4 ky sill - qz i1 end dashed\n   400 5   520 -2\n"
           "*\n"
           "0.8 u\xCE\xB1 u\xCE\xB2" "2\n"
           "*\n"
           "window 100 700 0 10\n"
           "bigticks 100 100 2 0\n"
           "numbering yes 14\n"
           "docircles 4\n"
           "info Temperature in \xC2\xB0" "C, pressure in kbar\n"
           "info \xCE\xB1-quartz, \xCE\xB2-quartz, \xCE\x94G, Gl\xC3\xA4ser, \xC3\x96l, \xC3\x9C" "bergang, "
           "\xC2\xB5m, \xC2\xB1 5\n"
           "info Units: 25\xC2\xB0" "C, \xC2\xB1 2 \xC2\xB5m\n"
           "*\n";
}

std::string markuptext() {
    return "2 3 1 2\n"
           "i1 ky sill and invariant 600 6\n"
           "u1 ky sill - and i1 end\n   600 6   900 9\n"
           "u2 and sill - ky i1 end\n   600 6   900 3\n"
           "u3 ky and - sill i1 end\n   600 6   300 4\n"
           "*\n"
           "0.6 u1 u2   % sill + H2O + Al2SiO5\n"
           "0.9 u2 u3   % and + CO2 \xE2\x86\x92 TiO2\n"
           "*\n"
           "window 300 900 2 10\n"
           "bigticks 100 300 2 2\n"
           "numbering yes\n"
           "docircles 2\n"
           "style paper\n"
           "size 70\n"
           "formulas\n"
           "title $X$(CO$_2$) = 0.1, Fe$^{2+}$, $\\Delta V_{r}$ in cm$^3$\n"
           "xlabel $T$ (\xC2\xB0" "C)\n"
           "ylabel $P$ (kbar) at $\\alpha_\\mathrm{max}$\n"
           "fields comments\n"
           "field 2 ky + $\\beta$-q + CO2\n"
           "legend below\n"
           "*\n";
}

}  // namespace fidelity

#!/usr/bin/env python3
"""gendiagram.py - writes a large, valid gridel diagram for the benchmark.

The diagram has the largest shape the data file allows: 500 points, 1500
lines and 300 areas, with 20 values on every data row.  Only the number of
data rows on each line changes with --rows (at most 200), so doubling --rows
doubles the rows of the whole file.

What the diagram holds (window 400..900 by 0..12):
  - a grid of 25 x 16 points inside the window, joined by 759 short lines
    whose data run past both points, so every one is trimmed to its two
    points; 200 grid cells are areas bounded by four such lines;
  - 261 lines that cross the window from the left edge to the right edge,
    "begin"/"end" limits, cut on both edges; 60 areas are the strips
    between neighbouring ones;
  - 100 lines that cross from the bottom edge to the top edge; 20 crossover
    points are placed where one of them crosses one of the lines above;
  - 40 lines that begin at a point outside the window, left of it, and enter
    through the left edge ("iN end"), and 40 that leave through the bottom
    edge to end at a point below it ("begin iN");
  - 200 lines that leave by one edge near a corner, loop round the corner
    outside and come back through the neighbouring edge (a corner is added
    where they are cut);
  - 100 lines that cut off a corner of the window, entering by one edge and
    leaving by the next; 40 of them are one-line areas closed through the
    corner.

Besides gl-bench.txt and gl-prefs.txt it writes gl-paper.txt: the same
diagram as a figure for a paper (`style paper`, `size 84`, `legend right`,
`fields comments`), every area named by a comment of two to four phases, so
that every line and point number has a halo and every field a name, placed
clear of the lines and of one another.  It also writes, for the same lines, the same
20-value rows with a blank line between lines (bench.dat), the x and y
columns alone in the same form (bench-xy.dat), and scripts that draw those
lines to EPS with other programs, the peers of the benchmark:
  bench.gp      gnuplot, `plot 'bench.dat' using 1:2 with lines`: reads the
                rows but needs only x and y;
  bench-all.gp  gnuplot with a y expression that uses every column, so that
                each of the 20 values of a row is converted (gnuplot reads a
                fraction a/b as a);
  bench-mpl.py  matplotlib (Agg, EPS): numpy.loadtxt converts all 20 columns
                of bench.dat (fractions as a/b), one LineCollection draws them;
  bench-xy.gp   gnuplot on bench-xy.dat.

Usage: gendiagram.py --rows N --out FOLDER [--seed S]
"""

import argparse
import math
import os
import random

XLOW, XHIGH, YLOW, YHIGH = 400.0, 900.0, 0.0, 12.0
NVARS = 20
FRACTION_KIND = 4  # columns c with c % 6 == FRACTION_KIND hold fractions a/b
MAXLINE = 255  # longer text lines would be cut by the reader

PHASES = ["ky", "sill", "and", "q", "H2O", "mu", "bi", "g", "st", "cd", "chl",
          "ctd", "ksp", "pl", "ab", "ru", "ilm", "opx", "cpx", "hb", "ep",
          "law", "jd", "sph", "ta"]

GRID_NX, GRID_NY = 25, 16
N_ACROSS = 261
N_UP = 100
N_ENTER = 40
N_LEAVE = 40
N_LOOP = 200
N_CORNERCUT = 100
N_CROSSOVER = 20
N_CELL_AREAS = 200
N_STRIP_AREAS = 60
N_CORNER_AREAS = 40


def wx(u):
    """Window fraction u to data x."""
    return XLOW + (XHIGH - XLOW) * u


def wy(v):
    """Window fraction v to data y."""
    return YLOW + (YHIGH - YLOW) * v


def fx(x):
    return "%.2f" % x


def fy(y):
    return "%.4f" % y


class Diagram:
    def __init__(self, rows, seed):
        self.rows = rows
        self.rng = random.Random(seed)
        self.points = []   # (name, header words, (x, y) or None, crossover lines or None)
        self.lines = []    # (name, header words, [(x, y), ...])
        self.areas = []    # (grayscale, [line names])

    # -- names and headers -------------------------------------------------

    def pointname(self):
        return "i%d" % (len(self.points) + 1)

    def linename(self):
        return "u%d" % (len(self.lines) + 1)

    def phases(self, k):
        return self.rng.sample(PHASES, k)

    def pointheader(self):
        r = self.rng.random()
        if r < 0.6:
            return self.phases(3) + ["-"] + self.phases(2)
        if r < 0.8:
            return self.phases(4) + ["invariant"]
        if r < 0.9:
            return ["point"]
        return []

    def lineheader(self):
        r = self.rng.random()
        if r < 0.6:
            return self.phases(3) + ["-"] + self.phases(1)
        if r < 0.8:
            return self.phases(3) + ["univariant"]
        return ["line"]

    def stylewords(self):
        words = []
        r = self.rng.random()
        if r < 0.15:
            words += ["rgb", str(self.rng.randrange(256)), str(self.rng.randrange(256)),
                      str(self.rng.randrange(256))]
        elif r < 0.3:
            words.append(self.rng.choice(["red", "blue", "green", "magenta"]))
        if self.rng.random() < 0.1:
            words.append("thick")
        if self.rng.random() < 0.15:
            words.append("dashed")
        return words

    # -- rows ----------------------------------------------------------------

    def othervalue(self, col):
        """A value for a column other than x and y, in the forms users write."""
        rng = self.rng
        kind = col % 6
        if kind == 0:
            return "%.4f" % rng.random()
        if kind == 1:
            return "%.3f" % rng.uniform(-5, 5)
        if kind == 2:
            return str(rng.randrange(0, 400))
        if kind == 3:
            return "%.3e" % rng.uniform(1e-4, 9e-3)
        if kind == FRACTION_KIND:
            return "%d/%d" % (rng.randrange(1, 9), rng.randrange(1, 9))
        return "%.2f" % rng.uniform(0, 100)

    def row(self, x, y):
        values = [fx(x), fy(y)] + [self.othervalue(c) for c in range(3, NVARS + 1)]
        return " ".join(values)

    def samples(self, curve):
        """The line's data: curve(t) at `rows` values of t from 0 to 1."""
        n = self.rows
        return [curve(k / (n - 1)) for k in range(n)]

    # -- items ---------------------------------------------------------------

    def addpoint(self, x, y, header=None):
        name = self.pointname()
        self.points.append((name, self.pointheader() if header is None else header, (x, y), None))
        return name

    def addcrossover(self, line1, line2):
        name = self.pointname()
        self.points.append((name, ["crossover"], None, (line1, line2)))
        return name

    def addline(self, limits, data):
        name = self.linename()
        self.lines.append((name, self.lineheader() + limits + self.stylewords(), data))
        return name

    # -- the families --------------------------------------------------------

    def grid(self):
        """Grid points, the lines between neighbours, and the cell areas."""
        rng = self.rng
        du = 0.96 / (GRID_NX - 1)
        dv = 0.94 / (GRID_NY - 1)
        pos = {}
        names = {}
        for r in range(GRID_NY):
            for c in range(GRID_NX):
                u = 0.02 + c * du + rng.uniform(-0.12, 0.12) * du
                v = 0.03 + r * dv + rng.uniform(-0.12, 0.12) * dv
                x, y = round(wx(u), 2), round(wy(v), 4)
                pos[c, r] = (x, y)
                names[c, r] = self.addpoint(x, y)
        ext = 0.15  # the data run this far past both points

        def segment(p, q, across):
            (x1, y1), (x2, y2) = p, q
            waves = rng.choice([1, 2, 3])
            if across:  # x rises steadily: placed by x, y bends between the points
                amp = rng.uniform(0.05, 0.25) * abs(y2 - y1 + dv * (YHIGH - YLOW))

                def curve(s):
                    t = -ext + (1 + 2 * ext) * s
                    return (x1 + (x2 - x1) * t,
                            y1 + (y2 - y1) * t + amp * math.sin(waves * math.pi * t))
            else:  # x turns back and forth: placed by y
                amp = 0.03 * du * (XHIGH - XLOW)

                def curve(s):
                    t = -ext + (1 + 2 * ext) * s
                    return (x1 + (x2 - x1) * t + amp * math.sin(2 * waves * math.pi * t),
                            y1 + (y2 - y1) * t)
            return self.samples(curve)

        hline = {}
        vline = {}
        for r in range(GRID_NY):
            for c in range(GRID_NX - 1):
                hline[c, r] = self.addline([names[c, r], names[c + 1, r]],
                                           segment(pos[c, r], pos[c + 1, r], True))
        for c in range(GRID_NX):
            for r in range(GRID_NY - 1):
                vline[c, r] = self.addline([names[c, r], names[c, r + 1]],
                                           segment(pos[c, r], pos[c, r + 1], False))
        cells = [(c, r) for r in range(GRID_NY - 1) for c in range(GRID_NX - 1)]
        rng.shuffle(cells)
        for c, r in sorted(cells[:N_CELL_AREAS], key=lambda cr: (cr[1], cr[0])):
            # bottom, right, top, left: each line starts where the last one ended
            self.areas.append((rng.uniform(0.3, 0.95),
                               [hline[c, r], vline[c + 1, r], hline[c, r + 1], vline[c, r]]))

    def across(self):
        """Lines from left of the window to right of it; strips between them."""
        rng = self.rng
        made = []
        for k in range(N_ACROSS):
            v0 = 0.06 + 0.88 * (k + 0.5) / N_ACROSS
            slope = rng.uniform(-0.04, 0.04)
            amp = rng.uniform(0.002, 0.012)
            waves = rng.uniform(1, 4)

            def curve(s, v0=v0, slope=slope, amp=amp, waves=waves):
                u = -0.06 + 1.12 * s
                return wx(u), wy(v0 + slope * (u - 0.5) + amp * math.sin(waves * math.pi * u))
            made.append(self.addline(["begin", "end"], self.samples(curve)))
        for k in range(N_STRIP_AREAS):
            j = 4 * k
            self.areas.append((rng.uniform(0.5, 0.95), [made[j], made[j + 1]]))
        return made

    def up(self):
        """Lines from below the window to above it."""
        rng = self.rng
        made = []
        for k in range(N_UP):
            u0 = 0.05 + 0.9 * (k + 0.5) / N_UP
            slope = rng.uniform(-0.04, 0.04)
            amp = rng.uniform(0.002, 0.01)

            def curve(s, u0=u0, slope=slope, amp=amp):
                v = -0.06 + 1.12 * s
                return wx(u0 + slope * (v - 0.5) + amp * math.sin(3 * math.pi * v)), wy(v)
            made.append(self.addline(["begin", "end"], self.samples(curve)))
        return made

    def entering(self):
        """Lines that begin at a point left of the window and end inside it."""
        rng = self.rng
        for k in range(N_ENTER):
            v0 = 0.1 + 0.8 * (k + 0.5) / N_ENTER
            slope = rng.uniform(-0.2, 0.2)
            uend = rng.uniform(0.3, 0.7)

            def line(u, v0=v0, slope=slope):
                return wx(u), wy(v0 + slope * u)
            px, py = line(-0.04)
            p = self.addpoint(round(px, 2), round(py, 4))
            self.addline([p, "end"], self.samples(lambda s, uend=uend, line=line:
                                                  line(-0.1 + (uend + 0.1) * s)))

    def leaving(self):
        """Lines that begin inside and end at a point below the window."""
        rng = self.rng
        for k in range(N_LEAVE):
            u0 = 0.1 + 0.8 * (k + 0.5) / N_LEAVE
            vstart = rng.uniform(0.3, 0.7)

            def line(v, u0=u0, vstart=vstart):
                return wx(u0 + 0.25 * (vstart - v)), wy(v)
            px, py = line(-0.04)
            p = self.addpoint(round(px, 2), round(py, 4))
            self.addline(["begin", p], self.samples(lambda s, vstart=vstart, line=line:
                                                    line(vstart - (vstart + 0.1) * s)))

    CORNERS = [((0.0, 0.0), 45.0), ((1.0, 0.0), 135.0), ((1.0, 1.0), 225.0), ((0.0, 1.0), 315.0)]

    def loops(self):
        """Lines that leave near a corner and come back by the next edge."""
        rng = self.rng
        for k in range(N_LOOP):
            (cu, cv), mid = self.CORNERS[k % 4]
            radius = rng.uniform(0.03, 0.12)
            squash = rng.uniform(0.7, 1.3)
            start = math.radians(mid + rng.uniform(15, 35))
            sweep = math.radians(360 - rng.uniform(30, 70))

            def curve(s, cu=cu, cv=cv, radius=radius, squash=squash, start=start, sweep=sweep):
                a = start + sweep * s
                return wx(cu + radius * math.cos(a)), wy(cv + radius * squash * math.sin(a))
            self.addline(["begin", "end"], self.samples(curve))

    def cornercuts(self):
        """Lines that cut off a corner: in by one edge, out by the next."""
        rng = self.rng
        made = []
        for k in range(N_CORNERCUT):
            (cu, cv), _ = self.CORNERS[k % 4]
            du = 1 if cu == 0 else -1
            dv = 1 if cv == 0 else -1
            d = rng.uniform(0.1, 0.35)
            bulge = rng.uniform(-0.03, 0.03)

            def curve(s, cu=cu, cv=cv, du=du, dv=dv, d=d, bulge=bulge):
                # from outside beyond one edge to outside beyond the other
                a = (-0.06, d)
                b = (d, -0.06)
                p = a[0] + (b[0] - a[0]) * s + bulge * math.sin(math.pi * s)
                q = a[1] + (b[1] - a[1]) * s + bulge * math.sin(math.pi * s)
                return wx(cu + du * p), wy(cv + dv * q)
            made.append(self.addline(["begin", "end"], self.samples(curve)))
        for k in range(N_CORNER_AREAS):
            self.areas.append((rng.uniform(0.4, 0.9), [made[k]]))

    def build(self):
        self.grid()
        acr = self.across()
        ups = self.up()
        self.entering()
        self.leaving()
        self.loops()
        self.cornercuts()
        for k in range(N_CROSSOVER):
            self.addcrossover(acr[(13 * k) % len(acr)], ups[(7 * k + 3) % len(ups)])
        assert len(self.points) == 500, len(self.points)
        assert len(self.lines) == 1500, len(self.lines)
        assert len(self.areas) == 300, len(self.areas)

    # -- output --------------------------------------------------------------

    def write(self, folder):
        os.makedirs(folder, exist_ok=True)
        out = []

        def emit(text):
            assert len(text) <= MAXLINE, text
            out.append(text)

        emit("%% benchmark diagram: %d rows a line" % self.rows)
        emit("%d 3 1 2" % NVARS)
        for name, header, xy, cross in self.points:
            if cross:
                emit(" ".join([name] + header + list(cross)))
            else:
                emit(" ".join([name] + header))
                emit("   " + self.row(*xy))
        for name, header, data in self.lines:
            emit(" ".join([name] + header))
            for x, y in data:
                emit("   " + self.row(x, y))
        emit("*")
        for gray, names in self.areas:
            emit(" ".join(["%.2f" % gray] + names))
        emit("*")
        emit("window %g %g %g %g" % (XLOW, XHIGH, YLOW, YHIGH))
        emit("bigticks 50 400 1 0")
        emit("smallticks 10 0.2")
        emit("numbering 8")
        emit("docircles 3")
        emit("info benchmark diagram, %d rows a line" % self.rows)
        emit("*")
        with open(os.path.join(folder, "gl-bench.txt"), "w") as f:
            f.write("\n".join(out) + "\n")
        self.writepaper(folder, out)
        with open(os.path.join(folder, "gl-prefs.txt"), "w") as f:
            f.write("datafile bench\n")

        # The same lines for a general plotting program.  The 20-value rows
        # are written again (the rows above were drawn from the generator's
        # random stream, so they are copied from `out`, not rebuilt).
        with open(os.path.join(folder, "bench.dat"), "w") as full, \
                open(os.path.join(folder, "bench-xy.dat"), "w") as xy:
            first = True
            for block in self.lineblocks(out):
                if not first:
                    full.write("\n")
                    xy.write("\n")
                first = False
                for text in block:
                    full.write(text + "\n")
                    words = text.split()
                    xy.write(words[0] + " " + words[1] + "\n")
        # y + 0 * (sum of the other columns): the same points, but gnuplot
        # has to convert every value of the row to compute them.
        every = "1:($2+0*(%s))" % "+".join("$%d" % c for c in range(3, NVARS + 1))
        for data, using, gp, eps in (
                ("bench.dat", "1:2", "bench.gp", "bench-gnuplot.eps"),
                ("bench.dat", every, "bench-all.gp", "bench-gnuplot-all.eps"),
                ("bench-xy.dat", "1:2", "bench-xy.gp", "bench-xy-gnuplot.eps")):
            with open(os.path.join(folder, gp), "w") as f:
                f.write("set terminal postscript eps\n")
                f.write("set output '%s'\n" % eps)
                f.write("set xrange [%g:%g]\n" % (XLOW, XHIGH))
                f.write("set yrange [%g:%g]\n" % (YLOW, YHIGH))
                f.write("unset key\n")
                f.write("plot '%s' using %s with lines\n" % (data, using))
        with open(os.path.join(folder, "bench-mpl.py"), "w") as f:
            f.write(MATPLOTLIB_SCRIPT % {
                "lines": len(self.lines), "rows": self.rows, "nvars": NVARS,
                "xlow": XLOW, "xhigh": XHIGH, "ylow": YLOW, "yhigh": YHIGH,
                "fractions": ", ".join("%d: fraction" % (c - 1) for c in range(3, NVARS + 1)
                                       if c % 6 == FRACTION_KIND)})

    def writepaper(self, folder, out):
        """gl-paper.txt: gl-bench.txt with a comment naming each area and
        the figure keywords of a paper's figure after its script."""
        names = random.Random(7919)  # a stream of its own: gl-bench.txt stays as it was
        end = len(out) - 1  # the script's closing "*"
        first = out.index("*") + 1  # the areas follow the lines' "*"
        with open(os.path.join(folder, "gl-paper.txt"), "w") as f:
            for k, text in enumerate(out):
                if first <= k < first + len(self.areas):
                    text += "  % " + " + ".join(names.sample(PHASES, names.randrange(2, 5)))
                if k == end:
                    f.write("style paper\nsize 84\nlegend right\nfields comments\n")
                f.write(text + "\n")

    def lineblocks(self, out):
        """The data rows of each line, as written in the data file."""
        # Lines follow the points; each is its header and `rows` row texts.
        at = 2
        for name, header, xy, cross in self.points:
            at += 1 if cross else 2
        for _ in self.lines:
            at += 1
            yield [t.strip() for t in out[at:at + self.rows]]
            at += self.rows


MATPLOTLIB_SCRIPT = """\
# Draws the benchmark's lines from bench.dat to EPS with matplotlib: every
# value of every row is converted, the lines are cut at the window.
import numpy as np
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
from matplotlib.collections import LineCollection

LINES, ROWS, NVARS = %(lines)d, %(rows)d, %(nvars)d


def fraction(word):
    top, _, bottom = word.partition("/")
    return float(top) / float(bottom) if bottom else float(top)


# Blank lines between the lines are skipped; each line has ROWS rows.
data = np.loadtxt("bench.dat", converters={%(fractions)s}, encoding="ascii")
assert data.shape == (LINES * ROWS, NVARS), data.shape
fig, ax = plt.subplots()
ax.add_collection(LineCollection(data.reshape(LINES, ROWS, NVARS)[:, :, :2], linewidths=0.5))
ax.set_xlim(%(xlow)r, %(xhigh)r)
ax.set_ylim(%(ylow)r, %(yhigh)r)
fig.savefig("bench-matplotlib.eps")
"""


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--rows", type=int, default=200, help="data rows of each line, 2..200")
    ap.add_argument("--out", required=True, help="folder to write into")
    ap.add_argument("--seed", type=int, default=1, help="seed of the random choices")
    args = ap.parse_args()
    if not 2 <= args.rows <= 200:
        ap.error("--rows must be 2..200")
    d = Diagram(args.rows, args.seed)
    d.build()
    d.write(args.out)


if __name__ == "__main__":
    main()

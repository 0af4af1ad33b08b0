#!/usr/bin/env python3
"""timing.py - runs and times the benchmark's programs, and writes the tables.

  timing.py check FOLDER
      Checks, in a folder written by gendiagram.py, that the gnuplot script
      bench-all.gp needs every column of a row (a word that is no number in
      any one column drops that row) and that it keeps every row of bench.dat;
      tells which columns bench.gp needs.

  timing.py run --rows N --runs R --warmup W --out FILE.json --launcher LAUNCH
                NAME=COMMAND...
      In the current folder, runs the commands one after the other, W rounds
      to warm up and then R timed rounds (A B C A B C ...), each run with
      standard input from /dev/null and its output in NAME.out/NAME.err.
      Each run is measured by LAUNCH, bench/launch.cpp compiled: CPU time is
      the user + system time of the child as wait4 reports it, wall time the
      monotonic clock from before the start to after the wait, peak memory
      the child's ru_maxrss.  Any run that fails stops the benchmark.

  timing.py report --results FILE.md --info KEY=VALUE... SIZE.json...
      Medians and spreads, ratios of gridel's times to each peer's, peak
      memory and the growth of gridel's time with the rows, as markdown: the
      full tables to FILE.md ("-" for none) and a short table for bench/README.md
      to standard output.  The raw figures go beside FILE.md as .json.
"""

import json
import math
import os
import platform
import shlex
import shutil
import statistics
import subprocess
import sys


# -- running ------------------------------------------------------------------

def runonce(launcher, argv, name):
    """Runs argv (argv[0] a path) once through the launcher (launch.cpp),
    which measures it; returns (exit status, wall s, CPU s, peak KiB)."""
    stdin = os.open(os.devnull, os.O_RDONLY)
    stdout = os.open(name + ".out", os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    stderr = os.open(name + ".err", os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    result = name + ".cost"
    pid = os.posix_spawn(launcher, [launcher, result] + argv, os.environ,
                         file_actions=[(os.POSIX_SPAWN_DUP2, stdin, 0),
                                       (os.POSIX_SPAWN_DUP2, stdout, 1),
                                       (os.POSIX_SPAWN_DUP2, stderr, 2)])
    _, status = os.waitpid(pid, 0)
    for fd in (stdin, stdout, stderr):
        os.close(fd)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("timing.py: the launcher failed on %s; see %s.err"
                 % (name, os.path.abspath(name)))
    with open(result) as f:
        code, wall, user, system, peak = (int(w) for w in f.read().split())
    os.unlink(result)
    return code, wall / 1e9, (user + system) / 1e6, peak


def loadavg():
    with open("/proc/loadavg") as f:
        return [float(w) for w in f.read().split()[:3]]


def floor(launcher, rounds=9):
    """What the measuring itself adds: /bin/true measured the same way.

    The launcher's peak counts into the ru_maxrss of the child that it
    starts, so no program measures below this floor."""
    runs = [runonce(launcher, [shutil.which("true")], "floor") for _ in range(rounds)]
    for f in ("floor.out", "floor.err"):
        os.unlink(f)
    return {"wall": statistics.median(r[1] for r in runs),
            "cpu": statistics.median(r[2] for r in runs),
            "peak_kib": max(r[3] for r in runs)}


def cmd_run(args):
    progs = []
    for entry in args.progs:
        name, sep, command = entry.partition("=")
        if not sep or not name or not command:
            sys.exit("timing.py: expected NAME=COMMAND, got %r" % entry)
        argv = shlex.split(command)
        path = shutil.which(argv[0])
        if not path:
            sys.exit("timing.py: no program %s" % argv[0])
        progs.append((name, [path] + argv[1:]))
    result = {"rows": args.rows, "runs": args.runs, "warmup": args.warmup,
              "programs": [name for name, _ in progs],
              "samples": {name: {"wall": [], "cpu": [], "peak_kib": []} for name, _ in progs},
              "floor": floor(args.launcher), "load_before": loadavg()}
    for rnd in range(args.warmup + args.runs):
        for name, argv in progs:
            status, wall, cpu, peak = runonce(args.launcher, argv, name)
            if status != 0:
                sys.exit("timing.py: %s ended with status %d in round %d; see %s.err"
                         % (name, status, rnd + 1, os.path.abspath(name)))
            if rnd >= args.warmup:
                s = result["samples"][name]
                s["wall"].append(wall)
                s["cpu"].append(cpu)
                s["peak_kib"].append(peak)
    result["load_after"] = loadavg()
    if os.path.exists("bench.dat"):
        with open("bench.dat") as f:
            result["datarows"] = sum(1 for text in f if text.strip())
    if os.path.exists("gl-bench.txt"):
        result["file_mb"] = round(os.path.getsize("gl-bench.txt") / 2 ** 20, 1)
    with open(args.out, "w") as f:
        json.dump(result, f, indent=1)


# -- checking the peers -------------------------------------------------------

def usingclause(script):
    """The data file and the using clause of the plot line of a gnuplot script."""
    with open(script) as f:
        for text in f:
            words = text.split()
            if words[:1] == ["plot"] and "using" in words:
                return words[1].strip("'\""), words[words.index("using") + 1]
    sys.exit("timing.py: no 'plot FILE using ...' line in %s" % script)


def gnuplotstats(data, using):
    """(records, invalid) of gnuplot's stats over data with the using clause."""
    out = subprocess.run(
        ["gnuplot", "-e", "stats '%s' using %s nooutput; print STATS_records, STATS_invalid"
         % (data, using)], stdin=subprocess.DEVNULL, capture_output=True, text=True, check=True)
    words = out.stderr.split()  # gnuplot prints to standard error
    return int(words[-2]), int(words[-1])


def neededcolumns(data, using, tmp):
    """The columns whose value gnuplot converts to draw the rows of data:
    one row of five gets a word that is no number in column k; if that row
    is dropped, column k is read as a number."""
    with open(data) as f:
        rows = []
        for text in f:
            if text.strip():
                rows.append(text.split())
            if len(rows) == 5:
                break
    needed = []
    for k in range(1, len(rows[0]) + 1):
        spoilt = [list(r) for r in rows]
        spoilt[2][k - 1] = "junk"
        with open(tmp, "w") as f:
            f.write("".join(" ".join(r) + "\n" for r in spoilt))
        records, _ = gnuplotstats(tmp, using)
        if records == len(rows) - 1:
            needed.append(k)
        elif records != len(rows):
            sys.exit("timing.py: gnuplot kept %d of %d rows with junk in column %d"
                     % (records, len(rows), k))
    os.unlink(tmp)
    return needed, len(rows[0])


def cmd_check(args):
    os.chdir(args.folder)
    data, every = usingclause("bench-all.gp")
    needed, ncols = neededcolumns(data, every, "junk-rows.dat")
    if needed != list(range(1, ncols + 1)):
        sys.exit("timing.py: bench-all.gp converts only columns %s of %d" % (needed, ncols))
    with open(data) as f:
        datarows = sum(1 for text in f if text.strip())
    records, invalid = gnuplotstats(data, every)
    if (records, invalid) != (datarows, 0):
        sys.exit("timing.py: bench-all.gp keeps %d of %d rows (%d invalid)"
                 % (records, datarows, invalid))
    data1, plain = usingclause("bench.gp")
    needed1, _ = neededcolumns(data1, plain, "junk-rows.dat")
    print("gnuplot: bench-all.gp converts all %d columns of all %d rows; bench.gp needs"
          " columns %s" % (ncols, datarows, ", ".join(map(str, needed1))))


# -- the tables ---------------------------------------------------------------

# The programs by the names run.sh gives them, as the tables show them.
LABEL = {"gridel": "gridel", "gnuplot": "gnuplot 1:2", "gnuplot-all": "gnuplot all 20",
         "matplotlib": "matplotlib", "gridel-png": "gridel EPS+PNG", "gridel-all": "gridel 4 formats",
         "gridel-paper": "paper EPS", "gridel-paper-all": "paper 4 formats"}
# gridel's other runs of the same diagram: the plain one with more formats,
# and the paper figure (gl-paper.txt: halo numbers, 300 field names, a key).
VARIANTS = ["gridel-png", "gridel-all", "gridel-paper", "gridel-paper-all"]
HEADLINE = "gnuplot"


def quartiles(values):
    if len(values) < 2:
        return values[0], values[0]
    q = statistics.quantiles(values, n=4, method="inclusive")
    return q[0], q[2]


def spread(values, digits=3):
    """median [q1-q3] (min-max)"""
    q1, q3 = quartiles(values)
    f = "%%.%df" % digits
    return ("%s [%s–%s] (%s–%s)" % (f, f, f, f, f)) % (
        statistics.median(values), q1, q3, min(values), max(values))


# Peak memory is shown in MiB (1,048,576 bytes): ru_maxrss counts KiB.
def medianpeak(samples):
    return statistics.median(samples["peak_kib"]) / 1024


def mostpeak(samples):
    return max(samples["peak_kib"]) / 1024


def table(head, rows, align=None):
    align = align or ["---:"] * len(head)
    out = ["| " + " | ".join(head) + " |", "|" + "|".join(align) + "|"]
    out += ["| " + " | ".join(str(c) for c in r) + " |" for r in rows]
    return "\n".join(out)


def cmd_report(args):
    sizes = []
    for path in args.jsons:
        with open(path) as f:
            sizes.append(json.load(f))
    sizes.sort(key=lambda s: s["rows"])
    info = dict(kv.partition("=")[::2] for kv in args.info)
    progs = sizes[0]["programs"]
    if progs[0] != "gridel" or any(s["programs"] != progs for s in sizes):
        sys.exit("timing.py: every size must time gridel first, then the same peers")
    peers = [p for p in progs[1:] if p not in VARIANTS]
    names = [LABEL.get(p, p) for p in progs]
    runs = sorted({s["runs"] for s in sizes})
    warmup = sorted({s["warmup"] for s in sizes})

    def med(s, prog, what):
        return statistics.median(s["samples"][prog][what])

    def paired(s, prog, what="cpu"):
        g, p = s["samples"]["gridel"][what], s["samples"][prog][what]
        return [a / b for a, b in zip(g, p)]

    def label(s):
        return [s["rows"], s.get("datarows", ""), s.get("file_mb", "")]

    size_head = ["rows a line", "data rows", "file MB"]
    lines = []
    cpu = platform.processor() or ""
    with open("/proc/cpuinfo") as f:
        for text in f:
            if text.startswith("model name"):
                cpu = text.split(":", 1)[1].strip()
                break
    mem = os.sysconf("SC_PAGE_SIZE") * os.sysconf("SC_PHYS_PAGES") / 2 ** 30
    floorpeak = max(s["floor"]["peak_kib"] for s in sizes) / 1024
    floorwall = statistics.median(s["floor"]["wall"] for s in sizes)
    lines += [
        "# Benchmark results",
        "",
        "Written by `bash bench/run.sh`%s." % (" on " + info["date"] if "date" in info else ""),
        "",
        "- Machine: %d cores, %s, %.0f GiB; %s" % (os.cpu_count(), cpu, mem, info.get("os", "")),
        "- Programs: gridel %s; %s" % (info.get("gridel", "?"), info.get("peers", "")),
        "- Runs: for each size %s warm-up rounds, then %s timed rounds; each round runs %s"
        " one after the other, in %s" % ("/".join(map(str, warmup)), "/".join(map(str, runs)),
                                         ", ".join(names), info.get("work", "?")),
        "- Load average (1, 5, 15 min): %s at the start, %s at the end"
        % (" ".join("%.2f" % v for v in sizes[0]["load_before"]),
           " ".join("%.2f" % v for v in sizes[-1]["load_after"])),
        "- Measured by `bench/launch.cpp` for `bench/timing.py`: CPU time is user + system time"
        " of the child (wait4), wall time the monotonic clock from before its start to after"
        " the wait, peak memory the child's ru_maxrss (in MiB, 1,048,576 bytes). Starting and waiting"
        " take %.1f ms of wall time (/bin/true measured so), and no peak measures below %.1f MiB."
        % (floorwall * 1e3, floorpeak),
        "",
        "Times in seconds: median [interquartile range] (min–max).",
        "",
        "## CPU time (user + system)",
        "",
        table(size_head + names + ["load before → after"],
              [label(s) + [spread(s["samples"][p]["cpu"]) for p in progs]
               + ["%.2f → %.2f" % (s["load_before"][0], s["load_after"][0])] for s in sizes]),
        "",
        "## Wall time",
        "",
        table(size_head + names,
              [label(s) + [spread(s["samples"][p]["wall"]) for p in progs] for s in sizes]),
        "",
        "## gridel's time over each peer's",
        "",
        "Ratio of the medians [interquartile range of the ratios within each round]%s."
        % ("; the headline is CPU time against " + LABEL[HEADLINE] if HEADLINE in peers else ""),
        "",
        table(["rows a line"] + ["CPU / %s" % LABEL.get(p, p) for p in peers]
              + ["wall / %s" % LABEL.get(p, p) for p in peers],
              [[s["rows"]]
               + ["%.2f [%.2f–%.2f]" % ((med(s, "gridel", "cpu") / med(s, p, "cpu"),)
                                        + quartiles(paired(s, p))) for p in peers]
               + ["%.2f [%.2f–%.2f]" % ((med(s, "gridel", "wall") / med(s, p, "wall"),)
                                        + quartiles(paired(s, p, "wall"))) for p in peers]
               for s in sizes]),
        "",
        "## Peak memory (MiB: median (most))",
        "",
        table(["rows a line"] + names,
              [[s["rows"]] + ["%.1f (%.1f)" % (medianpeak(s["samples"][p]), mostpeak(s["samples"][p]))
                              for p in progs]
               for s in sizes]),
        "",
    ]

    # Growth: from each size to the next; per doubling of the rows when the
    # sizes are not exactly twice each other.  Linear time shows as a steady
    # cost per added row, and as a ratio that nears 2 as the fixed costs
    # (start, points, areas, script) weigh less.
    growth = []
    summary = []
    for a, b in zip(sizes, sizes[1:]):
        ta, tb = med(a, "gridel", "cpu"), med(b, "gridel", "cpu")
        doublings = math.log2(b["rows"] / a["rows"])
        per = (tb / ta) ** (1 / doublings)
        na = a.get("datarows") or a["rows"]
        nb = b.get("datarows") or b["rows"]
        growth.append(["%d → %d" % (a["rows"], b["rows"]), "%.2f" % (tb / ta), "%.2f" % per,
                       "%.2f" % ((tb - ta) / (nb - na) * 1e6)]
                      + ["%.2f" % ((med(b, p, "cpu") / med(a, p, "cpu")) ** (1 / doublings))
                         for p in peers])
        summary.append("%d → %d rows: %.2f×" % (a["rows"], b["rows"], per))
    if growth:
        lines += [
            "## Growth of the CPU time with the rows",
            "",
            table(["rows a line", "gridel: times", "gridel: per doubling",
                   "gridel: µs per added data row"]
                  + ["%s: per doubling" % LABEL.get(p, p) for p in peers],
                  growth),
            "",
        ]

    # The paper figure against the plain drawing: its EPS at most twice the
    # plain EPS; its four formats at most three times the plain EPS plus
    # what painting the PNG adds to the plain run.
    if all(v in progs for v in VARIANTS):
        figure = []
        for s in sizes:
            eps, paper = med(s, "gridel", "cpu"), med(s, "gridel-paper", "cpu")
            png = med(s, "gridel-png", "cpu") - eps
            four, paperfour = med(s, "gridel-all", "cpu"), med(s, "gridel-paper-all", "cpu")
            figure.append([s["rows"], "%.3f" % eps, "%.3f" % paper, "%.2f" % (paper / eps),
                           "%.3f" % png, "%.3f" % four, "%.3f" % paperfour,
                           "%.2f" % (paperfour / (3 * eps + png)),
                           "%.1f" % max(mostpeak(s["samples"][p]) for p in ["gridel"] + VARIANTS)])
        figgrowth = []
        for a, b in zip(sizes, sizes[1:]):
            doublings = math.log2(b["rows"] / a["rows"])
            figgrowth.append("%d → %d rows: paper EPS %.2f×, paper 4 formats %.2f×" % (
                a["rows"], b["rows"],
                (med(b, "gridel-paper", "cpu") / med(a, "gridel-paper", "cpu")) ** (1 / doublings),
                (med(b, "gridel-paper-all", "cpu") / med(a, "gridel-paper-all", "cpu")) ** (1 / doublings)))
        block = [
            "The paper figure (gl-paper.txt: `style paper`, `size 84`, `legend right`, `fields comments`,"
            " every area named) against the plain drawing; CPU s, medians; PNG = what `-T png` adds to the"
            " plain EPS run; the budget of the four formats is 3 × plain EPS + PNG:",
            "",
            table(["rows a line", "plain EPS", "paper EPS", "paper / plain", "PNG", "plain 4 formats",
                   "paper 4 formats", "paper 4 formats / budget", "peak MiB (most of the five)"], figure),
            "",
        ]
        if figgrowth:
            block += ["Growth per doubling of the rows: %s." % "; ".join(figgrowth), ""]
        lines += ["## The paper figure", ""] + block
        snippet_figure = block
    else:
        snippet_figure = []

    lines += ["## The programs", ""]
    lines += ["- %s" % PEERS_TEXT[p] for p in progs if p in PEERS_TEXT]
    lines += [""]

    # The short table for bench/README.md.
    head = ["rows a line", "gridel CPU s [IQR]"]
    for p in peers:
        head += ["%s CPU s" % LABEL.get(p, p), "ratio"]
    head += ["gridel wall s",
             "peak MiB, most: " + " / ".join(LABEL.get(p, p) for p in ["gridel"] + peers)]
    rows = []
    for s in sizes:
        g = s["samples"]["gridel"]["cpu"]
        row = [s["rows"], "%.3f [%.3f–%.3f]" % ((statistics.median(g),) + quartiles(g))]
        for p in peers:
            row += ["%.3f" % med(s, p, "cpu"),
                    "%.2f" % (med(s, "gridel", "cpu") / med(s, p, "cpu"))]
        row += ["%.3f" % med(s, "gridel", "wall"),
                " / ".join("%.1f" % mostpeak(s["samples"][p]) for p in ["gridel"] + peers)]
        rows.append(row)
    snippet = [
        "Figures from one `bash bench/run.sh` (%d cores, %s; %s timed rounds, alternating;"
        " medians; ratio = gridel's CPU time over the peer's):"
        % (os.cpu_count(), cpu, "/".join(map(str, runs))),
        "",
        table(head, rows),
        "",
    ]
    if summary:
        snippet += ["Growth of gridel's CPU time per doubling of the rows: %s."
                    % "; ".join(summary), ""]
    snippet += snippet_figure
    lines += ["## For the README", ""] + snippet

    if args.results != "-":
        with open(args.results, "w") as f:
            f.write("\n".join(lines))
        raw = os.path.splitext(args.results)[0] + ".json"
        with open(raw, "w") as f:
            json.dump({"info": info, "sizes": sizes}, f, indent=1)
            f.write("\n")
    print("\n".join(lines[lines.index("## For the README") + 2:]))


PEERS_TEXT = {
    "gridel": "gridel: reads gl-bench.txt, checks and converts all 20 values of every row in"
    " 80-bit arithmetic, trims and cuts the lines, builds the areas, writes gl-bench.eps and"
    " the log.",
    "gnuplot": "gnuplot 1:2 (`bench.gp`): `plot 'bench.dat' using 1:2 with lines` on the same"
    " 20-value rows, a blank line between lines. It splits every row into words but converts"
    " only x and y (checked: a word that is no number in any other column keeps the row; and"
    " rows whose other 18 words are long numbers take no longer than rows of letters).",
    "gnuplot-all": "gnuplot all 20 (`bench-all.gp`): the same with"
    " `using 1:($2+0*($3+...+$20))`, so every value is converted (checked: a word that is no"
    " number in any one column drops the row). gnuplot reads a fraction a/b as a, and the"
    " time includes evaluating the expression.",
    "matplotlib": "matplotlib (`bench-mpl.py`, Debian's python3-matplotlib, Agg): numpy.loadtxt"
    " converts all 20 columns (fractions through a small converter), one LineCollection draws"
    " the lines, savefig writes EPS; its time includes starting Python and importing"
    " matplotlib.",
}


def main():
    import argparse
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    sub = ap.add_subparsers(dest="cmd", required=True)
    c = sub.add_parser("check")
    c.add_argument("folder")
    r = sub.add_parser("run")
    r.add_argument("--rows", type=int, required=True)
    r.add_argument("--runs", type=int, required=True)
    r.add_argument("--warmup", type=int, default=2)
    r.add_argument("--out", required=True)
    r.add_argument("--launcher", required=True, help="the compiled bench/launch.cpp")
    r.add_argument("progs", nargs="+", metavar="NAME=COMMAND")
    p = sub.add_parser("report")
    p.add_argument("--results", required=True)
    p.add_argument("--info", action="append", default=[], metavar="KEY=VALUE")
    p.add_argument("jsons", nargs="+")
    args = ap.parse_args()
    {"check": cmd_check, "run": cmd_run, "report": cmd_report}[args.cmd](args)


if __name__ == "__main__":
    main()

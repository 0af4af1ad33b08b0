#!/usr/bin/env bash
# run.sh - speed and memory of whole gridel runs on large diagrams, side by
# side with gnuplot drawing the same lines from the same 20-value rows.
#
# For each size (data rows a line; every size has 500 points, 1500 lines
# and 300 areas) it generates the diagram, checks that gridel reads,
# assembles and draws it without a failure report or warning, then times
# both programs in the same hyperfine run (wall time: median; CPU time:
# mean user + system) and measures peak memory with /usr/bin/time -v
# (median of the runs).  It prints a table with the ratio gridel / gnuplot
# and writes it to bench/results.md.
#
# The diagrams are generated and the runs timed in a RAM-backed folder
# (/dev/shm) when there is one, so that the disk's write-back of earlier
# runs' files does not enter the figures; both programs run there alike.
#
# Settings (environment): SIZES (default "25 50 100 200"), RUNS (timed runs
# of each program and size, at least 5; default 10), WARMUP (default 2),
# WORK (folder for the diagrams and the runs), GRIDEL (a gridel binary to
# time instead of building this tree, e.g. an earlier revision's), RESULTS
# (default bench/results.md; "-" prints only).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

SIZES=${SIZES:-"25 50 100 200"}
RUNS=${RUNS:-10}
WARMUP=${WARMUP:-2}
RESULTS=${RESULTS:-bench/results.md}
if [ "$RUNS" -lt 5 ]; then
  echo "RUNS must be at least 5" >&2
  exit 2
fi

# Tools: installed from Debian's packages when missing.
need=()
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
command -v python3 >/dev/null 2>&1 || need+=(python3)
command -v gnuplot >/dev/null 2>&1 || need+=(gnuplot-nox)
command -v hyperfine >/dev/null 2>&1 || need+=(hyperfine)
[ -x /usr/bin/time ] || need+=(time)
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${need[@]}"
fi

# The program as users build it (Release), without the tests.
if [ -n "${GRIDEL:-}" ]; then
  gridel=$(realpath "$GRIDEL")
  version="binary $GRIDEL"
else
  cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DGRIDEL_TESTS=OFF >/dev/null
  cmake --build build-bench -j"$(nproc)" >/dev/null
  gridel="$root/build-bench/gridel"
  version=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown)
fi
if [ -z "${WORK:-}" ]; then
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then WORK=/dev/shm/gridel-bench; else WORK="$root/bench/work"; fi
fi
work="$WORK"
mkdir -p "$work"

export GRIDEL_CLOCK="2026-12-06 09:05"

# median of the numbers on standard input
median() { sort -g | awk '{v[NR]=$1} END {if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }

# Peak resident memory in MB of a command (median of RUNS runs).
peakmb() {
  local i
  for ((i = 0; i < RUNS; i++)); do
    /usr/bin/time -v "$@" 2>&1 >/dev/null </dev/null | awk -F': ' '/Maximum resident set size/ {print $2}'
  done | median | awk '{printf "%.1f", $1/1024}'
}

table=$(mktemp)
trap 'rm -f "$table"' EXIT
printf '| rows a line | data rows | file MB | gridel wall s | gnuplot wall s | ratio (wall) | gridel CPU s | gnuplot CPU s | ratio (CPU) | gridel peak MB | gnuplot peak MB |\n' >"$table"
printf '|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n' >>"$table"

for rows in $SIZES; do
  dir="$work/r$rows"
  stamp="$dir/.generated"
  if [ ! -f "$stamp" ] || [ "$stamp" -ot bench/gendiagram.py ]; then
    rm -rf "$dir"
    python3 bench/gendiagram.py --rows "$rows" --out "$dir"
    touch "$stamp"
  fi
  cd "$dir"

  # One checked run: normal end, no failure report, no area warning.
  status=0
  "$gridel" >screen.txt </dev/null || status=$?
  if [ "$status" -ne 0 ] || grep -q 'BOMBED' gl-log.txt || LC_ALL=C grep -q $'\xa5' gl-log.txt \
     || [ ! -s gl-bench.eps ]; then
    echo "gridel did not draw the $rows-row diagram cleanly (status $status); see $dir/gl-log.txt" >&2
    exit 1
  fi
  gnuplot bench.gp </dev/null
  [ -s bench-gnuplot.eps ] || { echo "gnuplot drew nothing for $rows rows" >&2; exit 1; }

  hyperfine -N --style basic --runs "$RUNS" --warmup "$WARMUP" --export-json timing.json \
    -n gridel "$gridel" -n gnuplot "gnuplot bench.gp" >/dev/null
  read -r gwall gcpu pwall pcpu < <(python3 - <<'EOF'
import json
r = {x["command"]: x for x in json.load(open("timing.json"))["results"]}
g, p = r["gridel"], r["gnuplot"]
print(g["median"], g["user"] + g["system"], p["median"], p["user"] + p["system"])
EOF
)
  gmem=$(peakmb "$gridel")
  pmem=$(peakmb gnuplot bench.gp)
  datarows=$(grep -c . bench.dat)
  filemb=$(du -m --apparent-size gl-bench.txt | cut -f1)
  awk -v r="$rows" -v n="$datarows" -v f="$filemb" -v gw="$gwall" -v pw="$pwall" -v gc="$gcpu" \
      -v pc="$pcpu" -v gm="$gmem" -v pm="$pmem" 'BEGIN {
    printf "| %d | %d | %d | %.3f | %.3f | %.2f | %.3f | %.3f | %.2f | %s | %s |\n",
      r, n, f, gw, pw, gw / pw, gc, pc, gc / pc, gm, pm }' >>"$table"
  cd "$root"
done

# Growth: time of each size over the time of the size with half the rows.
growth=$(awk -F'|' 'NR > 2 { rows[NR] = $2 + 0; t[NR] = $5 + 0; c[NR] = $8 + 0 }
  END { for (i = 4; i in rows; i++) if (rows[i] == 2 * rows[i - 1])
          printf "%s%d -> %d rows a line: %.2f times the wall time, %.2f times the CPU time",
            (n++ ? "; " : ""), rows[i - 1], rows[i], t[i] / t[i - 1], c[i] / c[i - 1] }' "$table")

{
  echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
  echo "gridel: $version, gnuplot: $(gnuplot --version)"
  echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "Runs: $RUNS timed after $WARMUP warm-up runs, each program and size, in $work"
  echo
  cat "$table"
  echo
  echo "Growth of gridel's time when the rows double: ${growth:-not measured}"
} | tee /dev/stderr >"${RESULTS/#-//dev/null}"

#!/usr/bin/env bash
# run.sh - speed and memory of whole gridel runs on large diagrams, side by
# side with other programs drawing the same lines from the same 20-value
# rows to EPS, and beside gridel's other runs of the same diagram (EPS and
# PNG; all four formats; the paper figure gl-paper.txt, EPS and all four):
#   gnuplot      plot 'bench.dat' using 1:2 with lines (the headline peer)
#   gnuplot-all  the same with a y expression that converts all 20 columns
#   matplotlib   numpy.loadtxt of all 20 columns, a LineCollection, EPS
#
# For each size (data rows a line; every size has 500 points, 1500 lines
# and 300 areas) it generates the diagram and the peers' scripts
# (bench/gendiagram.py), checks that gridel reads, assembles and draws it
# without a failure report or warning, that each peer draws it, and that the
# gnuplot-all script really converts every column.  Then it times them in
# one loop, alternating: WARMUP rounds, then RUNS rounds of gridel, gnuplot,
# gnuplot-all, matplotlib.  Each run is measured by bench/launch.cpp, which
# bench/timing.py starts: CPU time (user + system of the child), wall time
# and peak memory.  It writes
# the tables to bench/results.md (raw figures in bench/results.json) and
# prints a short table for bench/README.md.
#
# The diagrams are generated and the runs timed in a RAM-backed folder
# (/dev/shm) when there is one, so that the disk's write-back of earlier
# runs' files does not enter the figures; all programs run there alike.
#
# Settings (environment): SIZES (default "25 50 100 200"), RUNS (timed
# rounds, at least 5; default 10), WARMUP (rounds, default 2), PEERS
# (default "gnuplot gnuplot-all matplotlib"), WORK (folder for the diagrams
# and the runs), GRIDEL (a gridel binary to time instead of building this
# tree, e.g. an earlier revision's), RESULTS (default bench/results.md; "-"
# prints only).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

SIZES=${SIZES:-"25 50 100 200"}
RUNS=${RUNS:-10}
WARMUP=${WARMUP:-2}
PEERS=${PEERS:-"gnuplot gnuplot-all matplotlib"}
RESULTS=${RESULTS:-bench/results.md}
if ! [ "$RUNS" -ge 5 ] 2>/dev/null; then
  echo "RUNS must be a number, at least 5" >&2
  exit 2
fi
if ! [ "$WARMUP" -ge 0 ] 2>/dev/null; then
  echo "WARMUP must be a number" >&2
  exit 2
fi
for peer in $PEERS; do
  case $peer in
    gnuplot | gnuplot-all | matplotlib) ;;
    *) echo "unknown peer $peer (known: gnuplot gnuplot-all matplotlib)" >&2; exit 2 ;;
  esac
done

# Tools: installed from Debian's packages when missing.  Debian's python3
# runs the generator, the measuring driver and the matplotlib peer, whatever
# python3 comes first on the PATH.
py=/usr/bin/python3
need=()
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
[ -x "$py" ] || need+=(python3)
command -v gnuplot >/dev/null 2>&1 || need+=(gnuplot-nox)
[ -x /usr/bin/time ] || need+=(time)
if [ -x "$py" ]; then
  "$py" -c 'import numpy' 2>/dev/null || need+=(python3-numpy)
  "$py" -c 'import matplotlib' 2>/dev/null || need+=(python3-matplotlib)
else
  need+=(python3-numpy python3-matplotlib)
fi
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
  if [ -n "$(git -C "$root" status --porcelain -- src CMakeLists.txt 2>/dev/null)" ]; then
    version="$version with local changes"
  fi
  version="$version (Release, $(g++ -dumpfullversion 2>/dev/null | sed 's/^/g++ /'))"
fi
if [ -z "${WORK:-}" ]; then
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then WORK=/dev/shm/gridel-bench; else WORK="$root/bench/work"; fi
fi
work=$(realpath -m "$WORK")
mkdir -p "$work"

# The small program that starts and measures each timed run.
launch="$work/launch"
if [ ! -x "$launch" ] || [ "$launch" -ot bench/launch.cpp ]; then
  g++ -std=c++20 -O2 -Wall -Wextra -o "$launch" bench/launch.cpp
fi

# The same surroundings for every program and run.
export GRIDEL_CLOCK="2026-12-06 09:05"
export LC_ALL=C
export MPLBACKEND=Agg
export MPLCONFIGDIR="$work/matplotlib" # its font cache is built by the first, untimed run

declare -A command=(
  [gnuplot]="gnuplot bench.gp"
  [gnuplot-all]="gnuplot bench-all.gp"
  [matplotlib]="$py bench-mpl.py"
)
declare -A drawing=(
  [gnuplot]=bench-gnuplot.eps
  [gnuplot-all]=bench-gnuplot-all.eps
  [matplotlib]=bench-matplotlib.eps
)

jsons=()
for rows in $SIZES; do
  dir="$work/r$rows"
  stamp="$dir/.generated"
  if [ ! -f "$stamp" ] || [ "$stamp" -ot bench/gendiagram.py ]; then
    rm -rf "$dir"
    "$py" bench/gendiagram.py --rows "$rows" --out "$dir"
    touch "$stamp"
  fi
  cd "$dir"
  rm -f gl-bench.eps gl-log.txt ./*.eps

  # One checked run of each: gridel ends normally, without a failure report
  # or an area warning; each peer ends normally and draws.
  status=0
  "$gridel" >screen.txt </dev/null || status=$?
  if [ "$status" -ne 0 ] || grep -q 'BOMBED' gl-log.txt || LC_ALL=C grep -q $'\xa5' gl-log.txt \
     || [ ! -s gl-bench.eps ]; then
    echo "gridel did not draw the $rows-row diagram cleanly (status $status); see $dir/gl-log.txt" >&2
    exit 1
  fi
  # The paper figure of the same diagram, checked the same way.
  status=0
  "$gridel" gl-paper.txt >screen-paper.txt </dev/null || status=$?
  if [ "$status" -ne 0 ] || grep -q 'BOMBED' gl-paper.log || [ ! -s gl-paper.eps ]; then
    echo "gridel did not draw the $rows-row paper figure cleanly (status $status); see $dir/gl-paper.log" >&2
    exit 1
  fi
  progs=("gridel=$gridel" "gridel-png=$gridel -T png" "gridel-all=$gridel -T pdf,svg,png"
         "gridel-paper=$gridel gl-paper.txt" "gridel-paper-all=$gridel -T pdf,svg,png gl-paper.txt")
  for peer in $PEERS; do
    status=0
    ${command[$peer]} </dev/null >"$peer.out" 2>"$peer.err" || status=$?
    if [ "$status" -ne 0 ] || [ ! -s "${drawing[$peer]}" ]; then
      echo "$peer did not draw the $rows-row diagram (status $status); see $dir/$peer.err" >&2
      exit 1
    fi
    progs+=("$peer=${command[$peer]}")
  done
  case " $PEERS " in *" gnuplot-all "*) "$py" "$root/bench/timing.py" check . ;; esac

  echo "timing $rows rows a line: $WARMUP warm-up and $RUNS timed rounds of ${progs[*]%%=*}" >&2
  "$py" "$root/bench/timing.py" run --rows "$rows" --runs "$RUNS" --warmup "$WARMUP" \
    --out timing.json --launcher "$launch" "${progs[@]}"
  jsons+=("$dir/timing.json")
  cd "$root"
done

peers="gnuplot $(gnuplot --version | sed 's/^gnuplot //')"
peers="$peers; matplotlib $("$py" -c 'import matplotlib; print(matplotlib.__version__)')"
peers="$peers with numpy $("$py" -c 'import numpy; print(numpy.__version__)')"
peers="$peers, Python $("$py" -c 'import platform; print(platform.python_version())')"
os="$(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r)"
blas=""
if [ -n "${OPENBLAS_CORETYPE:-}${OPENBLAS_L2_SIZE:-}" ]; then
  blas="; OPENBLAS_CORETYPE=${OPENBLAS_CORETYPE:-} OPENBLAS_L2_SIZE=${OPENBLAS_L2_SIZE:-} were set"
fi
"$py" bench/timing.py report --results "$RESULTS" \
  --info "date=$(date -u '+%Y-%m-%d %H:%M UTC')" --info "gridel=$version" \
  --info "peers=$peers$blas" --info "os=$os" --info "work=$work" "${jsons[@]}"
if [ "$RESULTS" != "-" ]; then
  echo "(tables in $RESULTS, raw figures in ${RESULTS%.md}.json)" >&2
fi

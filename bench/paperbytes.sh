#!/usr/bin/env bash
# paperbytes.sh - checks that the program draws the benchmark's paper
# figure (gl-paper.txt: style paper, size 84, legend right, all areas
# named) with exactly the bytes an earlier revision draws, in all four
# formats, with the same screen and log; and the same for the names of
# the areas alone (fields comments, at the script's own sizes) and for
# halo labels alone.  Made to check that a faster placing of the labels
# and names puts every text where it was.
#
# Usage: bench/paperbytes.sh REVISION [ROWS...]   (rows a line, default 25 200)
# The revision is built in a temporary worktree, the current tree in
# build-bench (both with ccache when there is one).  OLD=binary uses that
# binary instead of building the revision (REVISION then only names it).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
rev=${1:?usage: bench/paperbytes.sh REVISION [ROWS...]}
shift
sizes=${*:-25 200}

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
tmp=$(mktemp -d)
trap 'git -C "$root" worktree remove --force "$tmp/src" >/dev/null 2>&1 || true; rm -rf "$tmp"' EXIT
if [ -n "${OLD:-}" ]; then
  old=$(realpath "$OLD")
else
  git worktree add --detach "$tmp/src" "$rev" >/dev/null 2>&1
  cmake -S "$tmp/src" -B "$tmp/build" -DCMAKE_BUILD_TYPE=Release -DGRIDEL_TESTS=OFF "${launcher[@]}" >/dev/null
  cmake --build "$tmp/build" -j2 >/dev/null
  old="$tmp/build/gridel"
fi
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DGRIDEL_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build build-bench -j2 >/dev/null
new="$root/build-bench/gridel"

export GRIDEL_CLOCK="2026-12-06 09:05" LC_ALL=C
status=0
# The figures: a name and the script lines that replace the paper script's.
variants=("paper|" "names|fields comments" "halo|labels halo")
for rows in $sizes; do
  python3 bench/gendiagram.py --rows "$rows" --out "$tmp/data" >/dev/null
  for variant in "${variants[@]}"; do
    name=${variant%%|*}
    lines=${variant#*|}
    for who in old new; do
      mkdir -p "$tmp/$who"
      if [ -z "$lines" ]; then
        cp "$tmp/data/gl-paper.txt" "$tmp/$who/gl-paper.txt"
      else
        # The paper script's settings (after the last '*' but one) replaced.
        python3 - "$tmp/data/gl-paper.txt" "$tmp/$who/gl-paper.txt" "$lines" <<'PY'
import sys
text = open(sys.argv[1]).read().rstrip("\n").split("\n")
end = len(text) - 1                      # the closing '*'
start = max(i for i, l in enumerate(text) if l.startswith("style paper"))
text[start:end] = sys.argv[3].split("|")
open(sys.argv[2], "w").write("\n".join(text) + "\n")
PY
      fi
    done
    (cd "$tmp/old" && "$old" -T pdf,svg,png gl-paper.txt >screen </dev/null) || true
    (cd "$tmp/new" && "$new" -T pdf,svg,png gl-paper.txt >screen </dev/null) || true
    outputs=$( (cd "$tmp/old" && find . -type f; cd "$tmp/new" && find . -type f) | sed 's|^\./||' \
      | grep -vx gl-paper.txt | sort -u)
    for f in screen gl-paper.log gl-paper.eps; do
      [ -e "$tmp/old/$f" ] || [ -e "$tmp/new/$f" ] || { echo "$rows rows, $name: no $f" >&2; status=1; }
    done
    while IFS= read -r f; do
      if [ ! -e "$tmp/old/$f" ] || [ ! -e "$tmp/new/$f" ]; then
        echo "$rows rows, $name: $f written by one revision only" >&2
        status=1
      elif cmp -s "$tmp/old/$f" "$tmp/new/$f"; then
        echo "$rows rows, $name: $f identical ($(wc -c <"$tmp/new/$f") bytes)"
      else
        echo "$rows rows, $name: $f DIFFERS" >&2
        status=1
      fi
    done <<<"$outputs"
    rm -rf "$tmp/old" "$tmp/new"
  done
  rm -rf "$tmp/data"
done
exit $status

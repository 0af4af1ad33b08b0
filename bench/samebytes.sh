#!/usr/bin/env bash
# samebytes.sh - checks that the program draws the benchmark diagrams with
# exactly the bytes an earlier revision draws: screen, log and drawing, and
# every other file that both revisions write.  A file that only the earlier
# revision writes is a difference; one that only this tree writes is named
# (a new kind of output) but is no difference.
#
# Usage: bench/samebytes.sh REVISION [ROWS...]   (rows a line, default 25 200)
# The revision is built in a temporary worktree; the current tree is built
# in build-bench.  The diagrams come from bench/gendiagram.py.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
rev=${1:?usage: bench/samebytes.sh REVISION [ROWS...]}
shift
sizes=${*:-25 200}

tmp=$(mktemp -d)
trap 'git -C "$root" worktree remove --force "$tmp/src" >/dev/null 2>&1 || true; rm -rf "$tmp"' EXIT
git worktree add --detach "$tmp/src" "$rev" >/dev/null 2>&1
cmake -S "$tmp/src" -B "$tmp/build" -DCMAKE_BUILD_TYPE=Release -DGRIDEL_TESTS=OFF >/dev/null
cmake --build "$tmp/build" -j"$(nproc)" >/dev/null
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DGRIDEL_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" >/dev/null

export GRIDEL_CLOCK="2026-12-06 09:05"
status=0
for rows in $sizes; do
  python3 bench/gendiagram.py --rows "$rows" --out "$tmp/data"
  for who in old new; do
    mkdir -p "$tmp/$who"
    cp "$tmp/data/gl-bench.txt" "$tmp/data/gl-prefs.txt" "$tmp/$who/"
  done
  (cd "$tmp/old" && "$tmp/build/gridel" >screen </dev/null) || true
  (cd "$tmp/new" && "$root/build-bench/gridel" >screen </dev/null) || true
  outputs=$( (cd "$tmp/old" && find . -type f; cd "$tmp/new" && find . -type f) | sed 's|^\./||' \
    | grep -vx -e gl-bench.txt -e gl-prefs.txt | LC_ALL=C sort -u)
  for f in screen gl-log.txt gl-bench.eps; do
    [ -e "$tmp/old/$f" ] || [ -e "$tmp/new/$f" ] || { echo "$rows rows a line: no $f" >&2; status=1; }
  done
  while IFS= read -r f; do
    if [ ! -e "$tmp/old/$f" ]; then
      echo "$rows rows a line: $f is new ($(wc -c <"$tmp/new/$f") bytes; the earlier revision wrote none)"
    elif [ ! -e "$tmp/new/$f" ]; then
      echo "$rows rows a line: $f MISSING (the earlier revision wrote it)" >&2
      status=1
    elif cmp -s "$tmp/old/$f" "$tmp/new/$f"; then
      echo "$rows rows a line: $f identical ($(wc -c <"$tmp/new/$f") bytes)"
    else
      echo "$rows rows a line: $f DIFFERS" >&2
      status=1
    fi
  done <<<"$outputs"
  rm -rf "$tmp/old" "$tmp/new" "$tmp/data"
done
exit $status

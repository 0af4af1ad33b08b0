#!/usr/bin/env bash
# run-afl.sh - fuzz gridel with AFL++ for a while, then keep the inputs it
# found interesting as the corpus that every test run replays.
#
#   bash tests/fuzz/run-afl.sh [minutes]      (default 30)
#
# Needs Debian's afl++ (installed when missing).  The target is the whole
# program built with AFL's compiler and AddressSanitizer/UBSan, fed one data
# file (optionally with a preferences file, see split.h) per execution.
set -euo pipefail
cd "$(dirname "$0")/../.."
minutes=${1:-30}

command -v afl-fuzz >/dev/null 2>&1 || { apt-get update && apt-get install -y afl++; }

build=build-afl
export AFL_USE_ASAN=1 AFL_USE_UBSAN=1
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRIDEL_TESTS=OFF -DGRIDEL_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=afl-clang-fast++ >/dev/null
cmake --build "$build" -j"$(nproc)" --target gridel-fuzz

# Seeds: every data file of the tests and the examples, and the corpus so far.
seeds=$build/seeds
rm -rf "$seeds" && mkdir -p "$seeds"
n=0
for f in tests/e2e/cases/*/files/gl-*.txt examples/*/gl-*.txt tests/fuzz/corpus/*; do
  [ -f "$f" ] || continue
  case "$f" in */gl-prefs.txt|*/gl-log.txt) continue ;; esac
  n=$((n + 1)); cp "$f" "$seeds/seed$n"
done
echo "$n seeds"

out=$build/out
rm -rf "$out"
export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1
export GRIDEL_FUZZ_DIR=$PWD/$build/work
timeout --foreground $((minutes * 60 + 30)) \
  afl-fuzz -i "$seeds" -o "$out" -t 5000 -m none -V $((minutes * 60)) -- "$build/gridel-fuzz" @@ || true

echo "== findings"
ls "$out"/default/crashes "$out"/default/hangs 2>/dev/null || true
grep -E 'execs_done|corpus_count|saved_crashes|saved_hangs|bitmap_cvg|run_time' "$out"/default/fuzzer_stats || true

# Keep a minimal set of the queue that covers what the whole queue covers.
rm -rf "$build/cmin"
afl-cmin -i "$out"/default/queue -o "$build/cmin" -t 5000 -m none -- "$build/gridel-fuzz" @@ >/dev/null
rm -f tests/fuzz/corpus/*
k=0
for f in "$build"/cmin/*; do
  k=$((k + 1)); cp "$f" "tests/fuzz/corpus/$(printf 'input%04d' $k)"
done
echo "corpus: $k inputs in tests/fuzz/corpus"

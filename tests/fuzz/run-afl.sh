#!/usr/bin/env bash
# run-afl.sh - fuzz gridel with AFL++ for a while, replay everything it
# kept through the real program and Ghostscript, then keep a minimal set of
# the inputs as the corpus that every test run replays.
#
#   bash tests/fuzz/run-afl.sh [minutes]      (default 30)
#
# Needs Debian's afl++ and what tests/all.sh needs (installed when missing).
# The target is the whole program built with AFL's compiler and
# AddressSanitizer/UBSan, fed one data file (optionally with a preferences
# file, see split.h) per execution.  On a machine with two cores or more a
# main and a secondary instance run side by side for the same time.
#
# Seeds: the hand-made inputs in tests/fuzz/seeds, the data files of the
# end-to-end cases and of the examples, every data file the gtest-based
# end-to-end tests write (caught by running them once through a wrapper),
# and the corpus so far.  Keywords come from the dictionary gridel.dict.
set -euo pipefail
cd "$(dirname "$0")/../.."
top=$PWD
minutes=${1:-30}

need=()
command -v afl-fuzz >/dev/null 2>&1 || need+=(afl++)
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
command -v gs >/dev/null 2>&1 || need+=(ghostscript)
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update && apt-get install -y "${need[@]}"
fi

seeds=$top/build-afl/seeds
rm -rf "$seeds" && mkdir -p "$seeds"

# 1. A plain build with the tests, whose end-to-end tests run once with a
#    wrapper in place of the program that copies each data file it is given.
plain=$top/build-seeds
cmake -S . -B "$plain" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$plain" -j"$(nproc)" --target gridel e2etests >/dev/null
mv "$plain/gridel" "$plain/gridel.real"
trap 'mv -f "$plain/gridel.real" "$plain/gridel"' EXIT
cat >"$plain/gridel" <<'EOF'
#!/usr/bin/env bash
# Keep this run's data file (with its preferences when they say more than
# the data file's name) as a fuzz seed, then run the real program.
for f in gl-*.txt; do
  case "$f" in gl-prefs.txt | gl-log.txt) continue ;; esac
  [ -f "$f" ] && [ "$(stat -c %s "$f")" -le 32768 ] || continue
  seed=$(mktemp "$GRIDEL_SEED_DIR/harvest.XXXXXX")
  suffix=${f#gl-}
  if [ "$(cat gl-prefs.txt 2>/dev/null)" = "datafile ${suffix%.txt}" ]; then
    cat "$f" >"$seed"
  else
    { printf '@prefs\n'; sed 's/^datafile.*/datafile fuzz/' gl-prefs.txt 2>/dev/null; printf '@data\n'; cat "$f"; } >"$seed"
  fi
done
exec "$(dirname "$0")/gridel.real" "$@"
EOF
chmod +x "$plain/gridel"
[ -x "$plain/tests/e2etests" ]
GRIDEL_SEED_DIR=$seeds "$plain/tests/e2etests" --gtest_filter=-FuzzCorpus.* >/dev/null 2>&1 || true
mv -f "$plain/gridel.real" "$plain/gridel"
trap - EXIT

for f in tests/fuzz/seeds/* tests/e2e/cases/*/files/gl-*.txt examples/*/gl-*.txt tests/fuzz/corpus/*; do
  [ -f "$f" ] || continue
  case "$f" in */gl-prefs.txt | */gl-log.txt) continue ;; esac
  cp "$f" "$(mktemp "$seeds/seed.XXXXXX")"
done
# One copy of each.
declare -A seen
for f in "$seeds"/*; do
  sum=$(md5sum <"$f" | cut -c1-32)
  if [ -n "${seen[$sum]:-}" ]; then rm -f "$f"; else seen[$sum]=1; fi
done
echo "$(ls "$seeds" | wc -l) seeds"

# 2. The instrumented target.
build=$top/build-afl
export AFL_USE_ASAN=1 AFL_USE_UBSAN=1
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRIDEL_TESTS=OFF -DGRIDEL_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=afl-clang-fast++ >/dev/null
cmake --build "$build" -j"$(nproc)" --target gridel-fuzz >/dev/null

# 3. The fuzz run.
out=$build/out
rm -rf "$out" "$build"/work-*
export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1
instances=(main)
[ "$(nproc)" -ge 2 ] && instances+=(second)
pids=()
for name in "${instances[@]}"; do
  role=-S
  [ "$name" = main ] && role=-M
  GRIDEL_FUZZ_DIR=$build/work-$name timeout --foreground $((minutes * 60 + 60)) \
    afl-fuzz -i "$seeds" -o "$out" "$role" "$name" -x tests/fuzz/gridel.dict -t 5000 -m none \
    -V $((minutes * 60)) -- "$build/gridel-fuzz" @@ >"$build/afl-$name.log" 2>&1 &
  pids+=($!)
done
for p in "${pids[@]}"; do wait "$p" || true; done

echo "== figures"
for name in "${instances[@]}"; do
  echo "-- $name"
  grep -E 'run_time|execs_done|execs_per_sec|corpus_count|bitmap_cvg|saved_crashes|saved_hangs' \
    "$out/$name/fuzzer_stats" || true
done
echo "== findings"
ls "$out"/*/crashes "$out"/*/hangs 2>/dev/null | grep -v README || true

# 4. Every input any instance kept, replayed through the plain program with
#    the checks of the corpus test, Ghostscript included: a drawing that
#    Ghostscript rejects is no crash to AFL but is a finding all the same.
all=$build/queue-all
rm -rf "$all" && mkdir -p "$all"
for name in "${instances[@]}"; do
  for f in "$out/$name"/queue/id:* "$out/$name"/crashes/id:* "$out/$name"/hangs/id:*; do
    [ -f "$f" ] && cp "$f" "$all/$name-$(basename "$f" | cut -d, -f1 | tr : _)-$(basename "$(dirname "$f")")"
  done
done
echo "== replay of $(ls "$all" | wc -l) inputs"
replayed=0
GRIDEL_REPLAY_DIR=$all "$plain/tests/e2etests" --gtest_filter=FuzzCorpus.* >"$build/replay.log" 2>&1 || replayed=1
if [ $replayed = 0 ]; then echo "every input ended cleanly"; else grep -a -A3 -E '^(main|second)-' "$build/replay.log" | cut -c1-300; fi

# 5. A minimal set of the queue that covers what the whole queue covers.
rm -rf "$build/cmin"
afl-cmin -i "$all" -o "$build/cmin" -t 5000 -m none -- "$build/gridel-fuzz" @@ >/dev/null
rm -f tests/fuzz/corpus/*
k=0
for f in "$build"/cmin/*; do
  k=$((k + 1)); cp "$f" "tests/fuzz/corpus/$(printf 'input%04d' $k)"
done
echo "corpus: $k inputs in tests/fuzz/corpus"
[ $replayed = 0 ] || { echo "the replay found problems: see $build/replay.log"; exit 1; }

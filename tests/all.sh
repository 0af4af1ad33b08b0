#!/usr/bin/env bash
# all.sh - install what the tests need when it is missing, build, and run
# every test.  This is the README's test command and what CI runs.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
# cairo draws the PDF and PNG, Pango sets their texts; Helvetica is the
# standard fonts' Nimbus Sans, and DejaVu has the characters it lacks
# (subscripts, arrows).
command -v pkg-config >/dev/null 2>&1 || need+=(pkg-config)
[ -f /usr/include/cairo/cairo.h ] || need+=(libcairo2-dev)
[ -f /usr/include/pango-1.0/pango/pangocairo.h ] || need+=(libpango1.0-dev)
dpkg -s fonts-urw-base35 >/dev/null 2>&1 || need+=(fonts-urw-base35)
dpkg -s fonts-dejavu-core >/dev/null 2>&1 || need+=(fonts-dejavu-core)
# The fidelity test rasterises the EPS and the PDF with Ghostscript and
# the SVG with rsvg-convert.
command -v gs >/dev/null 2>&1 || need+=(ghostscript)
command -v man >/dev/null 2>&1 || need+=(man-db)
command -v groff >/dev/null 2>&1 || need+=(groff-base)
command -v col >/dev/null 2>&1 || need+=(bsdextrautils)
# The Debian package's library dependencies are found by dpkg-shlibdeps.
command -v dpkg-shlibdeps >/dev/null 2>&1 || need+=(dpkg-dev)
command -v rsvg-convert >/dev/null 2>&1 || need+=(librsvg2-bin)
# The viewers' test opens the SVG with Python's XML parser and Inkscape's
# command line, and reads the PDF's text and fonts with poppler.
command -v python3 >/dev/null 2>&1 || need+=(python3)
command -v pdftotext >/dev/null 2>&1 || need+=(poppler-utils)
# The Python module is built with pybind11 and tested with pytest; its
# example notebook is executed with nbconvert on an IPython kernel.
[ -f /usr/include/pybind11/pybind11.h ] || need+=(pybind11-dev python3-pybind11)
ls /usr/include/python3*/Python.h >/dev/null 2>&1 || need+=(python3-dev)
/usr/bin/python3 -c "import pytest" >/dev/null 2>&1 || need+=(python3-pytest)
lean=()
command -v jupyter-nbconvert >/dev/null 2>&1 || lean+=(jupyter-nbconvert python3-nbconvert)
/usr/bin/python3 -c "import ipykernel" >/dev/null 2>&1 || lean+=(python3-ipykernel)
command -v inkscape >/dev/null 2>&1 || lean+=(inkscape)
if [ ${#need[@]} -gt 0 ] || [ ${#lean[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  [ ${#need[@]} -eq 0 ] || apt-get install -y "${need[@]}"
  # Inkscape's command line needs none of the extras it recommends.
  [ ${#lean[@]} -eq 0 ] || apt-get install -y --no-install-recommends "${lean[@]}"
fi

# Both builds are configured with the tests on, whatever an earlier
# configuration left in the cache, and ctest fails when it finds no test.
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DGRIDEL_TESTS=ON -DGRIDEL_PYTHON=ON \
  -DPython3_EXECUTABLE=/usr/bin/python3
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure --no-tests=error -j"$jobs" </dev/null

# The same suite again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer: any report fails the run (a report also makes
# standard error non-empty, which every end-to-end case checks).
export ASAN_OPTIONS=exitcode=86:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:exitcode=87:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan-suppressions.txt:print_suppressions=0
# Optimised a little and without debug tables: it compiles in much less
# time, and a report still names the functions.
cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1" \
  -DGRIDEL_SANITIZE=ON -DGRIDEL_TESTS=ON
cmake --build build-san -j"$jobs" --target gridel unittests e2etests librarytests
# The pixel comparisons of the fidelity test say nothing new under the
# sanitizers (the corpus replay and the command-line tests draw every
# format there), and they are the slowest tests: they run in the plain build,
# as do the documentation and installation checks.  Their programs are not
# built here, so their placeholders are left out too.
ctest --test-dir build-san --output-on-failure --no-tests=error -j"$jobs" \
  -E '^((Fidelity|Reference|Install|Python)\.|(doctests|fidelitytests)_NOT_BUILT$)' </dev/null

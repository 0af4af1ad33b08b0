#!/bin/sh
# notebook_test.sh NOTEBOOK - execute the notebook with nbconvert, in a copy
# beside it so that its paths hold, and check that its output shows the
# figure's SVG and no error.
set -eu
notebook=$1
folder=$(dirname "$notebook")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
jupyter-nbconvert --to notebook --execute --ExecutePreprocessor.timeout=120 \
  --output-dir "$out" --output executed "$notebook" 2>"$out/stderr" || { cat "$out/stderr"; exit 1; }
grep -q '"image/svg+xml"' "$out/executed.ipynb" || { echo "no SVG in the notebook's output"; exit 1; }
grep -q '<svg' "$out/executed.ipynb" || { echo "the SVG output holds no drawing"; exit 1; }
if grep -q '"output_type": "error"' "$out/executed.ipynb"; then echo "a cell failed"; exit 1; fi
exit 0

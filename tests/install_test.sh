#!/usr/bin/env bash
# install_test.sh - cmake --install puts the program, its manual page and
# the reference under a prefix, the installed program runs, and man renders the page.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
test -x "$prefix/bin/gridel"
test "$("$prefix/bin/gridel" --version)" = "gridel 1.18"
test -f "$prefix/share/doc/gridel/reference.md"
page="$prefix/share/man/man1/gridel.1"
test -f "$page"
rendered=$(MANWIDTH=80 man -l "$page" 2>&1 | col -b)
grep -q "gridel \[OPTION\]... \[DATAFILE\]" <<<"$rendered"
grep -q -- "--check" <<<"$rendered"
if grep -qi "warning" <<<"$(groff -man -ww -z "$page" 2>&1)"; then
  groff -man -ww -z "$page"
  exit 1
fi
echo "installed and rendered"

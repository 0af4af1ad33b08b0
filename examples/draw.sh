#!/usr/bin/env bash
# draw.sh - on a fresh machine: install what building gridel needs when it
# is missing, build it, install it under /usr/local (the program and its
# manual page), and draw the bundled showcase and the figure for a journal
# column as EPS, PDF and PNG, and the T-X(CO2) section in all four formats.
#   bash examples/draw.sh
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
command -v pkg-config >/dev/null 2>&1 || need+=(pkg-config)
[ -f /usr/include/cairo/cairo.h ] || need+=(libcairo2-dev)
[ -f /usr/include/pango-1.0/pango/pangocairo.h ] || need+=(libpango1.0-dev)
fc-match Helvetica 2>/dev/null | grep -qi "nimbus sans\|helvetica" || need+=(fonts-urw-base35 fontconfig)
# Characters Helvetica lacks (subscripts, arrows) come from DejaVu.
dpkg -s fonts-dejavu-core >/dev/null 2>&1 || need+=(fonts-dejavu-core)
command -v man >/dev/null 2>&1 || need+=(man-db)
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${need[@]}"
fi

cmake -S . -B build-example -DCMAKE_BUILD_TYPE=Release -DGRIDEL_TESTS=OFF >/dev/null
cmake --build build-example -j"$(nproc)" --target gridel >/dev/null
# Installed under /usr/local, gridel and man gridel work from any folder.
prefix=/usr/local
if [ -w "$prefix/bin" ] || [ "$(id -u)" = 0 ]; then
  cmake --install build-example --prefix "$prefix" >/dev/null
  installed=yes
else
  installed=""
fi
build-example/gridel -T pdf -T png examples/showcase/gl-showcase.txt </dev/null
build-example/gridel -T pdf -T png --dpi 300 examples/paper/gl-paper.txt </dev/null
build-example/gridel -T eps,pdf,svg,png --dpi 300 examples/section/gl-section.txt </dev/null
echo
echo "Drawn: examples/showcase/gl-showcase.eps, .pdf and .png (transcript in examples/showcase/gl-showcase.log)"
echo "       examples/paper/gl-paper.eps, .pdf and .png, the figure for a journal column"
echo "       examples/section/gl-section.eps, .pdf, .svg and .png, a T-X(CO2) section with free texts"
if [ -n "$installed" ]; then
  echo "Installed: $prefix/bin/gridel and its manual page ($prefix/share/man/man1/gridel.1):"
  echo "       gridel --help and man gridel work from any folder."
else
  echo "Built: build-example/gridel. To install it under $prefix, as root:"
  echo "       cmake --install build-example"
fi

#!/usr/bin/env bash
# package_test.sh - the Debian package made from the build tree declares the
# libraries and fonts gridel needs, apt installs it, the gridel on the PATH
# and its manual page then work, and apt removes it again.
#   package_test.sh BUILD_DIR
# Installing needs root: without it only the package itself is checked, and
# the test is skipped (status 77).  The machine is left as it was found: a
# gridel package installed before is put back, whatever happens here.
set -euo pipefail
build=$(cd "$1" && pwd)
skipped=77

command -v cpack >/dev/null && command -v dpkg-deb >/dev/null || { echo "skipped: no cpack or dpkg-deb"; exit $skipped; }
work=$(mktemp -d)
installed=""    # "yes" once this test may have put its package on the system
saved=""        # the gridel package found installed before, repacked to be put back
restore() {
  local status=$?
  set +e
  if [ -n "$installed" ]; then
    dpkg --purge gridel >/dev/null 2>&1
    if [ -n "$saved" ]; then
      dpkg -i "$saved" >/dev/null 2>&1 || { echo "could not put back $saved" >&2; status=1; }
    fi
  fi
  rm -rf "$work"
  exit $status
}
trap restore EXIT
trap 'exit 130' INT TERM HUP

# The package, as the package target makes it, from the tree already built.
(cd "$build" && cpack -B "$work" >"$work/cpack.out" 2>&1) || { cat "$work/cpack.out"; exit 1; }
deb=$(ls "$work"/gridel_*.deb)
version=$("$build/gridel" --version | sed 's/^gridel //')
test "$(basename "$deb")" = "gridel_${version}_$(dpkg --print-architecture).deb"
depends=$(dpkg-deb -f "$deb" Depends)
names=$(sed 's/ ([^)]*)//g; s/, */\n/g' <<<"$depends")
for need in libc6 libstdc++6 libcairo2 libpango-1.0-0 libpangocairo-1.0-0 libfontconfig1 \
            fonts-urw-base35 fonts-dejavu-core; do
  grep -qxF "$need" <<<"$names" || { echo "Depends lacks $need: $depends"; exit 1; }
done
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/gridel ./usr/share/man/man1/gridel.1 ./usr/share/doc/gridel/reference.md; do
  grep -q " $f\$" <<<"$contents" || { echo "the package lacks $f"; exit 1; }
done

if [ "$(id -u)" != 0 ] || ! command -v apt-get >/dev/null; then
  echo "package built and checked; skipped installing it: needs root and apt"
  exit $skipped
fi
# One installing test at a time on this machine.
exec 9>/tmp/gridel-package-test.lock
flock -w 600 9
if dpkg-query -W -f='${db:Status-Abbrev}' gridel 2>/dev/null | grep -q '^ii'; then
  command -v dpkg-repack >/dev/null || { echo "skipped: a gridel package is installed and dpkg-repack is missing to put it back"; exit $skipped; }
  mkdir "$work/saved"
  (cd "$work/saved" && dpkg-repack gridel >/dev/null 2>&1)
  saved=$(ls "$work"/saved/gridel_*.deb)
fi

apt=(apt-get -y -q -o DPkg::Lock::Timeout=300)
# What it depends on is on the machine that built it: apt installs gridel
# alone, and downloads nothing.
others=$(DEBIAN_FRONTEND=noninteractive "${apt[@]}" -s install "$deb" 2>&1 | grep '^Inst ' | grep -v '^Inst gridel ' || true)
if [ -n "$others" ]; then
  echo "apt would install more than gridel:"
  echo "$others"
  exit 1
fi
installed=yes
DEBIAN_FRONTEND=noninteractive "${apt[@]}" install "$deb" >"$work/apt.out" 2>&1 || { cat "$work/apt.out"; exit 1; }
# A gridel under /usr/local (cmake --install) would come first on a usual
# PATH: the packaged one is looked for where the package puts it.
systempath=/usr/bin:/bin
test "$(PATH=$systempath command -v gridel)" = /usr/bin/gridel
test "$(PATH=$systempath gridel --version)" = "gridel $version"
if grep -rqs '^path-exclude=*/usr/share/man' /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d; then
  echo "this system's dpkg leaves manual pages out: man gridel not tried"
else
  rendered=$(PATH=$systempath MANWIDTH=80 man gridel 2>&1 | col -b)
  grep -q "gridel \[OPTION\]... \[DATAFILE\]" <<<"$rendered" || { echo "man gridel: $rendered"; exit 1; }
fi
DEBIAN_FRONTEND=noninteractive "${apt[@]}" remove gridel >"$work/apt.out" 2>&1 || { cat "$work/apt.out"; exit 1; }
if dpkg-query -W -f='${db:Status-Abbrev}' gridel 2>/dev/null | grep -q '^ii' || [ -e /usr/bin/gridel ]; then
  echo "apt remove gridel left the package installed"
  exit 1
fi
echo "package built, installed, run and removed"

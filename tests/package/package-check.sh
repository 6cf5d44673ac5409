#!/usr/bin/env bash
# Builds the packages a player downloads and checks them as a player would use them: the Debian
# package installs here and its domrak answers --version (then it is removed again), and the
# Windows zip, an optimised cross-build in build/windows-release, holds a domrak.exe that answers
# --version under wine (in the wine prefix tests/windows/windows-check.sh leaves in build/windows). The
# packages stay in build/packages.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/progress.sh
scripts/install-deps.sh cmake make g++ pkg-config dpkg-dev libsdl2-dev libfluidsynth-dev \
  timgm6mb-soundfont man-db

out=build/packages
rm -rf "$out"
mkdir -p "$out"

# fail MESSAGE: ends the check with MESSAGE.
fail() { echo "package check: $1" >&2; exit 1; }

# The installing-all dependency is skipped so that CPack builds nothing but the program.
build_quietly build/release domrak -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release/CMakeCache.txt)
cpack -G DEB --config build/release/CPackConfig.cmake -B "$PWD/$out" >"$out/cpack.log" 2>&1 ||
  progress_fail "Packaging build/release" "$out/cpack.log"
rm -r "$out/_CPack_Packages"
deb=$out/domrak_${version}_$(dpkg --print-architecture).deb
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libsdl2 libfluidsynth soundfont-gm; do
  [[ $depends == *"$needed"* ]] || fail "$deb does not depend on $needed: $depends"
done

if [ "$(id -u)" -ne 0 ] || dpkg-query -W -f='${Status}' domrak 2>/dev/null | grep -q 'ok installed'; then
  echo "package check: not root, or domrak installed here already: not installing $deb" >&2
else
  # Through apt, which waits for another apt run (unattended upgrades) to let go of its lock.
  apt_get() { apt-get -y -q -o DPkg::Lock::Timeout=600 "$@"; }
  trap 'apt_get remove domrak >/dev/null 2>&1 || true' EXIT
  apt_get install --no-install-recommends "$PWD/$deb" >"$out/dpkg.log" 2>&1 || progress_fail "Installing $deb" "$out/dpkg.log"
  [ "$(/usr/games/domrak --version)" = "domrak $version" ] || fail "the installed domrak --version is wrong"
  [ "$(man -w domrak)" = /usr/share/man/man6/domrak.6 ] || fail "man domrak does not find domrak.6"
  apt_get remove domrak >>"$out/dpkg.log" 2>&1 || progress_fail "Removing domrak" "$out/dpkg.log"
  trap - EXIT
  [ ! -e /usr/games/domrak ] || fail "removing domrak left /usr/games/domrak behind"
  echo "$deb: installs, answers --version, has its manual page, and removes cleanly"
fi

# The Windows zip: the statically linked, optimised program and its read-me in one folder.
if [ ! -d build/windows/wineprefix ]; then
  echo "No wine prefix in build/windows, so no zip: run tests/windows/windows-check.sh first" >&2
  [ -z "${CI:-}" ] || exit 1
  exit 0
fi
build_quietly build/windows-release domrak -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DDOMRAK_TESTS=OFF
name=domrak-$version-windows-x64
cmake --install build/windows-release --strip --prefix "$out/$name" >"$out/zip.log" 2>&1 ||
  progress_fail "Installing build/windows-release" "$out/zip.log"
(cd "$out" && cmake -E tar cf "$name.zip" --format=zip "$name" && rm -r "$name")
zip=$out/$name.zip

mkdir "$out/unzipped"
(cd "$out/unzipped" && cmake -E tar xf "../$name.zip")
top=$out/unzipped/$name
[ -f "$top/README.txt" ] || fail "$zip has no README.txt"
export WINEPREFIX=$PWD/build/windows/wineprefix WINEDEBUG=-all
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
answer=$(/usr/lib/wine/wine64 "$top/domrak.exe" --version </dev/null | tr -d '\r')
[ "$answer" = "domrak $version" ] || fail "domrak.exe --version under wine said '$answer'"
echo "$zip: holds domrak.exe ($(stat -c %s "$top/domrak.exe") bytes) and README.txt; domrak.exe answers --version under wine"

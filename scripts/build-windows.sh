#!/usr/bin/env bash
# Builds the Windows executables on Debian 12: build-windows/bin/Tavrin.exe, Olmach.exe and
# every other program of src/, each a single file that runs copied alone into any folder, with
# the core and window tests beside them (run them with ctest --test-dir build-windows). The
# static Qt they link is built once from Debian's own qt6-base source package into a cache
# outside the repository (scripts/static-qt.sh windows; the first build takes about 30 minutes
# on two cores, later runs reuse it).
#
# Usage: scripts/build-windows.sh [extra cmake arguments ...]

set -euo pipefail
cd "$(dirname "$0")/.."
# The cross compiler, Ninja, the source package tool, Debian's GoogleTest sources for the
# tests and Wine to run them.
bash scripts/setup.sh g++-mingw-w64-x86-64-posix ninja-build dpkg-dev xz-utils googletest wine

echo "Static Qt for Windows (built once into a cache, then reused)..."
qt_output=$(bash scripts/static-qt.sh windows) || { echo "$qt_output" >&2; exit 1; }
qt_prefix=$(tail -n 1 <<<"$qt_output")
echo "  $qt_prefix"

# A build folder made with another static Qt (an older recipe) keeps that Qt in its cache:
# it is made anew.
if [ -f build-windows/CMakeCache.txt ] && ! grep -qF "$qt_prefix/" build-windows/CMakeCache.txt; then
  echo "  the build folder was made with another Qt: building anew"
  rm -rf build-windows
fi
cmake -S . -B build-windows -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build-windows -j"$(nproc)"
ls -l build-windows/bin/*.exe

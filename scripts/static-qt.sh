#!/usr/bin/env bash
# Builds a static Qt once, from Debian's own qt6-base source package at the version that
# scripts/qt/source.recipe pins (each file checked against its sha256 before use), into a cache
# outside the repository, and prints its prefix on its last line:
#   windows  cross-compiled with mingw-w64, for the Windows executables (scripts/qt/windows.recipe)
#   linux    for the Linux editors of the release archive (scripts/qt/linux.recipe)
# Each cache folder is named after a hash of its recipe's lines without comments (the two
# recipe files, and for Windows the toolchain file): a change there builds that Qt anew, no
# other change does. Every time stamp of the build is the source package's own
# (SOURCE_DATE_EPOCH from the recipe), and the build folder is mapped away, so that two caches
# built apart, on two machines or in two folders, give the same bytes.
#
# Usage: scripts/static-qt.sh windows|linux [--stamp]   (--stamp: print the cache's name only)
# Environment: VOLTARA_CACHE   the cache folder (default ~/.cache/voltara)
# About 25 to 30 minutes of two idle cores each; more when other builds share them.

set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
target=${1:-}
case "$target" in
  windows) extra=$root/cmake/mingw-w64-x86_64.cmake ;;
  linux) extra= ;;
  *) echo "usage: scripts/static-qt.sh windows|linux [--stamp]" >&2; exit 2 ;;
esac
recipe=("$root/scripts/qt/source.recipe" "$root/scripts/qt/$target.recipe" $extra)
# shellcheck source=qt/source.recipe
source "$root/scripts/qt/source.recipe"
# shellcheck source=qt/linux.recipe
source "$root/scripts/qt/$target.recipe"

stamp=$( (echo "$target"; sed -e 's/[[:space:]]*#.*$//' -e '/^[[:space:]]*$/d' "${recipe[@]}") |
  sha256sum | cut -c1-16)
name=qt6-$target-static-$stamp
if [ "${2:-}" = "--stamp" ]; then
  echo "$name"
  exit 0
fi
cache=${VOLTARA_CACHE:-$HOME/.cache/voltara}
prefix=$cache/$name
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi
# One build of a Qt at a time: another run that needs the same Qt waits for it, then uses it.
mkdir -p "$cache"
exec 9>"$cache/$name.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

# What the build needs: Ninja, the source package tools, and for Windows the cross compiler
# (Debian's Qt host tools come with qt6-base-dev), for Linux the headers of the X client
# libraries, fontconfig and freetype, and the static xcb libraries the editors link.
if [ "$target" = windows ]; then
  bash scripts/setup.sh ninja-build dpkg-dev xz-utils g++-mingw-w64-x86-64-posix
else
  bash scripts/setup.sh ninja-build dpkg-dev xz-utils libxcb1-dev libxcb-icccm4-dev libxcb-image0-dev \
    libxcb-keysyms1-dev libxcb-randr0-dev libxcb-render0-dev libxcb-render-util0-dev \
    libxcb-shape0-dev libxcb-shm0-dev libxcb-sync-dev libxcb-xfixes0-dev libxcb-xkb-dev \
    libxcb-util-dev libxkbcommon-dev libxkbcommon-x11-dev libfontconfig-dev libfreetype-dev \
    libpng-dev zlib1g-dev libatspi2.0-dev
fi

# Qt's own moc, rcc and uic of the Windows build are Debian's (qt6-base-dev-tools): another
# version of them than the source's may give other bytes.
if [ "$target" = windows ]; then
  tools=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
  [ "$tools" = "$qt_version" ] ||
    echo "note: qt6-base-dev-tools is at ${tools:-no version}, the source at $qt_version" >&2
fi

# apt fetches the source package through a deb-src entry. Where the machine has none for
# Debian's archive, one is added with the URIs and suites of its own Debian entries (a mirror
# or a proxy keeps working), not a fixed address.
has_deb_src() {
  apt-get indextargets --format '$(TARGET_OF) $(ORIGIN) $(COMPONENT)' | grep -x 'deb-src Debian main' >/dev/null
}
if ! has_deb_src; then
  entry=/etc/apt/sources.list.d/voltara-deb-src.sources
  text=$(python3 scripts/qt/deb_src.py) || {
    [ "$(id -u)" -eq 0 ] && apt-get update -qq
    text=$(python3 scripts/qt/deb_src.py)
  } || { echo "apt knows no entry of Debian's archive to take a deb-src entry from" >&2; exit 1; }
  if [ "$(id -u)" -ne 0 ]; then
    echo "Debian's source packages are not reachable. Add this deb-src entry as $entry:" >&2
    echo "$text" >&2
    echo "and run: sudo apt-get update" >&2
    exit 1
  fi
  echo "$text" >"$entry"
  apt-get update -qq
fi

work=$cache/qt6-$target-build-$stamp
rm -rf "$work" "$prefix"
mkdir -p "$work/download"
fetch() { (cd "$work/download" && apt-get source --download-only "$qt_package=$qt_version") >"$work/source.log" 2>&1; }
if ! fetch; then
  [ "$(id -u)" -eq 0 ] && apt-get update -qq
  fetch || {
    tail -n 5 "$work/source.log" >&2
    echo "apt-get source $qt_package=$qt_version failed: the archive may no longer serve that version" >&2
    exit 1
  }
fi
for ((i = 0; i < ${#qt_sha256[@]}; i += 2)); do
  echo "${qt_sha256[i]}  ${qt_sha256[i + 1]}"
done >"$work/download/SHA256SUMS"
(cd "$work/download" && sha256sum --check --quiet SHA256SUMS) || {
  echo "the source package's files are not the ones the recipe names (scripts/qt/source.recipe)" >&2
  exit 1
}
source_dir=$work/qt6-base
dpkg-source --no-check --no-copy -x "$work/download/${qt_sha256[1]}" "$source_dir" >>"$work/source.log" 2>&1 ||
  { tail -n 20 "$work/source.log" >&2; exit 1; }

flags=("${qt_common_flags[@]//@WORK@/$work}" "${qt_target_flags[@]}")
[ "$target" = windows ] && flags+=(-DCMAKE_TOOLCHAIN_FILE="$extra")
export SOURCE_DATE_EPOCH=$qt_source_date_epoch QT_RCC_SOURCE_DATE_OVERRIDE=$qt_source_date_epoch
cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_INSTALL_PREFIX="$prefix" "${flags[@]}" \
  >"$work/configure.log" 2>&1 || { tail -n 40 "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 || { tail -n 40 "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >"$work/install.log" 2>&1 || { tail -n 20 "$work/install.log" >&2; exit 1; }
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"

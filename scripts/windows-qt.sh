#!/usr/bin/env bash
# Builds the static Qt that the Windows executables link, once, from Debian's own qt6-base
# source package (the version the Linux build uses), cross-compiled with mingw-w64. The result
# lives in a cache outside the repository and is reused while it matches this recipe: the
# cache is stamped with a hash of this script and of the toolchain file, and any change to
# either builds it anew.
#
# Usage: scripts/windows-qt.sh        prints the Qt prefix on its last line
# Environment: VOLTARA_CACHE          the cache folder (default ~/.cache/voltara)

set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
toolchain=$root/cmake/mingw-w64-x86_64.cmake

stamp=$(cat "$0" "$toolchain" | sha256sum | cut -c1-16)
cache=${VOLTARA_CACHE:-$HOME/.cache/voltara}
prefix=$cache/qt6-mingw-static-$stamp
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

# Debian's source package, fetched through a deb-src entry for the archive the machine uses.
if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  entry=/etc/apt/sources.list.d/voltara-deb-src.sources
  if [ "$(id -u)" -ne 0 ]; then
    echo "Debian's source packages are not reachable. Add a deb-src entry, for example:" >&2
    echo "  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' | sudo tee $entry && sudo apt-get update" >&2
    exit 1
  fi
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' >"$entry"
  apt-get update -qq
fi

work=$cache/qt6-mingw-build-$stamp
rm -rf "$work" "$prefix"
mkdir -p "$work"
(cd "$work" && apt-get source qt6-base >source.log 2>&1) || { tail -n 20 "$work/source.log"; exit 1; }
source_dir=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -n "$source_dir" ] || { echo "apt-get source qt6-base gave no source folder" >&2; exit 1; }

# Static, with Qt's bundled third-party libraries, and without what the editors do not use.
# Tablet events need src/3rdparty/wintab, which Debian's tarball leaves out. OpenGL keeps its
# defaults (turning it off leaves dynamicgl on, and the Windows platform plugin then fails to
# build); so does direct2d (the DirectWrite font database depends on it).
# What a player downloads is smaller for code optimized for size, in sections of a function or
# a datum each, so that the editors' links drop every one they do not reach (--gc-sections),
# and for the widgets, image formats and text formats the editors never use left out.
cmake -S "$source_dir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release \
  -DFEATURE_optimize_size=ON \
  -DCMAKE_C_FLAGS="-ffunction-sections -fdata-sections" \
  -DCMAKE_CXX_FLAGS="-ffunction-sections -fdata-sections" \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DBUILD_SHARED_LIBS=OFF \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_pkg_config=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_zstd=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF \
  -DFEATURE_tabletevent=OFF \
  -DFEATURE_freetype=OFF -DFEATURE_vulkan=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF \
  -DFEATURE_movie=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF \
  -DFEATURE_textmarkdownwriter=OFF -DFEATURE_sessionmanager=OFF -DFEATURE_systemtrayicon=OFF \
  -DFEATURE_mdiarea=OFF -DFEATURE_dockwidget=OFF -DFEATURE_calendarwidget=OFF \
  -DFEATURE_datetimeedit=OFF -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF \
  -DFEATURE_wizard=OFF \
  >"$work/configure.log" 2>&1 || { tail -n 40 "$work/configure.log"; exit 1; }
cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 || { tail -n 40 "$work/build.log"; exit 1; }
cmake --install "$work/build" >"$work/install.log" 2>&1 || { tail -n 20 "$work/install.log"; exit 1; }
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"

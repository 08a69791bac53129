#!/usr/bin/env bash
# Builds the downloads from the checked-out commit into dist/:
#   voltara-bot-editor-VERSION-windows-x64.zip      Tavrin.exe, Olmach.exe, botcfg.exe, README.txt
#   voltara-bot-editor-VERSION-linux-x86_64.tar.gz  Tavrin, Olmach (system Qt 6), a static botcfg,
#                                                   README
#   SHA256SUMS                                      over both
# The same commit gives the same bytes, wherever and whenever it is built: the build starts from
# the commit's own files (git archive), every time stamp is the commit's (SOURCE_DATE_EPOCH),
# no build folder is named in a binary, and the archives hold no owner and no time of the run.
# A tree with uncommitted changes is refused, so that an archive always names its commit.
#
# Usage: scripts/release.sh                   build into dist/
#        scripts/release.sh --check           build twice, from two clones in two other folders,
#                                             and compare the checksums (non-zero when they differ)
#        scripts/release.sh --allow-modified  build a tree with uncommitted changes to tracked
#                                             files too (for tests): the archives' names and
#                                             botcfg --version then say "modified"

set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${1:-}" = "--check" ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  for run in first second; do
    git clone -q --no-hardlinks "$root" "$scratch/$run"
    git -C "$scratch/$run" checkout -q "$(git rev-parse HEAD)"
    echo "=== release build in $scratch/$run"
    bash "$scratch/$run/scripts/release.sh" >"$scratch/$run.log" 2>&1 || { tail -n 30 "$scratch/$run.log"; exit 1; }
    cat "$scratch/$run/dist/SHA256SUMS"
    sleep 1 # a second apart at least: no time of the run may reach the archives
  done
  if cmp -s "$scratch/first/dist/SHA256SUMS" "$scratch/second/dist/SHA256SUMS"; then
    echo "reproducible: both builds give the same archives"
    exit 0
  fi
  echo "NOT reproducible: the builds differ" >&2
  exit 1
fi
allow_modified=
[ "${1:-}" = "--allow-modified" ] && { allow_modified=1; shift; }
[ $# -eq 0 ] || { echo "usage: scripts/release.sh [--check | --allow-modified]" >&2; exit 2; }

tree=HEAD
mark=
if [ -n "$(git status --porcelain)" ]; then
  if [ -z "$allow_modified" ]; then
    echo "The tree has uncommitted changes; commit them (or stash them) first, so that the" >&2
    echo "archives name the commit they come from." >&2
    exit 1
  fi
  # The tracked files as they are now, as a commit that touches neither the tree nor a branch.
  tree=$(git stash create)
  tree=${tree:-HEAD}
  mark=-modified
fi
bash scripts/setup.sh g++-mingw-w64-x86-64-posix ninja-build dpkg-dev xz-utils googletest wine
commit=$(git rev-parse --short=12 HEAD)$mark
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH
version=$(sed -n 's/^project(VoltaraBotEditor VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
name=voltara-bot-editor-$version$mark

echo "Static Qt for Windows (built once into a cache, then reused)..."
qt_output=$(bash scripts/windows-qt.sh) || { echo "$qt_output" >&2; exit 1; }
qt_prefix=$(tail -n 1 <<<"$qt_output")

work=$root/build-release
rm -rf "$work" dist
mkdir -p "$work/source" dist
git archive --format=tar "$tree" | tar -x -C "$work/source"
source_dir=$work/source
# Paths of this run's folders must not reach a binary (__FILE__, debug information).
maps="-ffile-prefix-map=$source_dir=. -ffile-prefix-map=$work=."

echo "Linux build..."
cmake -S "$source_dir" -B "$work/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS="$maps" \
  -DCMAKE_EXE_LINKER_FLAGS="-s" -DVOLTARA_STATIC_BOTCFG=ON -DVOLTARA_TESTS=OFF \
  -DVOLTARA_COMMIT="$commit" >/dev/null
cmake --build "$work/linux" -j"$(nproc)" --target Tavrin Olmach botcfg >/dev/null

echo "Windows build..."
cmake -S "$source_dir" -B "$work/windows" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$maps" \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,--no-insert-timestamp" -DVOLTARA_TESTS=OFF \
  -DVOLTARA_COMMIT="$commit" >/dev/null
cmake --build "$work/windows" -j"$(nproc)" --target Tavrin Olmach botcfg >/dev/null

echo "Archives..."
guide=$source_dir/scripts/release/README.txt
sed 's/$/\r/' "$guide" >"$work/README.txt"
package=$source_dir/scripts/release/package.py
python3 "$package" zip "dist/$name-windows-x64.zip" \
  Tavrin.exe="$work/windows/bin/Tavrin.exe" Olmach.exe="$work/windows/bin/Olmach.exe" \
  botcfg.exe="$work/windows/bin/botcfg.exe" README.txt="$work/README.txt"
python3 "$package" tar "dist/$name-linux-x86_64.tar.gz" \
  Tavrin="$work/linux/bin/Tavrin" Olmach="$work/linux/bin/Olmach" botcfg="$work/linux/bin/botcfg" \
  README="$guide"
(cd dist && sha256sum "$name-windows-x64.zip" "$name-linux-x86_64.tar.gz" >SHA256SUMS)
ls -l dist
cat dist/SHA256SUMS

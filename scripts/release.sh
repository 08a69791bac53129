#!/usr/bin/env bash
# Builds the downloads from the checked-out commit into dist/:
#   voltara-bot-editor-VERSION-windows-x64.zip      Tavrin.exe, Olmach.exe, botcfg.exe and the
#                                                   guide voltara-bot-editor-guide.txt
#   voltara-bot-editor-VERSION-linux-x86_64.tar.gz  the folder voltara-bot-editor-VERSION/ with
#                                                   Tavrin, Olmach (a static Qt), a static
#                                                   botcfg with its manual page and bash
#                                                   completion, and the same guide
#   SHA256SUMS                                      over both
# The same commit gives the same bytes, wherever and whenever it is built: the build starts from
# the commit's own files (git archive), every time stamp is the commit's (SOURCE_DATE_EPOCH),
# no build folder is named in a binary, and the archives hold no owner and no time of the run.
# Both static Qts (scripts/static-qt.sh) come from a cache, built once from a pinned source
# package with time stamps and paths of their own recipe, not of the machine or the run.
# A tree with uncommitted changes is refused, so that an archive always names its commit.
#
# Usage: scripts/release.sh                   build into dist/
#        scripts/release.sh --check           build twice, from two clones in two other folders,
#                                             and compare the checksums (non-zero when they differ)
#        scripts/release.sh --check-qt [DIR]  build both static Qts anew in the cache folder DIR
#                                             (default: a new one, removed afterwards; Qts that
#                                             DIR holds already are used), release the commit
#                                             once with them and once with the usual cache, and
#                                             compare; where they differ, diffoscope's report on
#                                             the archives is kept in dist-check-qt/. About an
#                                             hour on two cores.
#        scripts/release.sh --allow-modified  build a tree with uncommitted changes to tracked
#                                             files too (for tests): the archives' names and
#                                             botcfg --version then say "modified"
# Environment: VOLTARA_CACHE                  the cache of the static Qts (~/.cache/voltara)

set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# Releases the commit from a clone of its own in SCRATCH/NAME, with the Qt cache CACHE (or the
# usual one), and prints the checksums.
release_in_clone() {
  local scratch=$1 name=$2 cache=${3:-}
  git clone -q --no-hardlinks "$root" "$scratch/$name"
  git -C "$scratch/$name" checkout -q "$(git rev-parse HEAD)"
  # Every script the README names runs as a command in a fresh clone: its executable bit is
  # in git.
  local script
  for script in $(grep -o '\(scripts\|bench\|tests\)/[A-Za-z0-9_./-]*\.\(sh\|py\)' README.md | sort -u); do
    [ -x "$scratch/$name/$script" ] || { echo "$script is not executable in a fresh clone" >&2; return 1; }
  done
  echo "=== release build in $scratch/$name${cache:+ with the Qt cache $cache}"
  (
    [ -z "$cache" ] || export VOLTARA_CACHE=$cache
    "$scratch/$name/scripts/release.sh" >"$scratch/$name.log" 2>&1
  ) || { tail -n 30 "$scratch/$name.log"; return 1; }
  cat "$scratch/$name/dist/SHA256SUMS"
}

if [ "${1:-}" = "--check" ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  release_in_clone "$scratch" first
  sleep 1 # a second apart at least: no time of the run may reach the archives
  release_in_clone "$scratch" second
  if cmp -s "$scratch/first/dist/SHA256SUMS" "$scratch/second/dist/SHA256SUMS"; then
    echo "reproducible: both builds give the same archives"
    exit 0
  fi
  echo "NOT reproducible: the builds differ" >&2
  exit 1
fi

if [ "${1:-}" = "--check-qt" ]; then
  [ $# -le 2 ] || { echo "usage: scripts/release.sh --check-qt [DIR]" >&2; exit 2; }
  scratch=$(mktemp -d)
  other=${2:-}
  if [ -z "$other" ]; then
    other=$(mktemp -d "${VOLTARA_CACHE:-$HOME/.cache/voltara}-check-XXXXXX")
    trap 'rm -rf "$scratch" "$other"' EXIT
  else
    mkdir -p "$other"
    other=$(cd "$other" && pwd)
    trap 'rm -rf "$scratch"' EXIT
  fi
  release_in_clone "$scratch" usual
  release_in_clone "$scratch" other "$other"
  if cmp -s "$scratch/usual/dist/SHA256SUMS" "$scratch/other/dist/SHA256SUMS"; then
    echo "reproducible: the Qts of $other and of the usual cache give the same archives"
    exit 0
  fi
  echo "NOT reproducible: the Qts of $other and of the usual cache give different archives" >&2
  bash scripts/setup.sh diffoscope-minimal
  rm -rf dist-check-qt
  mkdir -p dist-check-qt
  for archive in "$scratch/usual/dist/"*.zip "$scratch/usual/dist/"*.tar.gz; do
    file=$(basename "$archive")
    cmp -s "$archive" "$scratch/other/dist/$file" && continue
    cp "$archive" "dist-check-qt/usual-$file"
    cp "$scratch/other/dist/$file" "dist-check-qt/other-$file"
    diffoscope --text "dist-check-qt/$file.diffoscope.txt" "$archive" "$scratch/other/dist/$file" || true
    echo "--- $file: dist-check-qt/$file.diffoscope.txt"
    head -n 60 "dist-check-qt/$file.diffoscope.txt"
  done
  exit 1
fi

allow_modified=
[ "${1:-}" = "--allow-modified" ] && { allow_modified=1; shift; }
[ $# -eq 0 ] || { echo "usage: scripts/release.sh [--check | --check-qt [DIR] | --allow-modified]" >&2; exit 2; }

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

echo "Static Qts for Windows and Linux (each built once into a cache, then reused)..."
windows_qt=$(bash scripts/static-qt.sh windows) || { echo "$windows_qt" >&2; exit 1; }
windows_qt=$(tail -n 1 <<<"$windows_qt")
linux_qt=$(bash scripts/static-qt.sh linux) || { echo "$linux_qt" >&2; exit 1; }
linux_qt=$(tail -n 1 <<<"$linux_qt")

work=$root/build-release
rm -rf "$work" dist
mkdir -p "$work/source" dist
git archive --format=tar "$tree" | tar -x -C "$work/source"
source_dir=$work/source
# Paths of this run's folders and of the Qt caches must not reach a binary (__FILE__, debug
# information).
maps="-ffile-prefix-map=$source_dir=. -ffile-prefix-map=$work=."

echo "Linux build..."
cmake -S "$source_dir" -B "$work/linux" -G Ninja -C "$source_dir/cmake/linux-static-qt.cmake" \
  -DCMAKE_PREFIX_PATH="$linux_qt" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS="$maps -ffile-prefix-map=$linux_qt=qt" \
  -DCMAKE_EXE_LINKER_FLAGS="-s" -DVOLTARA_STATIC_BOTCFG=ON -DVOLTARA_TESTS=OFF \
  -DVOLTARA_COMMIT="$commit" >"$work/linux-configure.log" 2>&1 ||
  { tail -n 30 "$work/linux-configure.log" >&2; exit 1; }
cmake --build "$work/linux" -j"$(nproc)" --target Tavrin Olmach botcfg >/dev/null

echo "Windows build..."
cmake -S "$source_dir" -B "$work/windows" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$windows_qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$maps -ffile-prefix-map=$windows_qt=qt" \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,--no-insert-timestamp" -DVOLTARA_TESTS=OFF \
  -DVOLTARA_COMMIT="$commit" >"$work/windows-configure.log" 2>&1 ||
  { tail -n 30 "$work/windows-configure.log" >&2; exit 1; }
cmake --build "$work/windows" -j"$(nproc)" --target Tavrin Olmach botcfg >/dev/null

echo "Archives..."
# The guide has a name of its own, so that it overwrites no mod's read-me; Windows's copy has
# Windows's line ends.
guide=voltara-bot-editor-guide.txt
sed 's/$/\r/' "$source_dir/scripts/release/$guide" >"$work/$guide"
package=$source_dir/scripts/release/package.py
python3 "$package" zip "dist/$name-windows-x64.zip" \
  Tavrin.exe="$work/windows/bin/Tavrin.exe" Olmach.exe="$work/windows/bin/Olmach.exe" \
  botcfg.exe="$work/windows/bin/botcfg.exe" "$guide=$work/$guide"
# The tar's files in a folder of their own: unpacked, it writes nothing beside that folder.
python3 "$package" tar "dist/$name-linux-x86_64.tar.gz" \
  "$name/Tavrin=$work/linux/bin/Tavrin" "$name/Olmach=$work/linux/bin/Olmach" \
  "$name/botcfg=$work/linux/bin/botcfg" "$name/botcfg.1=$source_dir/src/botcfg/botcfg.1" \
  "$name/botcfg.bash-completion=$source_dir/src/botcfg/botcfg.bash-completion" \
  "$name/$guide=$source_dir/scripts/release/$guide"
(cd dist && sha256sum "$name-windows-x64.zip" "$name-linux-x86_64.tar.gz" >SHA256SUMS)
ls -l dist
cat dist/SHA256SUMS

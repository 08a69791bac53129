#!/usr/bin/env bash
# Builds and runs the fuzz targets (clang's libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer): CMake builds the core once, with VOLTARA_FUZZ=ON, under every
# target, into build-fuzz/. Seeds come from tests/fuzz/corpus/TARGET and, for the readers, from
# the end-to-end corpus and the core tests' files, which are read where they are; what a run
# finds is kept in build-fuzz/corpus/TARGET, never in the repository.
#
# Usage: scripts/fuzz.sh --list              the targets, one a line
#        scripts/fuzz.sh TARGET SECONDS      build TARGET and fuzz it for that long; non-zero on
#                                            a crash or a broken property
#        scripts/fuzz.sh TARGET --runs N     the same, for N executions (long runs)

set -euo pipefail
cd "$(dirname "$0")/.."

targets() { ls tests/fuzz/*_fuzz.cpp | sed 's|.*/||; s|_fuzz\.cpp$||'; }

if [ "${1:-}" = "--list" ]; then
  targets
  exit 0
fi
usage() {
  echo "usage: scripts/fuzz.sh --list | TARGET SECONDS | TARGET --runs N" >&2
  exit 2
}
[ $# -ge 2 ] && targets | grep -qx "$1" || usage
target=$1
if [ $# -eq 2 ] && [[ "$2" =~ ^[0-9]+$ ]]; then
  limit=-max_total_time=$2
elif [ $# -eq 3 ] && [ "$2" = --runs ] && [[ "$3" =~ ^[0-9]+$ ]]; then
  limit=-runs=$3
else
  usage
fi

bash scripts/setup.sh clang-14 libclang-rt-14-dev
out=build-fuzz
cmake -S . -B "$out" -DVOLTARA_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE= \
  -DCMAKE_CXX_FLAGS="-O1 -g" >/dev/null
cmake --build "$out" -j"$(nproc)" --target "$target" >/dev/null

# The readers start from every file the other tests read as well.
seeds=(tests/fuzz/corpus/"$target")
case "$target" in
  personality_reader) seeds+=(tests/e2e/personality tests/core/data) ;;
  superbot_reader) seeds+=(tests/e2e/superbot tests/core/data) ;;
esac
mkdir -p "$out/corpus/$target"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$out/bin/$target" "$limit" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$out/$target-" "$out/corpus/$target" "${seeds[@]}"

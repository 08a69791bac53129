#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the whole suite through CTest in the
# plain build, the core and window tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short run of every fuzz target, the Windows build with its
# tests under Wine, and the release archives unpacked and run as a user would (the Linux
# editors also in minimal Debian 12 and 13 systems). Exits non-zero when anything fails.
#
# Usage: scripts/test.sh [--quick]   (--quick: the plain build's suite only)

set -uo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
failed=()
step() {
  local name=$1 start=$SECONDS
  shift
  echo "=== $name"
  if ! "$@"; then
    failed+=("$name")
  fi
  echo "=== $name: $((SECONDS - start)) s"
}

bash scripts/setup.sh clang-14 libclang-rt-14-dev valgrind man-db strace || exit 1
if [ "${1:-}" != "--quick" ] && [ "$(id -u)" -eq 0 ]; then
  # The minimal Debian systems of the archive test (made once into the cache), fetched while the
  # builds run: the download waits on the network, not on the cores.
  bash scripts/setup.sh debootstrap || exit 1
  mkdir -p build
  (for suite in bookworm trixie; do
    bash tests/release/minimal-debian.sh "$suite" --guide scripts/release/voltara-bot-editor-guide.txt
  done) >build/minimal-debian.log 2>&1 &
  systems=$!
fi
bash scripts/build.sh || exit 1
step "tests" ctest --test-dir build --output-on-failure -j"$jobs"

if [ "${1:-}" != "--quick" ]; then
  sanitized() {
    cmake -S . -B build-asan -DVOLTARA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null &&
      cmake --build build-asan -j"$jobs" &&
      ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j"$jobs" -E '^e2e'
  }
  step "sanitized tests" sanitized
  fuzz_smoke() {
    mkdir -p build-fuzz
    local log="build-fuzz/$1-smoke.log"
    bash scripts/fuzz.sh "$1" 15 >"$log" 2>&1 || { tail -n 40 "$log"; return 1; }
    grep -E '^Done [0-9]+ runs' "$log"
  }
  for target in $(scripts/fuzz.sh --list); do
    step "fuzz smoke $target" fuzz_smoke "$target"
  done
  windows() {
    bash scripts/build-windows.sh && ctest --test-dir build-windows --output-on-failure -j"$jobs"
  }
  step "windows build and tests under wine" windows
  releases() {
    [ -z "${systems:-}" ] || wait "$systems" || true # the test says why a system is missing
    bash scripts/setup.sh icoutils binutils debootstrap &&
      bash scripts/release.sh --allow-modified &&
      python3 tests/release/archives_test.py dist build-release/wineprefix
  }
  step "release archives, unpacked and run as a user would" releases
  # Two more release builds of the commit (about six minutes with the Qt caches present).
  step "release archives the same bytes from two folders" bash scripts/release.sh --check
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all test steps passed ($SECONDS s)"

#!/usr/bin/env bash
# Benchmarks, not tests (nothing here passes or fails on a time):
#  1. start-up: Tavrin and Olmach (each beside its default file), each as the release archive
#     has it (linked with the static Qt of scripts/static-qt.sh linux) and as built against the
#     system's Qt, and a bare Qt window (menu bar, status bar, one 101-entry list) linked with
#     the system's Qt, started in turn under a private Xvfb, RUNS times each.
#     Per start: the CPU time of the whole process until its window is mapped and it is idle,
#     the wall time until the window is mapped, and the peak resident memory. Prints the
#     medians and the ratios editor / bare window.
#  2. the core: reading, repairing and writing both files, and the presets (Google Benchmark),
#     time per operation.
#  3. saves where others are in the way (bench/save_audit.py): botcfg's peak memory on a 1 GiB
#     file, changes lost by concurrent writers, saves killed at random moments, and the system
#     calls of one save; RUNS rounds of the concurrent and the killed saves.
# Everything is built with the editors' build type and flags into build-bench/, the editors
# with the static Qt into build-bench-static/ (the first run builds that Qt into the cache).
#
# Usage: scripts/bench.sh [--startup | --core | --saves] [RUNS]   (RUNS: default 30)

set -euo pipefail
cd "$(dirname "$0")/.."

parts=(startup core saves)
case "${1:-}" in
  --startup) parts=(startup); shift ;;
  --core) parts=(core); shift ;;
  --saves) parts=(saves); shift ;;
esac
runs=${1:-30}
if ! [[ "$runs" =~ ^[0-9]+$ ]] || [ "$runs" -lt 1 ]; then
  echo "usage: scripts/bench.sh [--startup | --core | --saves] [RUNS]" >&2
  exit 2
fi

bash scripts/setup.sh libbenchmark-dev strace time
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOLTARA_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target Tavrin Olmach BareWindow startup_probe core_bench botcfg \
  >/dev/null
if [[ " ${parts[*]} " == *" startup "* ]]; then
  qt_output=$(bash scripts/static-qt.sh linux) || { echo "$qt_output" >&2; exit 1; }
  linux_qt=$(tail -n 1 <<<"$qt_output")
  cmake -S . -B build-bench-static -C cmake/linux-static-qt.cmake -DCMAKE_PREFIX_PATH="$linux_qt" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOLTARA_TESTS=OFF >/dev/null
  cmake --build build-bench-static -j"$(nproc)" --target Tavrin Olmach >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP

startup() {
  # Each editor reads its file from its own folder, so each run starts from copies there.
  cp build-bench/bin/BareWindow "$work/"
  mkdir "$work/system" "$work/static"
  cp build-bench/bin/Tavrin build-bench/bin/Olmach "$work/system/"
  cp build-bench-static/bin/Tavrin build-bench-static/bin/Olmach "$work/static/"
  for folder in system static; do
    cp tests/core/data/default_personality.cfg "$work/$folder/bot_personality.cfg"
    cp tests/core/data/default_sbot.cfg "$work/$folder/sbot.cfg"
  done
  mkdir -m 700 "$work/runtime"
  XDG_RUNTIME_DIR="$work/runtime" python3 tests/e2e/xsession.py \
    bash bench/startup_runs.sh build-bench/bin/startup_probe "$work" "$runs" \
    BareWindow static/Tavrin static/Olmach system/Tavrin system/Olmach

  python3 - "$work" "$runs" <<'EOF'
import os, re, statistics, sys
work, runs = sys.argv[1], sys.argv[2]
keys = ('cpu_ms', 'mapped_ms', 'rss_kb')
def runs_of(program):
    return [dict((k, float(v)) for k, v in re.findall(r'(\w+)=([\d.]+)', line))
            for line in open(f'{work}/{program}.runs')]
bare = runs_of('BareWindow')
print(f'Start-up, median of {runs} runs each, under Xvfb (load average {os.getloadavg()[0]:.1f})')
print(f'{"":26}{"CPU ms":>10}{"mapped ms":>12}{"peak RSS MB":>14}')
def row(name, rows):
    cpu, mapped, rss = (statistics.median(r[k] for r in rows) for k in keys)
    print(f'{name:26}{cpu:>10.1f}{mapped:>12.1f}{rss / 1024:>14.1f}')
row('bare window', bare)
# The editors as the release archive has them (static Qt) and as built against the system's Qt.
editors = {f'{name} ({kind})': runs_of(f'{folder}/{name}')
           for folder, kind in (('static', 'static'), ('system', 'system Qt'))
           for name in ('Tavrin', 'Olmach')}
for name, rows in editors.items():
    row(name, rows)
# Each editor against the bare window of the same round, so that a change in the machine's
# load between rounds cancels out; the median of those ratios.
for name, rows in editors.items():
    ratios = [statistics.median(r[k] / b[k] for r, b in zip(rows, bare)) for k in keys]
    print(f'{name + " / bare":26}' + ''.join(f'{r:>{w}.2f}x' for r, w in zip(ratios, (9, 11, 13))))
EOF
}

core() {
  echo "Core operations (Google Benchmark; Time is per operation)"
  build-bench/bin/core_bench --benchmark_min_time=0.2 2>&1 | grep -v '^\*\*\*'
}

saves() {
  echo "Saves where others are in the way (botcfg; $runs rounds)"
  python3 bench/save_audit.py build-bench/bin/botcfg "$runs"
}

for part in "${parts[@]}"; do
  "$part"
  echo
done

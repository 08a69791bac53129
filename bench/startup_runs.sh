#!/usr/bin/env bash
# The start-ups that scripts/bench.sh measures, under the X server of DISPLAY: BareWindow,
# Tavrin and Olmach from FOLDER, RUNS times each, one line of figures a start appended to
# FOLDER/PROGRAM.runs.
#
# Usage: startup_runs.sh STARTUP_PROBE FOLDER RUNS

set -euo pipefail
probe=$1
work=$2
runs=$3
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

programs=(BareWindow Tavrin Olmach)
for program in "${programs[@]}"; do # warm the caches (fonts, libraries); not counted
  "$probe" "$work/$program" >/dev/null
done
# Starts alternate, and the order turns every round, so that a change in the machine's load
# falls on all three alike.
for ((round = 0; round < runs; round++)); do
  for ((i = 0; i < 3; i++)); do
    program=${programs[$(((round + i) % 3))]}
    "$probe" "$work/$program" >>"$work/$program.runs"
  done
done

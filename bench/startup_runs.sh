#!/usr/bin/env bash
# The start-ups that scripts/bench.sh measures, under the X server of DISPLAY: each PROGRAM
# (a path below FOLDER; default BareWindow, Tavrin and Olmach) RUNS times, one line of figures a
# start appended to FOLDER/PROGRAM.runs.
#
# Usage: startup_runs.sh STARTUP_PROBE FOLDER RUNS [PROGRAM ...]

set -euo pipefail
probe=$1
work=$2
runs=$3
shift 3
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=(BareWindow Tavrin Olmach)
count=${#programs[@]}
for program in "${programs[@]}"; do # warm the caches (fonts, libraries); not counted
  "$probe" "$work/$program" >/dev/null
done
# Starts alternate, and the order turns every round, so that a change in the machine's load
# falls on all alike.
for ((round = 0; round < runs; round++)); do
  for ((i = 0; i < count; i++)); do
    program=${programs[$(((round + i) % count))]}
    "$probe" "$work/$program" >>"$work/$program.runs"
  done
done

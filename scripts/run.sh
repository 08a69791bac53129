#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tavrin (or Olmach with "olmach") from build/bin,
# where it reads and writes its configuration file.
# Usage: scripts/run.sh [tavrin|olmach]

set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-tavrin}" in
  tavrin) program=Tavrin ;;
  olmach) program=Olmach ;;
  *) echo "usage: scripts/run.sh [tavrin|olmach]" >&2; exit 2 ;;
esac
bash scripts/build.sh
exec "build/bin/$program"

#!/usr/bin/env bash
# Configures and builds both programs and their tests into build/ (executables in build/bin).
# Usage: scripts/build.sh [extra cmake arguments ...]

set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build -j"$(nproc)"

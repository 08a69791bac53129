#!/usr/bin/env bash
# The layers keep their direction: the file rules (src/core) include no operating-system header,
# no Qt and nothing of the platform layer's inside; the platform layer (src/platform) includes
# nothing of the file rules or the windows. Prints each include that breaks this.
# Usage: layers.sh SRC_FOLDER
set -uo pipefail
src=$1
status=0
report() {
  if [ -n "$1" ]; then
    echo "$2:"
    echo "$1"
    status=1
  fi
}
report "$(grep -rnE '#include <(unistd\.h|fcntl\.h|sys/|windows\.h|filesystem|io\.h|dirent\.h|Q)|#include "(ui|platform/(posix|win32)|platform/detail)' "$src/core")" \
  "the file rules include what belongs to the system, Qt or the platform layer's inside"
report "$(grep -rnE '#include "(core|ui|botcfg|tavrin|olmach)/' "$src/platform")" \
  "the platform layer includes the file rules or a front end"
exit $status

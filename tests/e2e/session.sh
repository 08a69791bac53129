# What the end-to-end shell tests share: a private X server, a scratch folder, cleanup of both
# and of the program under test whatever happens, and the look-ups of its windows.
# Source it, then start the program and set app_pid (its process) and main (its main window).
# shellcheck shell=bash

for tool in Xvfb xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits until the command succeeds, for at most $1 tenths of a second.
wait_until() {
  local tries=$1; shift
  for ((i = 0; i < tries; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

start_display() {
  local first=$((300 + $$ % 400))
  for ((display = first; display < first + 50; display++)); do
    [ -e "/tmp/.X$display-lock" ] && continue
    # The server ends with this script even when a test runner kills it outright.
    setpriv --pdeathsig TERM Xvfb ":$display" -noreset -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$display"
    # Our own server must be the one that answers: another may have taken the number first.
    if wait_until 50 xdotool getmouselocation && kill -0 "$xvfb_pid" 2>/dev/null; then
      return 0
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  done
  return 1
}

# Visible windows of the program other than its main window.
boxes() {
  local ids
  ids=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null) || return 0
  for id in $ids; do
    [ "$id" = "$main" ] || echo "$id"
  done
}
has_box() { [ -n "$(boxes)" ]; }

start_display || fail "no X server could be started"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

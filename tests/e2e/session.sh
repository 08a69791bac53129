# What the end-to-end shell tests share: a scratch folder, cleanup of it and of the program
# under test whatever happens, and the look-ups of its windows. The tests run under a private X
# server of their own (xsession.py COMMAND, which sets DISPLAY). Source it, then start the
# program and set app_pid (its process) and main (its main window).
# shellcheck shell=bash

for tool in xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh" >&2; exit 1; }
done

work=$(mktemp -d)
app_pid=
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; fi
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

# Visible windows of the program other than its main window.
boxes() {
  local ids
  ids=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null) || return 0
  for id in $ids; do
    [ "$id" = "$main" ] || echo "$id"
  done
}
has_box() { [ -n "$(boxes)" ]; }

[ -n "${DISPLAY:-}" ] || fail "no X server: run the test through tests/e2e/xsession.py"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

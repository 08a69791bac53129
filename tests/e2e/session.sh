# What the end-to-end shell tests share: a scratch folder, cleanup of it and of the program
# under test whatever happens, the look-ups of its windows, and the steps of start, save and
# check. The tests run under a private X server of their own (xsession.py COMMAND, which sets
# DISPLAY). Source it, copy the program into $work beside its file and expected.cfg, then
# start_program, type, save_with_ctrl_s and expect_saved.
# shellcheck shell=bash

for tool in xdotool xprop python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh" >&2; exit 1; }
done

here=$(dirname "${BASH_SOURCE[0]}")
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

# start_program PROGRAM CAPTION FILE: starts $work/PROGRAM and waits for its main window, which
# gets the focus; no box may come at start-up. FILE, beside it, must not change before a save.
start_program() {
  program=$1 caption=$2 config=$3
  before=$(cat "$work/$config")
  (cd "$work" && exec "./$program" >"$work/$program.log" 2>&1) &
  app_pid=$!
  wait_until 200 xdotool search --onlyvisible --pid "$app_pid" --name "^$caption\$" \
    || fail "the window did not appear"
  main=$(xdotool search --onlyvisible --pid "$app_pid" --name "^$caption\$" | head -n 1)
  sleep 0.5
  has_box && fail "a message box at start-up: the crafted file should read cleanly"
  xdotool windowfocus --sync "$main"
}

# Saves with Ctrl+S. One box must follow, with an empty title, and go with Return (the boxes
# are dismissed by xsession.py, as the Python drivers dismiss them); the program runs on.
save_with_ctrl_s() {
  sleep 0.3
  [ "$(cat "$work/$config")" = "$before" ] || fail "the file changed before saving"
  xdotool key ctrl+s
  wait_until 100 has_box || fail "no message box after Ctrl+S"
  local names dismissed
  names=$(xprop -id "$(boxes | head -n 1)" WM_NAME _NET_WM_NAME)
  grep -q '^WM_NAME(STRING) = $' <<<"$names" || fail "the box has a title: $names"
  grep -q '^_NET_WM_NAME(UTF8_STRING) = $' <<<"$names" || fail "the box has a title: $names"
  dismissed=$(python3 "$here/xsession.py" --dismiss "$app_pid" "$caption" 1) \
    || fail "the message box did not go away"
  [ "$dismissed" = "[]" ] || fail "not one untitled box after one save: $dismissed"
  kill -0 "$app_pid" 2>/dev/null || fail "$program ended"
}

# The saved file must be $work/expected.cfg byte for byte, with nothing else left beside it.
expect_saved() {
  cmp "$work/$config" "$work/expected.cfg" || {
    diff <(tr -d '\r' <"$work/$config") <(tr -d '\r' <"$work/expected.cfg") >&2 || true
    fail "the saved file differs"
  }
  local leftovers
  leftovers=$(ls -A "$work" | grep -vx -e "$program" -e "$config" -e expected.cfg -e "$program.log" || true)
  [ -z "$leftovers" ] || fail "files left behind: $leftovers"
}

[ -n "${DISPLAY:-}" ] || fail "no X server: run the test through tests/e2e/xsession.py"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

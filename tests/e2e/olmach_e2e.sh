#!/usr/bin/env bash
# Olmach end to end: the real program, copied alone into a temporary folder beside a crafted
# sbot.cfg, under a private X server and driven by xdotool. It switches to tier 2 with the
# keyboard, raises that tier's ki by one, types a power level, saves with Ctrl+S, dismisses the
# box (one, with an empty title) with Return and compares the file byte for byte. Texts no control holds as they are
# ("1e3", " 40", "2.5", 0, 150, -1) must come back unchanged.
# Usage: olmach_e2e.sh PATH/TO/Olmach PATH/TO/default_sbot.cfg

set -euo pipefail
program=$1
reference=$2
source "$(dirname "$0")/session.sh"

cp "$program" "$work/Olmach"
printf '%s\r\n' '# crafted by the end-to-end test' \
  '[SUPERBOT]' 'ki_gain 1e3' 'health_gain  40' 'powerlevel 2500000' 'transparency_val 0' \
  'sbotlaser_percent 150' \
  '[MEGABOT]' 'ki_gain 200' 'health_gain 2.5' 'powerlevel 3500000' 'transparency_val 127' \
  'sbotlaser_percent 50' \
  '[ULTIMATEBOT]' 'ki_gain -1' 'health_gain -1' 'powerlevel 10000000' 'transparency_val -1' \
  'sbotlaser_percent -1' >"$work/sbot.cfg"

# The 35 head lines of the reference file, then the three sections as they must be saved.
{
  head -n 35 "$reference"
  printf '%s\r\n' \
    '[SUPERBOT]' 'ki_gain 1e3' 'health_gain  40' 'powerlevel 2500000' 'transparency_val 0' \
    'sbotlaser_percent 150' '' \
    '[MEGABOT]' 'ki_gain 201' 'health_gain 2.5' 'powerlevel 4242' 'transparency_val 127' \
    'sbotlaser_percent 50' '' \
    '[ULTIMATEBOT]' 'ki_gain -1' 'health_gain -1' 'powerlevel 10000000' 'transparency_val -1' \
    'sbotlaser_percent -1' ''
} >"$work/expected.cfg"
before=$(cat "$work/sbot.cfg")

(cd "$work" && exec ./Olmach >"$work/olmach.log" 2>&1) &
app_pid=$!
wait_until 200 xdotool search --onlyvisible --pid "$app_pid" --name '^Official SuperBot Editor$' \
  || fail "the window did not appear"
main=$(xdotool search --onlyvisible --pid "$app_pid" --name '^Official SuperBot Editor$' | head -n 1)
sleep 0.5
has_box && fail "a message box at start-up: the crafted file should read cleanly"

xdotool windowfocus --sync "$main"
xdotool key Right                          # tier selector, which has the focus: tier 2
xdotool key Tab Tab Right                  # "load default values", then the KI slider: 201
xdotool key Tab Tab Tab Tab ctrl+a         # the power-level field
xdotool type --delay 20 4242
sleep 0.3
[ "$(cat "$work/sbot.cfg")" = "$before" ] || fail "the file changed before saving"
xdotool key ctrl+s

wait_until 100 has_box || fail "no message box after Ctrl+S"
box=$(boxes | head -n 1)
title=$(xdotool getwindowname "$box")
[ -z "$title" ] || fail "the save box is titled '$title', not empty"
xdotool windowfocus --sync "$box"
xdotool key Return
wait_until 100 bash -c "! xdotool search --onlyvisible --pid $app_pid | grep -qx $box" \
  || fail "the message box did not go away"
kill -0 "$app_pid" 2>/dev/null || fail "Olmach ended"
sleep 1
has_box && fail "a second message box after one save"

cmp "$work/sbot.cfg" "$work/expected.cfg" || {
  diff <(tr -d '\r' <"$work/sbot.cfg") <(tr -d '\r' <"$work/expected.cfg") >&2 || true
  fail "the saved file differs"
}
leftovers=$(ls -A "$work" | grep -vx -e Olmach -e sbot.cfg -e expected.cfg -e olmach.log || true)
[ -z "$leftovers" ] || fail "files left behind: $leftovers"
echo "e2e_olmach: one untitled box, saved file matches byte for byte"

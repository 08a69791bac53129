#!/usr/bin/env bash
# Tavrin end to end: the real program, copied alone into a temporary folder beside a crafted
# bot_personality.cfg, under a private X server and driven by xdotool. From the bot selector,
# which has the focus, Tab reaches "Melee" of bot 1; typing 45 picks that value; Ctrl+S saves
# to the file read at start-up; Return dismisses the box, whose title must be empty. The file
# must then differ from the crafted one in that one line: texts no control holds as they are
# (a transkiller of 5, a percent of 2.5 or 150, the default personality 5) come back unchanged.
# Usage: tavrin_e2e.sh PATH/TO/Tavrin PATH/TO/default_personality.cfg

set -euo pipefail
program=$1
reference=$2
source "$(dirname "$0")/session.sh"

cp "$program" "$work/Tavrin"
sed -e 's/^default_personality -1\r$/default_personality 5\r/' \
  -e '/^\[BOT1\]\r$/,/^\[BOT2\]\r$/{s/^transkiller 1\r$/transkiller 5\r/;s/^kiblast_percent 30\r$/kiblast_percent 2.5\r/}' \
  -e '/^\[BOT2\]\r$/,/^\[BOT3\]\r$/s/^lightbeam_percent 30\r$/lightbeam_percent 150\r/' \
  "$reference" >"$work/bot_personality.cfg"
[ "$(diff "$reference" "$work/bot_personality.cfg" | grep -c '^>')" = 4 ] \
  || fail "the crafted file is not what this test expects"
sed -e '/^\[BOT1\]\r$/,/^\[BOT2\]\r$/s/^melee_percent 80\r$/melee_percent 45\r/' \
  "$work/bot_personality.cfg" >"$work/expected.cfg"
before=$(cat "$work/bot_personality.cfg")

(cd "$work" && exec ./Tavrin >"$work/tavrin.log" 2>&1) &
app_pid=$!
caption='^Official Bot Personality Editor$'
wait_until 200 xdotool search --onlyvisible --pid "$app_pid" --name "$caption" \
  || fail "the window did not appear"
main=$(xdotool search --onlyvisible --pid "$app_pid" --name "$caption" | head -n 1)
sleep 0.5
has_box && fail "a message box at start-up: the crafted file should read cleanly"

xdotool windowfocus --sync "$main"
xdotool key Tab                            # from the bot selector to "Melee"
xdotool type --delay 50 45
sleep 0.3
[ "$(cat "$work/bot_personality.cfg")" = "$before" ] || fail "the file changed before saving"
xdotool key ctrl+s

wait_until 100 has_box || fail "no message box after Ctrl+S"
box=$(boxes | head -n 1)
names=$(xprop -id "$box" WM_NAME _NET_WM_NAME)
grep -q '^WM_NAME(STRING) = $' <<<"$names" || fail "the box has a title: $names"
grep -q '^_NET_WM_NAME(UTF8_STRING) = $' <<<"$names" || fail "the box has a title: $names"
xdotool windowfocus --sync "$box"
xdotool key Return
wait_until 100 bash -c "! xdotool search --onlyvisible --pid $app_pid | grep -qx $box" \
  || fail "the message box did not go away"
kill -0 "$app_pid" 2>/dev/null || fail "Tavrin ended"

cmp "$work/bot_personality.cfg" "$work/expected.cfg" || {
  diff <(tr -d '\r' <"$work/bot_personality.cfg") <(tr -d '\r' <"$work/expected.cfg") >&2 || true
  fail "the saved file differs"
}
leftovers=$(ls -A "$work" | grep -vx -e Tavrin -e bot_personality.cfg -e expected.cfg -e tavrin.log || true)
[ -z "$leftovers" ] || fail "files left behind: $leftovers"
echo "e2e_tavrin: saved file matches, the box title is empty"

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

start_program Tavrin 'Official Bot Personality Editor' bot_personality.cfg
xdotool key Tab                            # from the bot selector to "Melee"
xdotool type --delay 50 45
save_with_ctrl_s
expect_saved
echo "e2e_tavrin: saved file matches, the box title is empty"

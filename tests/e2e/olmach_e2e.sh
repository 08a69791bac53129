#!/usr/bin/env bash
# Olmach end to end: the real program, copied alone into a temporary folder beside a crafted
# sbot.cfg, under a private X server and driven by xdotool. It switches to tier 2 with the
# keyboard, raises that tier's ki by one, types a power level, saves with Ctrl+S, dismisses the
# box (one, with an empty title) with Return and compares the file byte for byte. Texts no
# control holds as they are ("1e3", " 40", "2.5", 0, 150, -1) must come back unchanged.
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

# The head of the reference file (all before its first section), then the three sections as
# they must be saved.
{
  sed -e '/^\[SUPERBOT\]\r$/,$d' "$reference"
  printf '%s\r\n' \
    '[SUPERBOT]' 'ki_gain 1e3' 'health_gain  40' 'powerlevel 2500000' 'transparency_val 0' \
    'sbotlaser_percent 150' '' \
    '[MEGABOT]' 'ki_gain 201' 'health_gain 2.5' 'powerlevel 4242' 'transparency_val 127' \
    'sbotlaser_percent 50' '' \
    '[ULTIMATEBOT]' 'ki_gain -1' 'health_gain -1' 'powerlevel 10000000' 'transparency_val -1' \
    'sbotlaser_percent -1' ''
} >"$work/expected.cfg"

start_program Olmach 'Official SuperBot Editor' sbot.cfg
xdotool key Right                          # tier selector, which has the focus: tier 2
xdotool key Tab Tab Right                  # "load default values", then the KI slider: 201
xdotool key Tab Tab Tab Tab ctrl+a         # the power-level field
xdotool type --delay 20 4242
save_with_ctrl_s
expect_saved
echo "e2e_olmach: one untitled box, saved file matches byte for byte"

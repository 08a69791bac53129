#!/usr/bin/env bash
# botcfg.exe under Wine, against what Wine shows of the system below it: a link of that system
# stays a link while the file at its end is written, a file with two names is written in place
# (through its journal, which is gone afterwards) so that both names see the new bytes, and
# concurrent writers of one file take their turns through the system's file locks.
#
# Usage: saves.sh BOTCFG.exe DEFAULT_PERSONALITY_FILE

set -uo pipefail
botcfg=$1
default=$2
here=$(cd "$(dirname "$0")" && pwd)
wine=$here/../../scripts/wine.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

cd "$work" || exit 1
cp "$default" real.cfg
ln -s real.cfg bot_personality.cfg
bash "$wine" "$botcfg" set bot_personality.cfg 2 melee_percent 33 || fail "set through a link"
[ -L bot_personality.cfg ] || fail "the link was replaced"
grep -q $'^melee_percent 33\r$' real.cfg || fail "the file at the link's end was not written"
rm bot_personality.cfg real.cfg

cp "$default" bot_personality.cfg
ln bot_personality.cfg other.cfg
bash "$wine" "$botcfg" set bot_personality.cfg 2 melee_percent 44 || fail "set of a file of two names"
grep -q $'^melee_percent 44\r$' other.cfg || fail "the file's other name kept the old bytes"
[ "$(ls -A)" = "$(printf 'bot_personality.cfg\nother.cfg')" ] || fail "left beside: $(ls -A)"
rm bot_personality.cfg other.cfg

cp "$default" bot_personality.cfg
for round in 1 2 3; do
  pids=()
  for bot in 3 6 9; do
    bash "$wine" "$botcfg" set bot_personality.cfg "$bot" melee_percent "$((round * 10 + bot))" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || fail "a concurrent set failed"; done
  for bot in 3 6 9; do
    got=$(bash "$wine" "$botcfg" get bot_personality.cfg "$bot" melee_percent | tr -d '\r')
    [ "$got" = "melee_percent $((round * 10 + bot))" ] || fail "round $round lost bot $bot: $got"
  done
done
[ "$(ls -A)" = bot_personality.cfg ] || fail "files left beside: $(ls -A)"
[ $status -eq 0 ] && echo "saves under Wine: links kept, two names one file, concurrent writers serialised"
exit $status

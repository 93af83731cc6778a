#!/usr/bin/env bash
# Word registration as a user makes it in the real program: select the word in the upper
# pane, click "登録", type the converted word, press Enter; the dictionary file gains the
# line and "変換" converts the word at once.
# Usage: registration.sh <path to the built Sorvanti>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$1"

mkdir "$work/辞書"
printf '犬 わんこ\r\n' | iconv -f UTF-8 -t CP932 > "$work/辞書/方言.txt"
printf '[辞書]\r\nName=方言\r\n' | iconv -f UTF-8 -t CP932 > "$work/Sorvanti.ini"
printf '猫' | iconv -f UTF-8 -t CP932 > "$work/猫.svt"

# Window coordinates: the upper pane at (120, 110), the lower pane at (120, 250), the tool
# bar's "登録" at (163, 40) and "変換" at (217, 40).
cat > "$work/session.sh" <<SESSION
set -eu
source "$work/session-lib.sh"
start_program "$work/猫.svt"
xdotool mousemove --window "\$win" 120 110 click 1
sleep 0.3
xdotool key --window "\$win" ctrl+a
xdotool mousemove --window "\$win" 163 40 click 1
sleep 1
xdotool type --delay 50 nyanko
xdotool key Return
sleep 0.5
xdotool mousemove --window "\$win" 217 40 click 1
sleep 0.5
pane_text 120 250 "$work/shown.txt"
stop_program
SESSION
run_in_x "$work/session.sh" || fail "session"

expect_cp932_file "$work/辞書/方言.txt" '犬 わんこ\r\n猫\t\tnyanko\r\n'
shown=$(cat "$work/shown.txt")
[ "$shown" = "nyanko" ] || fail "the lower pane shows: $shown"
echo "registration: ok"

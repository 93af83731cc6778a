#!/usr/bin/env bash
# "ツール" → "設定", tick "入力中に変換", OK: typing in the upper pane shows its conversion in
# the lower pane at once, and the option is in the settings file after the program ends. F1
# opens the manual.
# Usage: live_conversion.sh <path to the built Sorvanti>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$1"

mkdir "$work/辞書"
printf 'inu わんこ\r\ndesu やけん\r\n' | iconv -f UTF-8 -t CP932 > "$work/辞書/方言.txt"
printf '[辞書]\r\nName=方言\r\n' | iconv -f UTF-8 -t CP932 > "$work/Sorvanti.ini"

# Window coordinates: the upper pane at (120, 110), the lower pane at (120, 250).
cat > "$work/session.sh" <<SESSION
set -eu
source "$work/session-lib.sh"
start_program
xdotool key --window "\$win" alt+t sleep 0.5 key s
xdotool search --sync --onlyvisible --name '^設定\$' > /dev/null
# The first check box has the focus: tick it, then OK (Enter).
xdotool sleep 0.5 key space sleep 0.3 key Return sleep 0.5
xdotool mousemove --window "\$win" 120 110 click 1 sleep 0.3
xdotool type --delay 50 'inu desu'
xdotool key Return
xdotool type --delay 50 'inu'
sleep 0.5
pane_text 120 250 "$work/shown.txt"
# F1 opens the manual in the program's help window.
xdotool windowfocus --sync "\$win" key F1
for i in \$(seq 1 50); do
    xdotool search --onlyvisible --name '^秘密 の そるばんち ヘルプ\$' > "$work/help.txt" && break
    sleep 0.1
done
stop_program
SESSION
run_in_x "$work/session.sh" || fail "session"

expected=$(printf 'わんこ やけん\nわんこ')
shown=$(cat "$work/shown.txt")
[ "$shown" = "$expected" ] || fail "the lower pane shows: $shown"
iconv -f CP932 -t UTF-8 "$work/Sorvanti.ini" | tr -d '\r' | grep -qx 'LiveConversion=1' ||
    fail "LiveConversion=1 missing from the settings file"
[ -s "$work/help.txt" ] || fail "F1 opened no help window"
echo "live conversion and F1: ok"

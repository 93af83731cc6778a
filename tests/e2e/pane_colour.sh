#!/usr/bin/env bash
# A colour chosen through the pop-up menu is written at exit and shown at the next start:
# right-click the lower pane, "色を変更する", type the colour into the colour dialog, quit
# through the file menu; then start again and read the pane's colour off the screen.
# Usage: pane_colour.sh <path to the built Sorvanti>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$1"

mkdir "$work/辞書"
printf '犬 わんこ\r\n' | iconv -f UTF-8 -t CP932 > "$work/辞書/方言.txt"

cat > "$work/session.sh" <<SESSION
set -eu
source "$work/session-lib.sh"
start_program
xdotool mousemove --window "\$win" 200 250 click 3
sleep 0.5
# The menu's first item, "色を変更する"; then the colour dialog's "HTML" field.
xdotool key Down Return
sleep 1
xdotool key alt+h ctrl+a
xdotool type --delay 50 '#0a141e'
xdotool key Return
sleep 0.5
xdotool windowfocus --sync "\$win"
xdotool key --window "\$win" alt+f
sleep 0.5
xdotool key x
wait_end
# The next start shows the colour.
start_program
eval \$(xdotool getwindowgeometry --shell "\$win")
import -window root -crop 1x1+\$((X + 200))+\$((Y + 250)) "$work/pixel.txt"
stop_program
SESSION
run_in_x "$work/session.sh" || fail "session"

edit1=$(iconv -f CP932 -t UTF-8 "$work/Sorvanti.ini" | tr -d '\r' | grep '^Edit1=' || true)
[ "$edit1" = "Edit1=1971210" ] || fail "settings hold '$edit1', not Edit1=1971210 (0x001E140A)"
grep -q 'srgb(10,20,30)' "$work/pixel.txt" || fail "the lower pane shows $(tail -n1 "$work/pixel.txt")"
echo "pane colour: ok"

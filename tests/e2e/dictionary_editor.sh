#!/usr/bin/env bash
# The dictionary editor as a user works with it in the real program: ツール → 辞書の編集,
# Insert adds a row, the two words typed with Tab between them, Alt+Up moves the new pair
# above the shorter one that would hide it, Ctrl+S saves and Ctrl+W closes the editor without a
# question; the file holds exactly the lines expected, and "変換" in the main window uses the
# new order at once.
# Usage: dictionary_editor.sh <path to the built Sorvanti>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$1"

mkdir "$work/辞書"
printf '# 見本\r\ndog\twanko\r\n' | iconv -f UTF-8 -t CP932 > "$work/辞書/方言.txt"
printf '[辞書]\r\nName=方言\r\n' | iconv -f UTF-8 -t CP932 > "$work/Sorvanti.ini"

# Window coordinates of the main window: the upper pane at (120, 110), the lower pane at
# (120, 250), the tool bar's "変換" at (217, 40).
cat > "$work/session.sh" <<SESSION
set -eu
source "$work/session-lib.sh"
start_program
xdotool key --window "\$win" alt+t
sleep 0.5
xdotool key d
editor=\$(xdotool search --sync --onlyvisible --name '辞書の編集' | head -n1)
sleep 1
xdotool windowfocus --sync "\$editor"
xdotool key ctrl+End Insert
sleep 0.5
xdotool type --delay 50 doghouse
xdotool key Tab
xdotool type --delay 50 wankohouse
xdotool key Return
sleep 0.3
xdotool key alt+Up
sleep 0.3
xdotool key ctrl+s
sleep 0.5
xdotool key ctrl+w
sleep 0.5
xdotool windowfocus --sync "\$win"
xdotool mousemove --window "\$win" 120 110 click 1
xdotool type --delay 50 'doghouse dog'
xdotool mousemove --window "\$win" 217 40 click 1
sleep 0.5
pane_text 120 250 "$work/shown.txt"
stop_program
SESSION
run_in_x "$work/session.sh" || fail "session"

expect_cp932_file "$work/辞書/方言.txt" '# 見本\r\ndoghouse\t\twankohouse\r\ndog\twanko\r\n'
shown=$(cat "$work/shown.txt")
[ "$shown" = "wankohouse wanko" ] || fail "the lower pane shows: $shown"
echo "dictionary editor: ok"

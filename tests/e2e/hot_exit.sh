#!/usr/bin/env bash
# Unsaved text survives the end of the real program under a virtual X server. A document
# opened from the command line and typed into is closed through the window's close box (a
# WM_DELETE_WINDOW request, as a window manager sends it): the next start shows the text with
# a note. Typed into again and ended with SIGKILL after the keep interval, the start after
# that shows it too. Saved with 上書き保存 and closed, the next start is empty. Then a pair
# typed into the dictionary editor and SIGTERM: the program ends without a question, the next
# start shows the editor with the pair unsaved, and its Ctrl+S writes it.
# Usage: hot_exit.sh <path to the built Sorvanti> <path to close_window>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$1"
closer=$2

mkdir "$work/辞書"
printf '犬 わんこ\r\n' | iconv -f UTF-8 -t CP932 > "$work/辞書/方言.txt"
printf 'original' > "$work/doc.txt"
printf '[辞書]\r\nName=方言\r\n' | iconv -f UTF-8 -t CP932 > "$work/Sorvanti.ini"
kept="$work/Sorvanti.kept"

cat > "$work/session.sh" <<SESSION
set -eu
source "$work/session-lib.sh"
type_at_start() {
    xdotool mousemove --window "\$win" 120 110 click 1
    xdotool key --window "\$win" ctrl+Home
    xdotool type --window "\$win" --delay 30 "\$1"
    sleep 0.3
}

start_program "$work/doc.txt"
type_at_start 'one '
"$closer" "\$win"
wait_end

start_program
import -window "\$win" "$work/restored.png"
pane_text 120 110 "$work/after-close.txt"
type_at_start 'two '
sleep 4
kill -KILL \$pid
wait_end

start_program
pane_text 120 110 "$work/after-kill.txt"
xdotool key --window "\$win" alt+f
sleep 0.5
xdotool key s
sleep 1
"$closer" "\$win"
wait_end

start_program
pane_text 120 110 "$work/after-save.txt"
xdotool key --window "\$win" alt+t
sleep 0.5
xdotool key d
editor=\$(xdotool search --sync --onlyvisible --name '辞書の編集' | head -n1)
xdotool windowfocus --sync "\$editor"
xdotool key ctrl+End Insert
xdotool type --delay 50 cat
xdotool key Tab
xdotool type --delay 50 neko
xdotool key Return
sleep 0.3
kill -TERM \$pid
wait_end

start_program
editor=\$(xdotool search --sync --onlyvisible --name '辞書の編集' | head -n1)
xdotool getwindowname "\$editor" > "$work/editor-title.txt"
xdotool windowfocus --sync "\$editor"
xdotool key ctrl+s
sleep 0.5
"$closer" "\$win"
wait_end
SESSION
run_in_x "$work/session.sh" || fail "session"

[ "$(cat "$work/after-close.txt")" = "one original" ] ||
    fail "after the close box the upper pane shows: $(cat "$work/after-close.txt")"
[ "$(cat "$work/after-kill.txt")" = "two one original" ] ||
    fail "after SIGKILL the upper pane shows: $(cat "$work/after-kill.txt")"
[ "$(cat "$work/doc.txt")" = "two one original" ] || fail "上書き保存 wrote: $(cat "$work/doc.txt")"
[ -z "$(cat "$work/after-save.txt")" ] ||
    fail "after saving the next start shows: $(cat "$work/after-save.txt")"
[ -z "$(find "$kept" -name index 2>/dev/null)" ] || fail "a saved text is still kept"
[ "$(cat "$work/editor-title.txt")" = "方言* - 辞書の編集" ] ||
    fail "after SIGTERM the editor shows: $(cat "$work/editor-title.txt")"
expect_cp932_file "$work/辞書/方言.txt" '犬 わんこ\r\ncat\t\tneko\r\n'
echo "hot exit: ok"

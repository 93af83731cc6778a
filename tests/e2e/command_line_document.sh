#!/usr/bin/env bash
# Starts the real program with a document on its command line under a virtual X server and
# checks what the upper pane shows: a click into the pane, select all, the edit menu's
# copy, and the clipboard read back with xclip.
# Usage: command_line_document.sh <path to the built Sorvanti>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$1"

mkdir "$work/辞書" "$work/文書 フォルダ"
printf '犬 わんこ\r\n' | iconv -f UTF-8 -t CP932 > "$work/辞書/方言.txt"
expected=$'そるばんちの試験です。\n二行目 ｶﾅ ABC'
printf '%s' "$expected" | sed 's/$/\r/' | head -c -1 | iconv -f UTF-8 -t CP932 \
    > "$work/文書 フォルダ/試験.svt"

cat > "$work/session.sh" <<SESSION
set -eu
"$work/Sorvanti" "$work/文書 フォルダ/試験.svt" &
pid=\$!
echo \$pid > "$work/pid"
win=\$(xdotool search --sync --onlyvisible --name '秘密 の そるばんち' | head -n1)
sleep 1
xdotool windowfocus --sync "\$win"
# The upper pane lies below the menu and the tool bar, in the upper half of the window.
xdotool mousemove --window "\$win" 120 110 click 1
sleep 0.3
xdotool key --window "\$win" ctrl+a ctrl+c
sleep 0.5
xclip -o -selection clipboard > "$work/shown.txt" || true
kill -TERM \$pid
for i in \$(seq 1 100); do
    kill -0 \$pid 2>/dev/null || break
    sleep 0.1
done
kill -KILL \$pid 2>/dev/null || true
SESSION
run_in_x "$work/session.sh" || fail "session"

shown=$(cat "$work/shown.txt")
[ "$shown" = "$expected" ] || fail "the upper pane shows:
$shown"
echo "command-line document: ok"

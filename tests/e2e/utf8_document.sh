#!/usr/bin/env bash
# Starts the real program with a UTF-8 text file (LF line ends, as Linux editors write
# them) on its command line under a virtual X server: the upper pane shows the Japanese
# text, and 上書き保存 writes the file back byte for byte. The file is spoilt on disk
# before the save, so that only the save can bring it back.
# Usage: utf8_document.sh <path to the built Sorvanti>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$1"

mkdir "$work/辞書"
printf '犬 わんこ\r\n' | iconv -f UTF-8 -t CP932 > "$work/辞書/方言.txt"
expected=$'リナックスの編集器で書いた文です。\n二行目 😀 と ¥ も'
printf '%s\n' "$expected" > "$work/utf8.txt"
cp "$work/utf8.txt" "$work/original.txt"

cat > "$work/session.sh" <<SESSION
set -eu
"$work/Sorvanti" "$work/utf8.txt" &
pid=\$!
echo \$pid > "$work/pid"
win=\$(xdotool search --sync --onlyvisible --name '秘密 の そるばんち' | head -n1)
sleep 1
xdotool windowfocus --sync "\$win"
xdotool mousemove --window "\$win" 120 110 click 1
sleep 0.3
xdotool key --window "\$win" ctrl+a ctrl+c
sleep 0.5
xclip -o -selection clipboard > "$work/shown.txt" || true
printf 'spoilt' > "$work/utf8.txt"
xdotool key --window "\$win" alt+f
sleep 0.5
xdotool key s
sleep 1
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
cmp "$work/original.txt" "$work/utf8.txt" || fail "上書き保存 wrote:
$(od -c "$work/utf8.txt" | head -20)"
echo "UTF-8 document: ok"

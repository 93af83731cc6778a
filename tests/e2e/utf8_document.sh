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
source "$work/session-lib.sh"
start_program "$work/utf8.txt"
pane_text 120 110 "$work/shown.txt"
printf 'spoilt' > "$work/utf8.txt"
xdotool key --window "\$win" alt+f
sleep 0.5
xdotool key s
sleep 1
stop_program
SESSION
run_in_x "$work/session.sh" || fail "session"

shown=$(cat "$work/shown.txt")
[ "$shown" = "$expected" ] || fail "the upper pane shows:
$shown"
cmp "$work/original.txt" "$work/utf8.txt" || fail "上書き保存 wrote:
$(od -c "$work/utf8.txt" | head -20)"
echo "UTF-8 document: ok"

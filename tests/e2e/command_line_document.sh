#!/usr/bin/env bash
# Starts the real program with a document on its command line under a virtual X server and
# checks what the upper pane shows: a click into the pane, select all, the edit menu's
# copy, and the clipboard read back with xclip. Then --help and --version without a display.
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
source "$work/session-lib.sh"
start_program "$work/文書 フォルダ/試験.svt"
# The upper pane lies below the menu and the tool bar, in the upper half of the window.
pane_text 120 110 "$work/shown.txt"
stop_program
SESSION
run_in_x "$work/session.sh" || fail "session"

shown=$(cat "$work/shown.txt")
[ "$shown" = "$expected" ] || fail "the upper pane shows:
$shown"
# Asked for its usage or version, the program answers on standard output and opens no window
# (no X server here).
help=$(env -u DISPLAY QT_QPA_PLATFORM=xcb "$work/Sorvanti" --help) || fail "--help failed"
[[ $help == "使い方: Sorvanti [文書]"* ]] || fail "--help printed: $help"
[[ $(env -u DISPLAY QT_QPA_PLATFORM=xcb "$work/Sorvanti" --version) == "Sorvanti "[0-9]* ]] ||
    fail "--version"
echo "command-line document: ok"

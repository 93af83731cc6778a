#!/usr/bin/env bash
# The ".svt" association end to end, in a temporary home with its own XDG folders: the real
# program registers it from its tools menu; the desktop's own tools then find the type and
# its default program, the desktop entry validates, and its Exec line starts the program
# with a document in the upper pane; removing it from the menu takes everything away again.
# The program lies in a folder whose name needs quoting in the Exec line.
# Usage: file_association.sh <path to the built Sorvanti>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$1"

export work HOME="$work/home"
export XDG_DATA_HOME="$HOME/data" XDG_CONFIG_HOME="$HOME/config" XDG_DATA_DIRS=/usr/share
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
mkdir -p "$HOME"
export prog_dir="$work/プログラム \$置き場"
mkdir -p "$prog_dir/辞書" "$work/文書"
mv "$work/Sorvanti" "$prog_dir/Sorvanti"
printf '犬 わんこ\r\n' | iconv -f UTF-8 -t CP932 > "$prog_dir/辞書/方言.txt"
export doc="$work/文書/試験 文書.svt"
printf 'そるばんち\r\n関連付けの試験' | iconv -f UTF-8 -t CP932 > "$doc"
export entry="$XDG_DATA_HOME/applications/Sorvanti.svt.desktop"
written=("$XDG_DATA_HOME/mime/packages/Sorvanti.svt.xml" "$entry"
         "$XDG_DATA_HOME/icons/hicolor/scalable/apps/sorvanti.svg"
         "$XDG_DATA_HOME/icons/hicolor/scalable/mimetypes/application-x-sorvanti-svt.svg"
         "$XDG_CONFIG_HOME/mimeapps.list")

# Session helpers: the tools menu's "関連付け(&K)", then a click on a choice (dialog
# coordinates of the first or second radio item) and on OK; wait for `test_ok`.
cat > "$work/menu.sh" <<'MENU'
associate() {
    xdotool windowfocus --sync "$win"
    xdotool key --window "$win" alt+t
    sleep 0.5
    xdotool key k
    dlg=$(xdotool search --sync --onlyvisible --name '^関連付け$' | head -n1)
    sleep 0.5
    xdotool mousemove --window "$dlg" 40 "$1" click 1
    sleep 0.2
    xdotool mousemove --window "$dlg" 116 192 click 1
    for i in $(seq 1 100); do eval "$2" && break; sleep 0.1; done
}
finish() {
    kill -TERM "$pid"
    for i in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
}
MENU

cat > "$work/register.sh" <<'SESSION'
set -eu
source "$work/menu.sh"
"$prog_dir/Sorvanti" &
pid=$!
echo $pid > "$work/pid"
win=$(xdotool search --sync --onlyvisible --name '秘密 の そるばんち' | head -n1)
sleep 1
associate 95 '[ -f "$XDG_DATA_HOME/applications/mimeinfo.cache" ]'
finish
SESSION
run_in_x "$work/register.sh" || fail "register session"

for f in "${written[@]}"; do [ -f "$f" ] || fail "not written: $f"; done
type=$(xdg-mime query filetype "$doc")
[ "$type" = application/x-sorvanti-svt ] || fail "file type: $type"
default=$(xdg-mime query default application/x-sorvanti-svt)
[ "$default" = Sorvanti.svt.desktop ] || fail "default: $default"
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"

# The Exec line as a launcher reads it: the value's "\\" is one backslash, %f the document.
exec_value=$(sed -n 's/^Exec=//p' "$entry" | sed 's/\\\\/\\/g')
export launch=${exec_value//%f/'"$doc"'}

cat > "$work/open.sh" <<'SESSION'
set -eu
source "$work/menu.sh"
eval "$launch &"
pid=$!
echo $pid > "$work/pid"
win=$(xdotool search --sync --onlyvisible --name '秘密 の そるばんち' | head -n1)
sleep 1
xdotool windowfocus --sync "$win"
xdotool mousemove --window "$win" 120 110 click 1
sleep 0.3
xdotool key --window "$win" ctrl+a ctrl+c
sleep 0.5
xclip -o -selection clipboard > "$work/shown.txt" || true
associate 126 '[ ! -f "$entry" ]'
finish
SESSION
run_in_x "$work/open.sh" || fail "open and remove session"

shown=$(cat "$work/shown.txt")
[ "$shown" = $'そるばんち\n関連付けの試験' ] || fail "the upper pane shows: $shown"
for f in "${written[@]}"; do [ ! -e "$f" ] || fail "left behind: $f"; done
type=$(xdg-mime query filetype "$doc" || true)
[ "$type" != application/x-sorvanti-svt ] || fail "type still known after removal"
default=$(xdg-mime query default application/x-sorvanti-svt || true)
[ -z "$default" ] || fail "default still set after removal: $default"
echo "file association: ok"

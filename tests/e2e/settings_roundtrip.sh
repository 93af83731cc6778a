#!/usr/bin/env bash
# Starts the real program on a temporary program folder under a virtual X server, closes
# it the way a user does (and once by SIGTERM), and checks the settings file it wrote.
# Usage: settings_roundtrip.sh <path to the built Sorvanti>
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh" "$1"

mkdir "$work/辞書"
printf '犬 わんこ\r\nです やけん\r\n' | iconv -f UTF-8 -t CP932 > "$work/辞書/方言.txt"

settings_text() { iconv -f CP932 -t UTF-8 "$work/Sorvanti.ini" | tr -d '\r' | grep -v '^$'; }

# Runs inside the X server: start, wait for the window, act, wait for the program's end.
run_session() {
    local how=$1
    cat > "$work/session.sh" <<SESSION
set -eu
"$work/Sorvanti" &
pid=\$!
echo \$pid > "$work/pid"
win=\$(xdotool search --sync --onlyvisible --name '秘密 の そるばんち' | head -n1)
sleep 1
if [ "$how" = menu ]; then
    xdotool windowfocus --sync "\$win"
    xdotool key --window "\$win" alt+f
    sleep 0.5
    xdotool key x
else
    kill -TERM \$pid
fi
for i in \$(seq 1 100); do
    kill -0 \$pid 2>/dev/null || break
    sleep 0.1
done
if kill -0 \$pid 2>/dev/null; then
    kill -KILL \$pid
    echo "program did not end" >&2
    exit 1
fi
wait \$pid
SESSION
    run_in_x "$work/session.sh"
}

# First start without a settings file, closed through the file menu's "終了(&X)".
run_session menu || fail "first session"
[ -f "$work/Sorvanti.ini" ] || fail "no settings file written"
iconv -f CP932 -t UTF-8 "$work/Sorvanti.ini" > /dev/null || fail "settings file is not code page 932"
expected='[メイン]
Width=441
Height=330
Top=219
Left=291
[カラー]
FrameAct=15780518
FrameDis=-2147483633
Edit0=-2147483643
Edit1=12639424
IconBar=-2147483633
StatusBar=-2147483633
[分割]
Vh=0
[辞書]
Name=辞書を選択して下さい
[最近使ったファイル]
File1=
File2=
File3=
File4=
File5=
File6=
File7=
File8=
[設定]
LiveConversion=0
Highlight=0'
actual=$(settings_text)
[ "$actual" = "$expected" ] || fail "first settings file differs:
$actual"

# Second start from edited settings, ended by SIGTERM: the values come back unchanged.
printf '[メイン]\r\nWidth=500\r\nHeight=0x190\r\nTop=10\r\nLeft=20\r\n[分割]\r\nVh=1\r\n[辞書]\r\nName=方言\r\n' |
    iconv -f UTF-8 -t CP932 > "$work/Sorvanti.ini"
run_session term || fail "second session"
actual=$(settings_text)
for line in Width=500 Height=400 Top=10 Left=20 Vh=1 Name=方言 FrameAct=15780518 Edit1=12639424; do
    grep -qx "$line" <<<"$actual" || fail "missing $line in:
$actual"
done
[ "$(grep -c '=' <<<"$actual")" -eq 22 ] || fail "not 22 keys:
$actual"
echo "settings round trip: ok"

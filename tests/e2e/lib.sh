# Set-up shared by the end-to-end scripts, sourced after `set -euo pipefail` with the path
# of the built Sorvanti as its argument. Gives:
#   $work         a temporary program folder holding a copy of the program as "$work/Sorvanti",
#                 removed when the script exits;
#   fail MESSAGE  ends the script with a failure;
#   expect_cp932_file FILE TEXT  fails unless FILE holds TEXT in code page 932;
#   run_in_x FILE runs the bash script FILE under a virtual X server, for at most 60 s.
# A session writes its program's process id to "$work/pid" so that a program left running
# by a session that timed out is ended with the test.

program=$1
work=$(mktemp -d)
cleanup() {
    if [ -f "$work/pid" ]; then kill -KILL "$(cat "$work/pid")" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
cp "$program" "$work/Sorvanti"

fail() { echo "FAIL: $*" >&2; exit 1; }

# expect_cp932_file FILE TEXT: FILE holds exactly TEXT (printf escapes allowed) in code page 932.
expect_cp932_file() {
    local expected actual
    expected=$(printf "$2" | iconv -f UTF-8 -t CP932 | od -An -tx1)
    actual=$(od -An -tx1 < "$1")
    [ "$actual" = "$expected" ] || fail "$1 holds:
$(iconv -f CP932 -t UTF-8 < "$1" | od -c)"
}

# The program must reach the X server even when the test environment asks for offscreen.
run_in_x() {
    QT_QPA_PLATFORM=xcb timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash "$1"
}

# Helpers for the session scripts, which run inside the X server: each sources
# "$work/session-lib.sh" and then
#   start_program [ARG...]  starts "$work/Sorvanti" (or the program named by $program_file)
#                           with ARGs, waits for its window (in $win), focuses it; the
#                           process id is in $pid and in "$work/pid";
#   pane_text X Y FILE      clicks the pane at window position X,Y, selects all, copies, and
#                           writes the clipboard to FILE;
#   wait_end                waits up to 10 s for the program to end; fails when it does not;
#   stop_program            SIGTERM, then wait_end.
cat > "$work/session-lib.sh" <<LIB
start_program() {
    "\${program_file:-$work/Sorvanti}" "\$@" &
    pid=\$!
    echo \$pid > "$work/pid"
    win=\$(xdotool search --sync --onlyvisible --name '秘密 の そるばんち' | head -n1)
    sleep 1
    xdotool windowfocus --sync "\$win"
}
pane_text() {
    xdotool mousemove --window "\$win" "\$1" "\$2" click 1
    sleep 0.3
    xdotool key --window "\$win" ctrl+a ctrl+c
    sleep 0.5
    xclip -o -selection clipboard > "\$3" || true
}
wait_end() {
    for i in \$(seq 1 100); do
        kill -0 \$pid 2>/dev/null || return 0
        sleep 0.1
    done
    kill -KILL \$pid 2>/dev/null || true
    echo "program did not end" >&2
    return 1
}
stop_program() {
    kill -TERM \$pid
    wait_end
}
LIB

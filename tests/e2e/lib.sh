# Set-up shared by the end-to-end scripts, sourced after `set -euo pipefail` with the path
# of the built Sorvanti as its argument. Gives:
#   $work         a temporary program folder holding a copy of the program as "$work/Sorvanti",
#                 removed when the script exits;
#   fail MESSAGE  ends the script with a failure;
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

# The program must reach the X server even when the test environment asks for offscreen.
run_in_x() {
    QT_QPA_PLATFORM=xcb timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash "$1"
}

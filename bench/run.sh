#!/usr/bin/env bash
# Runs every benchmark program of a build folder and the command-line comparison.
# Usage: bench/run.sh [BUILD_DIR]   (default: build)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-build}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
for b in "$build"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_counters_tabular=true
done
if [ -x "$here/compare.sh" ] || [ -f "$here/compare.sh" ]; then
    echo "== compare.sh"
    bash "$here/compare.sh" "$build"
fi

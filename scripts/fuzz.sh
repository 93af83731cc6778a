#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang (ASan + UBSan) in build-fuzz and runs each
# for FUZZ_SECONDS (default 300). FUZZ_TARGETS picks harnesses (default: all), FUZZ_JOBS how many
# run at once (default 1). The growing corpora stay in build-fuzz/corpus/<name>; an input that
# breaks a harness lands in build-fuzz/artifacts/<name>/ — copy it to fuzz/regressions/<name>/
# with the fix, so that every test run replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-300}"
targets="${FUZZ_TARGETS:-cp932 engine dictionary_loader settings convert_lines rtf plain_text}"
jobs="${FUZZ_JOBS:-1}"
dir=build-fuzz

bash scripts/install-deps.sh
if ! command -v clang++ >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get install -y -qq --no-install-recommends clang
fi

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g"
CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORVANTI_FUZZ=ON \
  -DSORVANTI_BENCH=OFF -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzzers

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Third-party leaks only (fontconfig's caches), by library name.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
status=0
run() {
  local name="$1"
  mkdir -p "$dir/corpus/$name" "$dir/artifacts/$name"
  "$dir/fuzz/fuzz_$name" "$dir/corpus/$name" "fuzz/corpus/$name" "fuzz/regressions/$name" \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=8192 \
    -artifact_prefix="$dir/artifacts/$name/" -print_final_stats=1 \
    >"$dir/$name.log" 2>&1 || return 1
}
pids=()
for name in $targets; do
  run "$name" &
  pids+=("$!:$name")
  if [ "${#pids[@]}" -ge "$jobs" ]; then
    for p in "${pids[@]}"; do
      wait "${p%%:*}" || { echo "fuzz: ${p#*:} found a failure (see $dir/${p#*:}.log)"; status=1; }
    done
    pids=()
  fi
done
for p in "${pids[@]}"; do
  wait "${p%%:*}" || { echo "fuzz: ${p#*:} found a failure (see $dir/${p#*:}.log)"; status=1; }
done
for name in $targets; do
  printf '%-18s ' "$name"
  grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::new_units_added)' "$dir/$name.log" |
    tr '\n' ' ' | sed 's/  */ /g'
  echo
done
exit $status

#!/usr/bin/env bash
# Fuzzes with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer:
# converter, the whole conversion from input bytes to GRF bytes; grfview, the
# GRF decoder with its rendering and BMP output.
#
#   tests/fuzz/run.sh SECONDS [TARGET]     TARGET: converter (default) or grfview
#
# Prints the number of executions; exits non-zero on a crash, a sanitizer
# report, a broken invariant or a hang. Inputs found are kept in
# build-fuzz/corpus-TARGET; a crashing input is written to build-fuzz/.
set -euo pipefail
seconds=${1:?usage: tests/fuzz/run.sh SECONDS [TARGET]}
target=${2:-converter}
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/build-fuzz"
mkdir -p "$out"

CXX=${CXX_FUZZ:-clang++-14}
command -v "$CXX" >/dev/null || CXX=clang++
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -fno-omit-frame-pointer -I"$root/converter" -I"$root/tests")

case "$target" in
  converter)
    sources=("$root"/tests/fuzz/fuzz_converter.cpp "$root"/tests/memory_platform.cpp
             "$root"/converter/{buffers,conversion_run,bitmap_input,cell_encoder,grf_format}.cpp)
    seeds="$root/tests/fuzz/corpus"
    max_len=300000 ;;
  grfview)
    sources=("$root"/tests/fuzz/fuzz_grf_decoder.cpp "$root"/viewer/{grf_decoder,image_files,stb_implementation}.cpp)
    flags+=(-I"$root/viewer" -isystem /usr/include/stb)
    seeds="$root/tests/fuzz/corpus-grf"
    max_len=60000 ;;
  *)
    echo "unknown target: $target" >&2; exit 2 ;;
esac

binary="$out/fuzz_$target"
"$CXX" "${flags[@]}" "${sources[@]}" -o "$binary"

corpus="$out/corpus-$target"
mkdir -p "$corpus"
log="$out/fuzz-$target.log"
set +e
(cd "$out" && "$binary" "$corpus" "$seeds" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
   -rss_limit_mb=2048 -print_final_stats=1) >"$log" 2>&1
status=$?
set -e
executions=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' | tail -n 1)
echo "target: $target  seconds: $seconds  executions: ${executions:-unknown}  exit: $status"
if [ "$status" -ne 0 ]; then
  grep -E 'ERROR|invariant broken|runtime error|Test unit written' "$log" | head -n 20 >&2
  echo "fuzzing found a problem; full log: $log" >&2
  exit 1
fi

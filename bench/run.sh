#!/usr/bin/env bash
# Whole-process timing of the converter beside cp of the same file (and
# beside bench/floor.c, a process that only reads the file and writes 48 KB),
# peak resident memory, and the in-process benchmark. Run from anywhere:
#   bench/run.sh
# Needs hyperfine, GNU time (/usr/bin/time) and libbenchmark-dev.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
runs=${BENCH_RUNS:-30}
rounds=${BENCH_ROUNDS:-15}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DOMBRIX_BENCH=ON -DOMBRIX_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/examples/mcscreen.bmp" "$work/sample.bmp"
"$build/examples/make_sample" --worst-case "$work/worst.bmp"
converter="$build/ombrix2grf"
floor="$build/bench-floor"
cc -O2 -o "$floor" "$root/bench/floor.c"

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
# hyperfine runs all runs of one command before the next, so a slow spell of
# the machine can land on one command only. The timing is therefore taken in
# several rounds and the ratios are reported as the median over the rounds.
for picture in sample worst; do
  for round in $(seq 1 "$rounds"); do
    (cd "$work" && hyperfine -N --warmup 10 --runs "$runs" --export-json "$work/$picture-$round.json" \
       "$converter $picture.bmp" "cp $picture.bmp copy.bmp" "$floor $picture.bmp" >/dev/null 2>&1)
  done
  python3 - "$work" "$picture" "$rounds" <<'PY'
import json, statistics, sys
work, picture, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
medians = []
for r in range(1, rounds + 1):
    results = json.load(open(f"{work}/{picture}-{r}.json"))["results"]
    medians.append([x["median"] for x in results])
conv = statistics.median(m[0] for m in medians)
cp = statistics.median(m[1] for m in medians)
floor = statistics.median(m[2] for m in medians)
ratios = sorted(m[0] / m[1] for m in medians)
floors = sorted(m[2] / m[1] for m in medians)
print(f"{picture:>6}: converter {conv*1e3:.3f} ms, cp {cp*1e3:.3f} ms, read-and-write floor {floor*1e3:.3f} ms (medians)")
print(f"        converter/cp {statistics.median(ratios):.2f} (rounds {ratios[0]:.2f} to {ratios[-1]:.2f}), "
      f"floor/cp {statistics.median(floors):.2f} (rounds {floors[0]:.2f} to {floors[-1]:.2f})")
PY
  rss=$(cd "$work" && /usr/bin/time -v "$converter" "$picture.bmp" 2>&1 >/dev/null | awk -F: '/Maximum resident/ {print $2}' | tr -d ' ')
  cprss=$(cd "$work" && /usr/bin/time -v cp "$picture.bmp" copy.bmp 2>&1 >/dev/null | awk -F: '/Maximum resident/ {print $2}' | tr -d ' ')
  echo "        peak resident memory: converter ${rss} KiB, cp ${cprss} KiB"
done

echo
"$build/bench/convert_bench" --benchmark_min_time=0.5

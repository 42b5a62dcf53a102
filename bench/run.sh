#!/usr/bin/env bash
# Whole-process timing of the converter beside cp of the same file (and
# beside bench/floor.c, a process that only reads the file and writes 48 KB),
# peak resident memory, and the in-process benchmark. Run from anywhere:
#   bench/run.sh
# Needs hyperfine, GNU time (/usr/bin/time) and libbenchmark-dev.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
runs=${BENCH_RUNS:-50}

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
for picture in sample worst; do
  json="$work/$picture.json"
  (cd "$work" && hyperfine -N --warmup 10 --runs "$runs" --export-json "$json" \
     "$converter $picture.bmp" "cp $picture.bmp copy.bmp" "$floor $picture.bmp" >/dev/null)
  python3 - "$json" "$picture" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
conv, cp, floor = (r["median"] for r in results)
print(f"{sys.argv[2]:>6}: converter median {conv*1e3:.3f} ms, cp median {cp*1e3:.3f} ms, "
      f"converter/cp {conv/cp:.2f}   (read-and-write floor {floor*1e3:.3f} ms, floor/cp {floor/cp:.2f})")
PY
  rss=$(cd "$work" && /usr/bin/time -v "$converter" "$picture.bmp" 2>&1 >/dev/null | awk -F: '/Maximum resident/ {print $2}' | tr -d ' ')
  cprss=$(cd "$work" && /usr/bin/time -v cp "$picture.bmp" copy.bmp 2>&1 >/dev/null | awk -F: '/Maximum resident/ {print $2}' | tr -d ' ')
  echo "        peak resident memory: converter ${rss} KiB, cp ${cprss} KiB"
done

echo
"$build/bench/convert_bench" --benchmark_min_time=0.5

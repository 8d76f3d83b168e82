#!/bin/bash
# The output filter's real-time factor at 48 kHz stereo for (N, O) = (4096, 4) and (16384, 16):
# with the filter on (render and filter), the oversampled render alone, and the filter stage
# alone (the difference of the two times).
# Usage: bench/compare_filter.sh [build-dir]   (default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
"$build/bench/qv_filter_bench" --benchmark_min_time=1 --benchmark_format=json 2>/dev/null |
    python3 -c '
import json, sys
runs = {b["name"]: b["x_realtime"] for b in json.load(sys.stdin)["benchmarks"]}
for n, o in ((4096, 4), (16384, 16)):
    total, render = runs[f"BM_FilterOn/{n}/{o}"], runs[f"BM_OversampledRenderOnly/{n}/{o}"]
    stage = 1 / (1 / total - 1 / render)
    print(f"N={n:5d} O={o:2d}: filter on {total:7.1f}x real time, oversampled render alone "
          f"{render:7.1f}x, filter stage alone {stage:7.1f}x")
'

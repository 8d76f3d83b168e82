#!/bin/bash
# Forward complex transforms of 4096 and 65536 points: the library against FFTW's best plan
# (FFTW_PATIENT) on this machine in one run; prints each time and the ratio.
# Usage: bench/compare_fft.sh [build-dir]   (default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
"$build/bench/qv_fft_bench" --benchmark_min_time=0.5 --benchmark_format=json 2>/dev/null |
    python3 -c '
import json, sys
runs = {b["name"]: b["cpu_time"] for b in json.load(sys.stdin)["benchmarks"]}
for n in (4096, 65536):
    ours, fftw = runs[f"BM_Kt54Forward/{n}"], runs[f"BM_FftwForward/{n}"]
    print(f"{n:6d} points: KT54 {ours/1000:9.1f} us, FFTW {fftw/1000:9.1f} us, ratio {ours/fftw:.2f}x")
'

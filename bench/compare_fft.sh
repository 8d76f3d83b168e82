#!/bin/bash
# Forward complex transforms of 4096 and 65536 points: the library against FFTW's best plan
# (FFTW_PATIENT) on this machine in one run (REPS repetitions each, default 9); prints the best
# times and the ratios of the best and of the medians.
# Usage: bench/compare_fft.sh [build-dir]   (default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
# Repetitions in random interleaving: a busy moment of the machine then falls on both sides.
"$build/bench/qv_fft_bench" --benchmark_min_time=0.2 --benchmark_repetitions="${REPS:-9}" \
    --benchmark_enable_random_interleaving=true --benchmark_format=json 2>/dev/null |
    python3 -c '
import json, statistics, sys
runs = {}
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("run_type") == "iteration":
        runs.setdefault(b["run_name"], []).append(b["cpu_time"])
for n in (4096, 65536):
    ours, fftw = runs[f"BM_Kt54Forward/{n}"], runs[f"BM_FftwForward/{n}"]
    best = min(ours) / min(fftw)
    median = statistics.median(ours) / statistics.median(fftw)
    print(f"{n:6d} points: KT54 {min(ours)/1000:9.1f} us, FFTW {min(fftw)/1000:9.1f} us (best of "
          f"{len(ours)}); ratio {best:.2f}x best, {median:.2f}x median")
'

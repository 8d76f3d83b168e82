#!/bin/bash
# Renders 600 s of a 1 kHz sine at 48 kHz, 24-bit stereo with qvrender and with sox on this
# machine in one run, and prints both times and their ratio. Then runs the render benchmarks.
# Usage: bench/compare_sox.sh [build-dir]   (default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
qvrender=$build/src/cli/qvrender
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

best() {  # best of three wall-clock runs, in seconds
    local best=""
    for _ in 1 2 3; do
        local t0 t1
        t0=$(date +%s.%N)
        "$@" >/dev/null 2>&1
        t1=$(date +%s.%N)
        best=$(echo "$t0 $t1 $best" | awk '{d=$2-$1; if ($3=="" || d<$3) print d; else print $3}')
    done
    echo "$best"
}

q=$(best "$qvrender" "$work/qv.wav" --set File.Length=600 --set Misc.SamplingFreq=48000 \
    --set Misc.BitLen=24 --set Misc.Ch=Stereo --set Wave1.Freq=1000)
s=$(best sox -n -r 48000 -b 24 -c 2 "$work/sox.wav" synth 600 sine 1000)
size_q=$(stat -c %s "$work/qv.wav")
size_s=$(stat -c %s "$work/sox.wav")
echo "qvrender 600 s 48k/24/2 sine: ${q} s (${size_q} bytes)"
echo "sox      600 s 48k/24/2 sine: ${s} s (${size_s} bytes)"
echo "speed ratio qvrender/sox: $(echo "$q $s" | awk '{printf "%.2f", $2/$1}')x"
if [ -x "$build/bench/qv_bench" ]; then
    "$build/bench/qv_bench" --benchmark_min_time=0.5
fi

#!/bin/bash
# Renders 600 s of a 1 kHz sine at 48 kHz, 24-bit stereo to a WAV file with qvrender and with
# sox on this machine, alternating runs (RUNS each, default 5), and prints the best and median
# wall and CPU (user + system) times of each and the ratios sox/qvrender. Then runs the render
# benchmarks.
# Usage: bench/compare_sox.sh [build-dir]   (default build/native; RUNS=N in the environment)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
qvrender=$build/src/cli/qvrender
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# timed NAME COMMAND...: appends "NAME wall cpu" to the log (the output file removed after).
timed() {
    local name=$1
    shift
    /usr/bin/time -f "$name %e %U %S" -a -o "$work/times" "$@" >/dev/null 2>&1
}
for _ in $(seq "${RUNS:-5}"); do
    timed qvrender "$qvrender" "$work/qv.wav" --set File.Length=600 --set Misc.SamplingFreq=48000 \
        --set Misc.BitLen=24 --set Misc.Ch=Stereo --set Wave1.Freq=1000
    timed sox sox -n -r 48000 -b 24 -c 2 "$work/sox.wav" synth 600 sine 1000
    rm -f "$work/qv.wav" "$work/sox.wav"
done
python3 - "$work/times" <<'PY'
import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    name, wall, user, system = line.split()
    runs.setdefault(name, []).append((float(wall), float(user) + float(system)))
stats = {}
for name in ("qvrender", "sox"):
    walls = [w for w, _ in runs[name]]
    cpus = [c for _, c in runs[name]]
    stats[name] = (min(walls), statistics.median(walls), min(cpus), statistics.median(cpus))
    print(f"{name:8s} 600 s 48k/24/2 sine: wall best {stats[name][0]:.2f} s median "
          f"{stats[name][1]:.2f} s, cpu best {stats[name][2]:.2f} s median {stats[name][3]:.2f} s")
q, s = stats["qvrender"], stats["sox"]
print(f"sox/qvrender: wall {s[0] / q[0]:.2f}x best, {s[1] / q[1]:.2f}x median; "
      f"cpu {s[2] / q[2]:.2f}x best, {s[3] / q[3]:.2f}x median")
PY
if [ -x "$build/bench/qv_bench" ]; then
    "$build/bench/qv_bench" --benchmark_min_time=0.5
fi

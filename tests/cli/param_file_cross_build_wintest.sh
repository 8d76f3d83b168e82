#!/bin/bash
# A parameter file rendered by the Windows build (qvrender.exe under Wine, reading the file
# through the Win32 private-profile routines) and by the native build: the same bytes, apart
# from the rare one-step differences the two C runtimes' sin() may cause. WAV and text output.
set -euo pipefail
: "${QVRENDER_EXE:?path of qvrender.exe}" "${QV_NATIVE_QVRENDER:?path of the native qvrender}"
: "${QV_WINE_RUN:?wine wrapper}"
[ -x "$QV_NATIVE_QVRENDER" ] || { echo "native qvrender not built: $QV_NATIVE_QVRENDER"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

# A set that uses sweep, modulation, a burst, units, routing and the filter.
printf '%s\r\n' '[File]' 'Length=1.5' '[Misc]' 'SamplingFreq=44100' 'BitLen=24' 'Ch=3ch' \
    '[Wave1]' 'Waveform=square' 'Freq=440' 'Amp=-12' 'OutCh=ALL' 'BandLimitType=Add.' \
    'Sweep=1' 'SweepStep=2' 'SweepFreqLog=1' 'GateOnPeriod=3.5' 'GateOffPeriod=2' \
    '[Wave2]' 'Freq=880' 'Amp=-6' \
    '[Wave3]' 'Waveform=triangle' 'Freq=55.1' 'Amp=0x3FFF' 'AmpUnit=value' 'OutCh=2ch' \
    '[Wave5]' 'Waveform=sawtooth' 'Freq=100' 'FreqUnit=Samples' 'Amp=25' 'AmpUnit=percent' \
    'OutCh=3ch' 'Modulation=1' 'ModulationType=PWM' 'BandLimitType=BLIT' \
    '[Wave7]' 'Waveform=sine' 'Freq=3' 'Amp=0' 'OutCh=OFF' \
    '[Filter]' 'FilterOn=On' 'OverSampleRate=2' 'Size1=2048' 'KaiserAlpha=5' 'Points=3' \
    'P1=   0,-3' 'P2= 100,0' 'P3=1024,-20' >"$work/set.QV"

for out in wav QVT; do
    "$QV_NATIVE_QVRENDER" "$work/set.QV" "$work/native.$out" >/dev/null
    "$QV_WINE_RUN" "$QVRENDER_EXE" "Z:$work/set.QV" "Z:$work/win.$out" </dev/null >/dev/null
done
python3 - "$work" <<'PY' || fail=1
import sys
work = sys.argv[1]
a = open(f"{work}/native.wav", "rb").read()
b = open(f"{work}/win.wav", "rb").read()
data = a.find(b"data") + 8  # three channels: the extensible header
if data < 8 or a[:data] != b[:data] or len(a) != len(b):
    print("FAIL: the WAV headers or sizes differ"); sys.exit(1)
n = (len(a) - data) // 3
diff = worst = 0
for i in range(n):
    x = int.from_bytes(a[data + 3*i:data + 3 + 3*i], "little", signed=True)
    y = int.from_bytes(b[data + 3*i:data + 3 + 3*i], "little", signed=True)
    if x != y:
        diff += 1
        worst = max(worst, abs(x - y))
print(f"WAV: {n // 3} frames; {diff} of {n} samples differ (largest difference {worst} LSB)")
if n != 3 * 66150:  # three sweep steps of trunc(66150.5 / 3) frames
    print("FAIL: the sweep should end the file after 66150 frames"); sys.exit(1)
ta = open(f"{work}/native.QVT", "rb").read().split(b"\r\n")
tb = open(f"{work}/win.QVT", "rb").read().split(b"\r\n")
lines = sum(1 for x, y in zip(ta, tb) if x != y)
print(f"text: {lines} of {len(ta)} lines differ")
sys.exit(1 if worst > 1 or diff > n // 1000 or ta[:7] != tb[:7] or len(ta) != len(tb) else 0)
PY
exit $fail

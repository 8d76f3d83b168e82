#!/bin/bash
# The Windows build and the native build render the same bytes wherever no transcendental
# function feeds a sample; for sine the two C runtimes may round sin() differently, so there a
# rare sample may differ by one step. Reports how many.
set -euo pipefail
: "${QVRENDER_EXE:?path of qvrender.exe}" "${QV_NATIVE_QVRENDER:?path of the native qvrender}"
: "${QV_WINE_RUN:?wine wrapper}"
[ -x "$QV_NATIVE_QVRENDER" ] || { echo "native qvrender not built: $QV_NATIVE_QVRENDER"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

render_both() {  # name, settings...
    local name=$1
    shift
    "$QV_NATIVE_QVRENDER" "$work/$name.native.wav" "$@" >/dev/null
    # Wine sees the Unix path through its Z: drive.
    "$QV_WINE_RUN" "$QVRENDER_EXE" "Z:$work/$name.win.wav" "$@" </dev/null >/dev/null
}

common=(--set File.Length=3 --set Misc.SamplingFreq=48000)
for shape in square triangle sawtooth pulse "pulse(+-)"; do
    for bits in 16 24 F32; do
        name="${shape//[^a-z]/}_$bits"
        render_both "$name" "${common[@]}" --set Misc.BitLen=$bits --set Wave1.Waveform="$shape" \
            --set Wave1.Freq=997.3 --set Wave1.Amp=0x2345.6 --set Wave1.AmpUnit=value \
            --set Wave2.Waveform=triangle --set Wave2.Freq=480 --set Wave2.FreqUnit=Samples \
            --set Wave2.Amp=33 --set Wave2.AmpUnit=percent --set Wave2.OutCh=R \
            --set Wave1.Delay=-7
        if cmp -s "$work/$name.native.wav" "$work/$name.win.wav"; then
            echo "identical: $shape $bits bit"
        else
            echo "FAIL: $shape $bits bit differs between the builds"
            fail=1
        fi
    done
done

# MLS noise has no transcendental function in it: identical.
render_both mls "${common[@]}" --set Wave1.Waveform=MLS --set Misc.BitLen=24
if cmp -s "$work/mls.native.wav" "$work/mls.win.wav"; then
    echo "identical: MLS noise"
else
    echo "FAIL: MLS noise differs between the builds"
    fail=1
fi

# Sine, white and pink noise go through sin, cos and log: count the samples that differ and
# by how much.
render_both white_24 "${common[@]}" --set Wave1.Waveform="white noise" --set Misc.BitLen=24
render_both pink_24 "${common[@]}" --set Wave1.Waveform="pink noise" --set Misc.BitLen=24
for bits in 16 24; do
    render_both "sine_$bits" "${common[@]}" --set Misc.BitLen=$bits --set Wave1.Freq=1234.5 \
        --set Wave1.Amp=-0.5
done
for name in sine_16 sine_24 white_24 pink_24; do
    bits=${name#*_}
    python3 - "$work/$name.native.wav" "$work/$name.win.wav" "$bits" "$name" <<'PY' || fail=1
import sys
a = open(sys.argv[1], 'rb').read()[44:]
b = open(sys.argv[2], 'rb').read()[44:]
w = int(sys.argv[3]) // 8
if len(a) != len(b):
    print("FAIL: sine sizes differ", len(a), len(b)); sys.exit(1)
n = len(a) // w
diff = worst = 0
for i in range(n):
    x = int.from_bytes(a[i*w:(i+1)*w], 'little', signed=True)
    y = int.from_bytes(b[i*w:(i+1)*w], 'little', signed=True)
    if x != y:
        diff += 1
        worst = max(worst, abs(x - y))
print(f"{sys.argv[4]}: {diff} of {n} samples differ (largest difference {worst} LSB)")
sys.exit(1 if worst > 1 or diff > n // 1000 else 0)
PY
done

# Each build names and takes only its own driver types.
drivers() {  # build, qvrender..., expected list, foreign type
    local build=$1 list=${*: -2:1} foreign=${*: -1}
    set -- "${@:2:$#-3}"
    local help refused
    help=$("$@" --help </dev/null 2>&1)
    refused=$("$@" --play --driver "$foreign" </dev/null 2>&1) || true # refused, with 2
    if grep -q "$foreign" <<<"$help"; then
        echo "FAIL $build --help names $foreign"; fail=1
    fi
    grep -qF -- "--driver takes $list" <<<"$refused" ||
        { echo "FAIL $build takes --driver $foreign or does not list its own types: $refused"; fail=1; }
}
drivers windows "$QV_WINE_RUN" "$QVRENDER_EXE" "MME, DirectSound, ASIO or WASAPI" ALSA
drivers native "$QV_NATIVE_QVRENDER" "ALSA, JACK, PulseAudio, Pulse or OSS" WASAPI
exit $fail

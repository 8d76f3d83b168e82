#!/bin/bash
# Opens the audio device.
# qvrender.exe --play through MME under Wine: the ALSA file device of tools/wine-env captures
# what waveOut plays. The capture must hold, from its first byte on, exactly the frames that the
# native renderer writes into a WAV's data chunk for the same set: no gap, no repeat, nothing
# converted. Wine's null device is not paced, so --ms bounds the run but not the captured length;
# only the common prefix is compared, and at least 1.5 s of it is required. After the stream the
# capture may hold silence only: after a sweep's end, or for a moment at a Stop.
set -euo pipefail
: "${QVRENDER_EXE:?path of qvrender.exe}" "${QV_NATIVE_QVRENDER:?path of the native qvrender}"
: "${QV_WINE_RUN:?wine wrapper}"
[ -x "$QV_NATIVE_QVRENDER" ] || { echo "native qvrender not built: $QV_NATIVE_QVRENDER"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

# Compares a capture with a WAV's data chunk (tests/support/compare_capture.py).
compare() {
    python3 "$QV_SOURCE_DIR/tests/support/compare_capture.py" "$@"
}

# Plays one set and compares. Arguments: name, mode (a number of milliseconds, or "sweep" to
# let the sweep end the playback), settings...
play_case() {
    local name=$1 mode=$2
    shift 2
    local capture="$work/$name.raw" out="$work/$name.out" status=0
    local limit=(--ms "$mode") whole=prefix minimum=72000
    if [ "$mode" = sweep ]; then
        limit=() whole=whole minimum=0
    fi
    echo "$name:"
    # A fresh capture file for each run; the guard only keeps a hung run from hanging the test.
    QV_AUDIO_CAPTURE="$capture" timeout 300 "$QV_WINE_RUN" "$QVRENDER_EXE" --play \
        "${limit[@]}" "$@" </dev/null >"$out" 2>&1 || status=$?
    if [ $status -ne 0 ] || [ -s "$out" ]; then
        echo "  FAIL: qvrender.exe --play exited with $status"
        sed 's/^/    /' "$out"
        fail=1
        return
    fi
    if [ ! -s "$capture" ]; then
        echo "  FAIL: nothing was captured"
        fail=1
        return
    fi
    # The render covers the captured length (a sweep's set is rendered as it stands).
    local render=("$@")
    if [ "$mode" != sweep ]; then
        # Frame size and rate from a short render of the same set.
        "$QV_NATIVE_QVRENDER" "$work/$name.probe.wav" "$@" --set File.Length=0.01 >/dev/null
        local length
        length=$(python3 -c '
import math, struct, sys
wav = open(sys.argv[1], "rb").read()
fmt = wav.find(b"fmt ") + 8
rate = struct.unpack("<I", wav[fmt + 4:fmt + 8])[0]
align = struct.unpack("<H", wav[fmt + 12:fmt + 14])[0]
print(math.ceil(int(sys.argv[2]) / align / rate * 1000) / 1000)
' "$work/$name.probe.wav" "$(stat -c %s "$capture")")
        render+=(--set "File.Length=$length")
    fi
    "$QV_NATIVE_QVRENDER" "$work/$name.wav" "${render[@]}" >/dev/null
    compare "$capture" "$work/$name.wav" "$minimum" "$whole" || fail=1
    rm -f "$capture" "$work/$name.wav"
}

# File.Length=1 in the played set: playback is not limited by it, only a sweep's length is.
sine=(--set Misc.SamplingFreq=48000 --set Wave1.Freq=1000 --set File.Length=1)
play_case sine_16_stereo 2000 "${sine[@]}" --set Misc.BitLen=16 --set Misc.Ch=Stereo
play_case sine_24_stereo 2000 "${sine[@]}" --set Misc.BitLen=24 --set Misc.Ch=Stereo
play_case sine_f32_stereo 2000 "${sine[@]}" --set Misc.BitLen=F32 --set Misc.Ch=Stereo
# Six channels go to the device in the extensible form.
play_case sine_16_6ch 2000 "${sine[@]}" --set Misc.BitLen=16 --set Misc.Ch=6ch \
    --set Wave1.OutCh=ALL
# A 1.3 s sweep ends the playback by itself; its last buffer is padded with silence.
play_case sweep_16_stereo sweep --set Misc.SamplingFreq=48000 --set Misc.BitLen=16 \
    --set Wave1.Freq=100 --set Wave1.Sweep=1 --set Wave2.Freq=4000 --set Wave2.Amp=-20 \
    --set File.Length=1.3

# A restart mid-play: the device is flushed and the stream starts again at block 0, so the
# capture is the render's start, cut where the flush stopped the device, perhaps a moment of the
# silence Wine's driver writes while the device is paused for the refill, then the render's
# start again. 997.3 Hz never repeats a stretch of samples, so the second start is unambiguous.
echo "restart:"
restart_set=(--set Misc.SamplingFreq=48000 --set Misc.BitLen=16 --set Misc.Ch=Stereo
    --set Wave1.Freq=997.3 --set File.Length=1)
QV_AUDIO_CAPTURE="$work/restart.raw" timeout 300 "$QV_WINE_RUN" "$QVRENDER_EXE" --play --ms 3000 \
    --restart-after 500 "${restart_set[@]}" </dev/null >"$work/restart.out" 2>&1 ||
    { echo "  FAIL: qvrender.exe --play exited with $?"; cat "$work/restart.out"; fail=1; }
"$QV_NATIVE_QVRENDER" "$work/restart.wav" "${restart_set[@]}" --set File.Length=30 >/dev/null
python3 "$QV_SOURCE_DIR/tests/support/compare_restart.py" "$work/restart.raw" \
    "$work/restart.wav" 4800 || fail=1

# A restart during a sweep, then the sweep's end: the playback still ends by itself, so no
# completion was lost across the flush (one lost would leave the drain waiting for ever).
echo "restart, then the sweep's end:"
status=0
QV_AUDIO_CAPTURE="$work/sweep_restart.raw" timeout 120 "$QV_WINE_RUN" "$QVRENDER_EXE" --play \
    --restart-after 200 --set Misc.SamplingFreq=48000 --set Wave1.Freq=100 --set Wave1.Sweep=1 \
    --set File.Length=10 </dev/null >"$work/sweep_restart.out" 2>&1 || status=$?
if [ $status -ne 0 ]; then
    echo "  FAIL: exited with $status (124: it did not end by itself)"
    cat "$work/sweep_restart.out"
    fail=1
else
    echo "  ended by itself after $(($(stat -c %s "$work/sweep_restart.raw") / 4)) frames"
fi

# The device lists, which play nothing.
echo "device lists:"
driver_case() { # expected status, expected output pattern, arguments...
    local want=$1 pattern=$2 status=0
    shift 2
    QV_AUDIO_CAPTURE="$work/driver.raw" timeout 120 "$QV_WINE_RUN" "$QVRENDER_EXE" "$@" \
        </dev/null >"$work/driver.out" 2>&1 || status=$?
    if [ $status -ne "$want" ] || ! grep -Eq "$pattern" "$work/driver.out"; then
        echo "  FAIL: qvrender.exe $* exited with $status (expected $want, /$pattern/)"
        sed 's/^/    /' "$work/driver.out"
        fail=1
    elif [ -s "$work/driver.raw" ] && [ "$1" != --list-devices ]; then
        echo "  FAIL: qvrender.exe $* played something"
        fail=1
    else
        echo "  $*: $(head -n 2 "$work/driver.out" | tr '\n' ' ')"
    fi
    rm -f "$work/driver.raw"
}
driver_case 0 '^  0  Wave Mapper' --list-devices
driver_case 0 '^  1  ' --list-devices --driver mme

exit $fail

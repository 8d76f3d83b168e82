#!/bin/bash
# Opens the audio device.
# qvrender.exe --play --driver DirectSound under Wine. Wine's DirectSound mixes in float, so the
# ALSA file device of tools/wine-env captures 32-bit float frames (the capture's name says so)
# after a moment of silence while the mixer starts. From the first non-silent frame on, every
# captured sample must be the native render's 16-bit sample / 32768, exactly
# (tests/support/float_capture.py says why): no gap, no repeat, nothing converted. Wine's null
# device is not paced, so --ms bounds the run but not the captured length.
set -euo pipefail
: "${QVRENDER_EXE:?}" "${QV_NATIVE_QVRENDER:?}" "${QV_WINE_RUN:?}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
support="$QV_SOURCE_DIR/tests/support"
stereo=(--set Misc.SamplingFreq=48000 --set Misc.BitLen=16 --set Misc.Ch=Stereo --set File.Length=1)
fail=0

# Plays stereo with the given options and tone; leaves the capture, 16-bit again and aligned on
# the stream's start, in $work/NAME.s16, and a render that covers it in $work/NAME.wav.
play() { # name, frequency, qvrender.exe options...
    local name=$1 freq=$2 status=0 capture
    shift 2
    QV_AUDIO_CAPTURE="$work/$name.%c_%r_%b_%f.raw" timeout 300 "$QV_WINE_RUN" "$QVRENDER_EXE" \
        --play --driver DirectSound "$@" "${stereo[@]}" --set "Wave1.Freq=$freq" \
        </dev/null >"$work/$name.out" 2>&1 || status=$?
    capture=$(ls "$work/$name".*.raw 2>/dev/null || true)
    if [ $status -ne 0 ] || [ -s "$work/$name.out" ] ||
        [ "${capture##*/"$name".}" != 2_48000_32_FLOAT_LE.raw ]; then
        echo "  FAIL: exited with $status, captured ${capture:-nothing}"
        sed 's/^/    /' "$work/$name.out"
        return 1
    fi
    "$QV_NATIVE_QVRENDER" "$work/$name.wav" "${stereo[@]}" --set "Wave1.Freq=$freq" \
        --set "File.Length=$(($(stat -c %s "$capture") / 8 / 48000 + 2))" >/dev/null
    python3 "$support/float_capture.py" "$capture" "$work/$name.wav" "$work/$name.s16"
}

echo "1 kHz tone:"
play tone 1000 --ms 2000 &&
    python3 "$support/compare_capture.py" "$work/tone.s16" "$work/tone.wav" 72000 prefix || fail=1

# A restart mid-play stops and rewinds the buffer, and the copy starts again at the ring's
# start: the capture holds the stream's start, cut at the flush, then the stream from block 0
# again. 997.3 Hz never repeats a stretch of samples.
echo "restart:"
play restart 997.3 --ms 3000 --restart-after 500 &&
    python3 "$support/compare_restart.py" "$work/restart.s16" "$work/restart.wav" 48000 || fail=1

# A sweep ends the playback by itself and is heard to its last frame: the end of a pass lets the
# secondary buffer play what was copied into it before it stops.
echo "sweep:"
sweep=(--set Misc.SamplingFreq=48000 --set Misc.BitLen=16 --set Misc.Ch=Stereo --set Wave1.Freq=100
    --set Wave1.Sweep=1 --set Wave2.Freq=4000 --set Wave2.Amp=-20 --set File.Length=1.3)
status=0
QV_AUDIO_CAPTURE="$work/sweep.%c_%r_%b_%f.raw" timeout 300 "$QV_WINE_RUN" "$QVRENDER_EXE" \
    --play --driver DirectSound "${sweep[@]}" </dev/null >"$work/sweep.out" 2>&1 || status=$?
"$QV_NATIVE_QVRENDER" "$work/sweep.wav" "${sweep[@]}" >/dev/null
if [ $status -ne 0 ]; then
    echo "  FAIL: exited with $status"
    fail=1
else
    python3 "$support/float_capture.py" "$work"/sweep.*.raw "$work/sweep.wav" "$work/sweep.s16" &&
        python3 "$support/compare_capture.py" "$work/sweep.s16" "$work/sweep.wav" 0 whole || fail=1
fi

# Entry 0 is the primary driver, which the system gives without an identifier; devices follow.
echo "device list:"
status=0
timeout 120 "$QV_WINE_RUN" "$QVRENDER_EXE" --list-devices --driver DirectSound </dev/null \
    >"$work/list.crlf" 2>&1 || status=$?
tr -d '\r' <"$work/list.crlf" | tee "$work/list.out" | sed 's/^/  /'
if [ $status -ne 0 ] || ! grep -q '^  0  Primary Sound Driver$' "$work/list.out" ||
    ! grep -q '^  1  .' "$work/list.out"; then
    echo "  FAIL: exited with $status; entry 0 must be the primary driver, entry 1 a device"
    fail=1
fi
exit $fail

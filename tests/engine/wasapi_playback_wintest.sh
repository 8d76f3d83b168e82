#!/bin/bash
# Opens the audio device.
# qvrender.exe --play through WASAPI exclusive mode under Wine, timer-driven (Wine refuses
# event-driven exclusive streams): the ALSA file device of tools/wine-env captures what the
# endpoint plays, named after the bits the device was given. Wine makes the device buffer
# eight times the requested duration (7680 frames for 20 ms at 48 kHz, as the Info text
# shows), and the stream's first device buffer is silence; after it the capture must hold the
# native renderer's frames exactly, apart from the silence Wine writes when its unpaced sink
# has drained the buffer (tests/support/compare_gapped_capture.py).
set -euo pipefail
: "${QVRENDER_EXE:?path of qvrender.exe}" "${QV_NATIVE_QVRENDER:?path of the native qvrender}"
: "${QV_WINE_RUN:?wine wrapper}"
[ -x "$QV_NATIVE_QVRENDER" ] || { echo "native qvrender not built: $QV_NATIVE_QVRENDER"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
first_buffer=7680

# Plays through WASAPI: name, then qvrender's arguments; status in $status, output in name.out.
play() {
    local name=$1
    shift
    status=0
    QV_AUDIO_CAPTURE="$work/$name.%b.raw" timeout 300 "$QV_WINE_RUN" "$QVRENDER_EXE" --play \
        --driver WASAPI "$@" </dev/null >"$work/$name.out" 2>&1 || status=$?
}

# Plays a set timer-driven and compares. Arguments: name, the bits the device must get, the
# comparison's mode, qvrender's play options (one word list, "" for none), the set...
play_case() {
    local name=$1 bits=$2 mode=$3 options=$4 widen=()
    shift 4
    [[ " $* " != *" Misc.BitLen=8 "* ]] || widen=(widen8)
    echo "$name:"
    # shellcheck disable=SC2086 # the options are words
    play "$name" --wasapi-event off $options "$@"
    local capture="$work/$name.$bits.raw"
    if [ $status -ne 0 ] || [ -s "$work/$name.out" ] || [ ! -s "$capture" ]; then
        echo "  FAIL: exited with $status, $(ls "$work" | grep -c "^$name\..*raw") captures"
        sed 's/^/    /' "$work/$name.out"
        fail=1
        return
    fi
    [ "$mode" = whole ] || set -- "$@" --set File.Length=20
    "$QV_NATIVE_QVRENDER" "$work/$name.wav" "$@" >/dev/null
    python3 "$QV_SOURCE_DIR/tests/support/compare_gapped_capture.py" "$capture" \
        "$work/$name.wav" "$first_buffer" "$mode" "${widen[@]}" || fail=1
}

# 997.3 Hz from 90 degrees: no silent stretch, and no stretch that repeats.
tone=(--set Misc.SamplingFreq=48000 --set Misc.Ch=Stereo --set Wave1.Freq=997.3
    --set Wave1.Phase=90)
play_case s16 16 stream "--ms 2000" "${tone[@]}" --set Misc.BitLen=16
play_case s24 24 stream "--ms 2000" "${tone[@]}" --set Misc.BitLen=24
play_case f32 32 stream "--ms 2000" "${tone[@]}" --set Misc.BitLen=F32
# The device never sees 8-bit samples: they are played as 16 bits.
play_case u8 16 stream "--ms 2000" "${tone[@]}" --set Misc.BitLen=8
# A sweep ends the playback by itself once its last ring buffer has been counted as copied,
# and the device plays out what it holds before it stops.
play_case sweep 16 whole "" --set Misc.SamplingFreq=48000 --set Wave1.Freq=100 \
    --set Wave1.Phase=90 --set Wave1.Sweep=1 --set Wave2.Freq=4000 --set File.Length=1.3
# A restart mid-play flushes the device (the stream is cut where it stood) and starts again
# from block 0; this time the first device buffer carries the ring's data.
play_case restart 16 restart "--ms 3000 --restart-after 700" "${tone[@]}" --set Misc.BitLen=16

# Refusals carry the name of the platform's code. Wine refuses event-driven exclusive mode
# with AUDCLNT_E_DEVICE_IN_USE, and a 3 ms buffer (below its 5 ms) with
# AUDCLNT_E_INVALID_DEVICE_PERIOD, after the widening to 24 and 32 bits was tried.
refused_case() { # code name, qvrender arguments...
    local code=$1
    shift
    play refused "$@" --ms 1000
    printf '\n[Quorvale]\nUnable to play.\n\n(Unable to initialize. (%s))\n' "$code" \
        >"$work/expected.out"
    # The whole output, exactly, but for the console's CR LF line ends.
    if [ $status -ne 1 ] || ! tr -d '\r' <"$work/refused.out" | cmp -s - "$work/expected.out" ||
        ls "$work"/refused.*.raw >/dev/null 2>&1; then
        echo "  FAIL: $* exited with $status:"
        sed 's/^/    /' "$work/refused.out"
        fail=1
    else
        echo "  $*: Unable to initialize. ($code)"
    fi
}
echo "refused:"
refused_case AUDCLNT_E_DEVICE_IN_USE --wasapi-event on
refused_case AUDCLNT_E_INVALID_DEVICE_PERIOD --wasapi-event off --wasapi-latency 3

echo "endpoints:"
status=0
"$QV_WINE_RUN" "$QVRENDER_EXE" --list-devices --driver WASAPI </dev/null >"$work/list.out" \
    2>&1 || status=$?
sed 's/^/  /' "$work/list.out"
if [ $status -ne 0 ] || ! grep -q '^WASAPI output devices' "$work/list.out" ||
    ! grep -Eq '^  0  .+' "$work/list.out"; then
    echo "  FAIL: exited with $status"
    fail=1
fi
exit $fail

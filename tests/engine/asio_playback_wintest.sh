#!/bin/bash
# Registers ASIO drivers.
# qvrender.exe through ASIO under Wine: with no driver registered it says so; then, with the
# test driver of tests/engine/asio_test_driver registered in the prefix: the driver list (a long description cut, a class without its server
# file left out, each driver's outputs), then playbacks whose buffers the driver records: every
# output must hold the native renderer's samples converted to the driver's sample type
# (tests/support/asio_recording_check.py), from the chosen output on; the refusals and the
# callback's error carry their messages; a driver that asks for a reset gets the stream
# restarted with the buffer size it now prefers.
set -euo pipefail
: "${QVRENDER_EXE:?path of qvrender.exe}" "${QV_NATIVE_QVRENDER:?path of the native qvrender}"
: "${QV_WINE_RUN:?wine wrapper}" "${QV_ASIO_TEST_DRIVER:?the test ASIO driver}"
source "$QV_SOURCE_DIR/tests/support/asio_drivers.sh"
work=$(mktemp -d)
trap 'asio_unregister_all; rm -rf "$work"' EXIT
fail=0
asio_unregister_all
status=0
"$QV_WINE_RUN" "$QVRENDER_EXE" --play --driver ASIO </dev/null >"$work/none.out" 2>&1 || status=$?
if [ $status -ne 2 ] || [ "$(tr -d '\r' <"$work/none.out")" != "qvrender: No ASIO driver" ]; then
    echo "FAIL with no driver registered: exited with $status:"
    sed 's/^/    /' "$work/none.out"
    fail=1
fi
asio_register "A long one" 6F1D2E3C-0000-4000-8000-00000000B501 "$QV_ASIO_TEST_DRIVER" \
    "A driver whose description is forty long"
asio_register "Missing" 6F1D2E3C-0000-4000-8000-00000000B502 "$work/none.dll"
asio_register "QV Test" 6F1D2E3C-0000-4000-8000-00000000B503 "$QV_ASIO_TEST_DRIVER"
asio_apply

"$QV_WINE_RUN" "$QVRENDER_EXE" --list-devices --driver ASIO </dev/null 2>&1 | tr -d '\r' \
    >"$work/list.out" || true
printf '%s\n' "ASIO output devices (--play --driver ASIO --device N):" \
    "  0  A driver whose description i..." "       ch  0  Test Out 1" \
    "       ch  1  Test Out 2" "  1  QV Test" "       ch  0  Test Out 1" \
    "       ch  1  Test Out 2" >"$work/list.expected"
if ! cmp -s "$work/list.out" "$work/list.expected"; then
    echo "FAIL the driver list:"
    diff "$work/list.expected" "$work/list.out" | sed 's/^/    /'
    fail=1
fi

# Plays through "QV Test" (entry 1). Arguments: name, driver type, the recording's outputs
# (OUTPUT:CHANNEL,...), qvrender's play options ("" for none), the set... With RESTART set, the
# stream must start again after that many frames. Extra driver settings come from the
# environment (QV_ASIO_TEST_*).
play_case() {
    local name=$1 type=$2 outputs=$3 options=$4 status=0
    shift 4
    echo "$name:"
    # shellcheck disable=SC2086 # the options are words
    QV_ASIO_TEST_TYPE=$type QV_ASIO_TEST_RECORD=$(asio_winpath "$work/$name") timeout 120 \
        "$QV_WINE_RUN" "$QVRENDER_EXE" --play --driver ASIO --device 1 --ms 700 $options "$@" \
        </dev/null >"$work/$name.out" 2>&1 || status=$?
    if [ $status -ne 0 ] || [ -s "$work/$name.out" ]; then
        echo "  FAIL: exited with $status"
        sed 's/^/    /' "$work/$name.out"
        fail=1
        return
    fi
    "$QV_NATIVE_QVRENDER" "$work/$name.wav" "$@" --set File.Length=3 >/dev/null
    python3 "$QV_SOURCE_DIR/tests/support/asio_recording_check.py" "$work/$name.wav" \
        "$work/$name" "$type" "$outputs" ${RESTART:+restart "$RESTART"} || fail=1
}

# 997.3 Hz from 90 degrees on the left, 1501 Hz on the right: no stretch repeats.
two=(--set Misc.SamplingFreq=48000 --set Wave1.Freq=997.3 --set Wave1.Phase=90
    --set Wave2.Waveform=sine --set Wave2.Freq=1501)
tone=("${two[@]}" --set Wave1.OutCh=L --set Wave2.OutCh=R)
stereo=0:0,1:1
play_case s16 16 $stereo "" "${tone[@]}" --set Misc.BitLen=16
play_case s24 17 $stereo "" "${tone[@]}" --set Misc.BitLen=24
play_case s16-in-24 17 $stereo "" "${tone[@]}" --set Misc.BitLen=16
play_case s32 18 $stereo "" "${tone[@]}" --set Misc.BitLen=32
play_case s16-in-32 18 $stereo "" "${tone[@]}" --set Misc.BitLen=16
play_case u8-in-32 18 $stereo "" "${tone[@]}" --set Misc.BitLen=8
play_case f32-in-24 17 $stereo "" "${tone[@]}" --set Misc.BitLen=F32
play_case f32-in-32 18 $stereo "" "${tone[@]}" --set Misc.BitLen=F32
# Four channels from output 6 of eight: only outputs 6 and 7, with the stream's first two.
QV_ASIO_TEST_OUTPUTS=8 play_case offset 18 6:0,7:1 "--asio-channel 6" "${two[@]}" \
    --set Misc.Ch=4ch --set Wave1.OutCh=1ch --set Wave2.OutCh=2ch
# The driver asks for a reset after 40 buffers of 256 frames and then prefers 512.
QV_ASIO_TEST_RESET_AFTER=40 QV_ASIO_TEST_RESET_BUFFER=512 RESTART=10240 \
    play_case reset 16 $stereo "--ms 1200" "${tone[@]}" --set Misc.BitLen=16

# Refusals and errors: exit 1 with the message; nothing further is recorded.
refused_case() { # name, the message, qvrender's arguments...
    local name=$1 message=$2 status=0
    shift 2
    QV_ASIO_TEST_RECORD=$(asio_winpath "$work/$name") timeout 120 "$QV_WINE_RUN" \
        "$QVRENDER_EXE" --play --driver ASIO --device 1 --ms 700 "$@" </dev/null \
        >"$work/$name.out" 2>&1 || status=$?
    local out
    out=$(tr -d '\r' <"$work/$name.out")
    if [ $status -ne 1 ] || [[ "$out" != *"$message"* ]]; then
        echo "FAIL $name: exited with $status, expected \"$message\":"
        sed 's/^/    /' "$work/$name.out"
        fail=1
    else
        echo "$name: ${message//$'\n'/ }"
    fi
}
QV_ASIO_TEST_TYPE=16 refused_case s24-on-16 "Unsupported bit length. [24]" --set Misc.BitLen=24
QV_ASIO_TEST_TYPE=1 refused_case big-endian "Unsupported bit length. [16]"
QV_ASIO_TEST_TYPE=19 refused_case float-type "ASIO Error: Unsupported sample type 19"
QV_ASIO_TEST_INIT_FAIL="No hardware attached" refused_case init \
    "$(printf 'Unable to initialize: QV Test\n\nNo hardware attached')"
refused_case rate "Unsupported sampling freq. [22050]" --set Misc.SamplingFreq=22050
exit $fail

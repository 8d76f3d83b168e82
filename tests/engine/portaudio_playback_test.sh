#!/bin/bash
# qvrender --play through PortAudio's ALSA host API, natively. A private ALSA configuration
# (ALSA_CONFIG_PATH) makes the default device a file device over the null device, writing into a
# named pipe that tests/support/paced_sink.py reads at twice real time, so the device is paced as
# a card would be. PortAudio starts an ALSA stream on a buffer of silence; after it the capture
# must hold exactly the frames the native renderer writes into a WAV's data chunk, and then
# silence only. Skipped when qvrender was built without PortAudio.
set -euo pipefail
: "${QVRENDER:?path of qvrender}" "${QV_SOURCE_DIR:?source tree}"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
support=$QV_SOURCE_DIR/tests/support
export ALSA_CONFIG_PATH=$work/alsa.conf
printf 'pcm.!default { type file; slave.pcm { type null }; file "%s"; format "raw" }\n' \
    "$work/pipe" >"$ALSA_CONFIG_PATH"
status=0
"$QVRENDER" --list-devices >"$work/list.out" 2>&1 || status=$?
[ $status -ne 2 ] || { echo "SKIP: qvrender was built without PortAudio"; exit 77; }
fail=0
sed 's/^/  /' "$work/list.out"
grep -q '^  0  Default output (default)$' "$work/list.out" || { echo "FAIL: no default"; fail=1; }
for name in alsa Alsa JACK pulse PulseAudio oss; do # any letter case; some may have no device
    "$QVRENDER" --list-devices --driver $name &>/dev/null || [ $? -eq 1 ] ||
        { echo "FAIL: --driver $name"; fail=1; }
done

# Plays into NAME.raw and checks the exit status and that nothing was printed. Arguments: name,
# the status expected, bytes per second of the stream, qvrender's arguments. With $interrupt
# set, Ctrl-C comes once that many bytes have been captured.
play() {
    local name=$1 want=$2 rate=$3 status=0
    shift 3
    rm -f "$work/pipe" && mkfifo "$work/pipe"
    timeout 60 python3 "$support/paced_sink.py" "$work/pipe" "$work/$name.raw" $((rate * 2)) &
    local sink=$!
    timeout 60 "$QVRENDER" --play "$@" </dev/null >"$work/$name.out" 2>&1 &
    local player=$!
    if [ -n "${interrupt:-}" ]; then
        for _ in $(seq 400); do
            [ "$(stat -c %s "$work/$name.raw" 2>/dev/null || echo 0)" -lt "$interrupt" ] || break
            sleep 0.05
        done
        kill -INT $player
    fi
    wait $player || status=$?
    [ -s "$work/$name.raw" ] || kill $sink 2>/dev/null || true # the device was never opened
    wait $sink || true
    echo "$name: exit status $status"
    [ $status -eq "$want" ] && { [ "$want" -eq 1 ] || [ ! -s "$work/$name.out" ]; } && return
    sed 's/^/    /' "$work/$name.out"
    fail=1
    return 1
}
compare() { python3 "$support/compare_capture.py" "$@" lead || fail=1; }

sine=(--set Misc.SamplingFreq=48000 --set Misc.Ch=Stereo --set Wave1.Freq=1000)
for row in "s16 4 16" "s24 6 24" "f32 8 F32"; do # name, bytes per frame, Misc.BitLen
    read -r name align bits <<<"$row"
    play $name 0 $((48000 * align)) --ms 400 "${sine[@]}" --set Misc.BitLen=$bits || continue
    "$QVRENDER" "$work/$name.wav" "${sine[@]}" --set Misc.BitLen=$bits --set File.Length=4 >/dev/null
    compare "$work/$name.raw" "$work/$name.wav" 24000 prefix
done

# A 1.3 s sweep ends the playback by itself long before --ms, its last frames played out.
sweep=(--set Misc.SamplingFreq=48000 --set Misc.BitLen=16 --set Wave1.Freq=100
    --set Wave1.Sweep=1 --set Wave2.Freq=4000 --set Wave2.Amp=-20 --set File.Length=1.3)
if SECONDS=0 && play sweep 0 192000 --ms 60000 "${sweep[@]}"; then
    [ $SECONDS -lt 20 ] || { echo "  FAIL: it did not end by itself"; fail=1; }
    "$QVRENDER" "$work/sweep.wav" "${sweep[@]}" >/dev/null
    compare "$work/sweep.raw" "$work/sweep.wav" 0 whole
fi

# A restart mid-play drops what the device holds and starts again from block 0 (997.3 Hz never
# repeats a stretch of samples); Ctrl-C stops as Enter does, cleanly, with status 128 + 2.
tone=(--set Misc.SamplingFreq=48000 --set Misc.BitLen=16 --set Misc.Ch=Stereo
    --set Wave1.Freq=997.3)
"$QVRENDER" "$work/tone.wav" "${tone[@]}" --set File.Length=10 >/dev/null
play restart 0 192000 --ms 800 --restart-after 300 "${tone[@]}" &&
    { python3 "$support/compare_restart.py" "$work/restart.raw" "$work/tone.wav" 4800 lead ||
        fail=1; }
interrupt=100000 play interrupt 130 192000 --ms 60000 "${tone[@]}" &&
    compare "$work/interrupt.raw" "$work/tone.wav" 24000 prefix

# A device that cannot be opened: the engine's message, exit status 1.
play none 1 192000 --device 9 --ms 500 &&
    printf '\n[Quorvale]\nUnable to play.\n\n(PortAudio: no such output device)\n' |
    cmp - "$work/none.out" || fail=1
exit $fail

#!/bin/bash
# Opens the audio device.
# Shows windows.
# QV.exe from the command line: started from another folder with a relative, quoted name that
# holds blanks and "/P500", it opens the set from its own folder, plays it through MME (the
# capture holds exactly what qvrender renders for the set) and stops by itself after 500 ms; a
# second QV.exe hands its file to the running one, which opens it, and ends with 1. Last, a
# picture of the Japanese interface playing a tone burst.
set -uo pipefail
: "${QV_NATIVE_QVRENDER:?path of the native qvrender}"
source "$QV_SOURCE_DIR/tests/support/gui_test_start.sh"
mkdir -p "$work/prog/my sets" "$work/elsewhere"
cp "$QV_EXE" "$QV_KT54DLL" "$work/prog/"
settled_ini "$work/prog"
set_text='[Misc]\r\nSamplingFreq=48000\r\nBitLen=16\r\nCh=Stereo\r\n[Wave1]\r\nWaveform=sine\r\n'
printf "$set_text"'Freq=997.3\r\nOutCh=L+R\r\n' >"$work/prog/my sets/tone.QV"
printf "$set_text"'Freq=440\r\nOutCh=L+R\r\n' >"$work/prog/my sets/other.QV"
fail=0
capture="$work/capture.raw"

(cd "$work/elsewhere" && LC_ALL=C.UTF-8 QV_AUDIO_CAPTURE="$capture" \
    wine "$work/prog/QV.exe" 'my sets\tone.QV' /P500 </dev/null >/dev/null 2>&1) &
pid=$!
w=$(wait_window '^Quorvale')
[ -n "$w" ] || { echo "FAIL no main window"; exit 1; }
# The playback ends by itself: the capture stops growing while the program runs on.
last=-1
for _ in $(seq 80); do
    sleep 0.5
    size=$(stat -c %s "$capture" 2>/dev/null || echo 0)
    [ "$size" -gt 0 ] && [ "$size" = "$last" ] && break
    last=$size
done
[ "$(stat -c %s "$capture" 2>/dev/null || echo 0)" = "$last" ] && [ "$last" -gt 0 ] ||
    { echo "FAIL the /P playback did not end by itself (capture $last bytes)"; fail=1; }
kill -0 "$pid" 2>/dev/null || { echo "FAIL the program ended with the playback"; fail=1; }
"$QV_NATIVE_QVRENDER" "$work/prog/my sets/tone.QV" "$work/tone.wav" --set File.Length=30 >/dev/null
python3 "$QV_SOURCE_DIR/tests/support/compare_capture.py" "$capture" "$work/tone.wav" 24000 prefix ||
    fail=1
[ "$(xdotool getwindowname "$w")" = "Quorvale - tone" ] ||
    { echo "FAIL caption '$(xdotool getwindowname "$w")'"; fail=1; }

# A second start hands its file over and ends with 1, without a window of its own.
(cd "$work/elsewhere" && wine "$work/prog/QV.exe" 'my sets\other.QV' </dev/null >/dev/null 2>&1)
status=$?
[ $status -eq 1 ] || { echo "FAIL the second start ended with $status"; fail=1; }
sleep 1
[ "$(xdotool search --onlyvisible --name '^Quorvale' | wc -l)" = 1 ] ||
    { echo "FAIL a second window"; fail=1; }
[ "$(xdotool getwindowname "$w")" = "Quorvale - other" ] ||
    { echo "FAIL the running instance did not open the handed file"; fail=1; }

wine taskkill /IM QV.exe >/dev/null 2>&1
wait "$pid" 2>/dev/null

# The Japanese interface playing a tone burst, photographed with its trace and meters.
printf "$set_text"'Freq=1000\r\nOutCh=L+R\r\nGateOnPeriod=3\r\nGateOffPeriod=2\r\n' |
    sed 's/^Waveform=sine/Waveform=\xbb\xb2\xdd\x94g/' >"$work/prog/burst.QV"
(cd "$work/prog" && LC_ALL=ja_JP.UTF-8 QV_AUDIO_CAPTURE="$work/burst.raw" \
    wine QV.exe burst.QV /P5000 </dev/null >/dev/null 2>&1) &
pid=$!
w=$(wait_window '^Quorvale - burst')
if [ -n "$w" ]; then
    sleep 2
    eval "$(xdotool getwindowgeometry --shell "$w")"
    mkdir -p "$QV_SOURCE_DIR/build/screenshots"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
        "$QV_SOURCE_DIR/build/screenshots/playing-ja.png"
fi
wine taskkill /IM QV.exe >/dev/null 2>&1
wait "$pid" 2>/dev/null
[ $fail -eq 0 ] && echo "the command line plays a set by itself and a second start hands over"
exit $fail

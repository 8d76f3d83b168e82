#!/bin/bash
# Opens the audio device.
# Shows windows.
# The keyboard and the Write command as a user works them, with real key presses and clicks:
# Space plays and stops (the oscilloscope shows the tone triggered, at its period), but types a
# blank into the comment box; a wheel notch over the frequency glides the tone up a step in the
# transition time set in the up/down settings window, without a phase jump; Ctrl+S saves only
# when idle and Ctrl+Alt+S never; Write through its dialog gives the bytes qvrender writes for the
# same set (WAV, text with Shift held at the click, oversampled with Ctrl held as the dialog
# closes), and Escape ends a long write with a shorter file that is whole.
set -uo pipefail
: "${QV_NATIVE_QVRENDER:?path of the native qvrender}"
source "$QV_SOURCE_DIR/tests/support/gui_test_start.sh"
command -v sox >/dev/null || exit 77
mkdir -p "$work/prog"
cp "$QV_EXE" "$QV_KT54DLL" "$work/prog/"
# The filter (on for the oversampled write) keeps its editor beside the main window, off the
# controls the script clicks.
settled_ini "$work/prog" '[Special]\r\nEnglishMode=1\r\n[FilterConfigWindow]\r\nPosX=700\r\nPosY=0\r\n'
printf '[File]\r\nLength=1\r\n[Misc]\r\nSamplingFreq=48000\r\nBitLen=16\r\nCh=Stereo\r\n'`
      `'[Wave1]\r\nWaveform=sine\r\nFreq=997.3\r\nOutCh=L+R\r\n'`
      `'[Filter]\r\nFilterOn=On\r\nOverSampleRate=2\r\n' >"$work/prog/tone.QV"
capture="$work/capture.raw"
winwork="Z:${work//\//\\}"
fail=0

(cd "$work/prog" && LC_ALL=C.UTF-8 QV_AUDIO_CAPTURE="$capture" wine QV.exe tone.QV \
    </dev/null >/dev/null 2>&1) &
w=$(wait_window '^Quorvale - tone')
[ -n "$w" ] || { echo "FAIL no main window"; exit 1; }

press() { xdotool windowfocus --sync "$w" && xdotool key "$@"; }
click() { xdotool windowfocus --sync "$w" && xdotool mousemove --window "$w" "$1" "$2" click 1; }
# save_dialog TITLE NAME: answers the dialog with a file of the work folder ("" if none came).
save_dialog() {
    local d
    d=$(wait_window "^$1")
    [ -n "$d" ] || { echo "FAIL no dialog '$1'"; fail=1; return 1; }
    xdotool windowfocus --sync "$d" && xdotool type "$winwork\\$2" && xdotool key Return
}
# no_dialog TITLE: no such window within a second.
no_dialog() {
    sleep 1
    if xdotool search --onlyvisible --name "^$1" >/dev/null 2>&1; then
        echo "FAIL '$1' came"
        fail=1
        xdotool key Escape
    fi
}
# grows FILE BYTES: waits until the file holds more than BYTES.
grows() {
    local _
    for _ in $(seq 100); do
        [ "$(stat -c %s "$work/$1" 2>/dev/null || echo 0)" -gt "$2" ] && return 0
        sleep 0.1
    done
}
# written FILE: the write has ended (the file stops growing).
written() {
    local last=-1 size _
    for _ in $(seq 120); do
        size=$(stat -c %s "$work/$1" 2>/dev/null || echo -1)
        [ "$size" -gt 0 ] && [ "$size" = "$last" ] && return 0
        last=$size
        sleep 0.5
    done
    echo "FAIL $1 was not written"
    fail=1
    return 1
}

sleep 1
# The frequency up/down's settings window (right button on it): a transition time of 0.5 s.
# Set while idle: under Xvfb without a window manager, Wine's hiding of a window blocks the
# program's thread for 2 s, which would starve the playback that waits for its display step.
xdotool mousemove --window "$w" 192 96 click 3
d=$(wait_window '^F/P Up/Down')
[ -n "$d" ] || { echo "FAIL no up/down settings window"; fail=1; }
xdotool windowfocus --sync "$d" && xdotool mousemove --window "$d" 40 97 click 1 &&
    xdotool key End shift+Home && xdotool type 0.5
xdotool mousemove --window "$d" 166 152 click 1
wait_destroyed "$d"
press space
playing || { echo "FAIL Space did not play"; fail=1; }
mkdir -p "$QV_SOURCE_DIR/build/screenshots" # the window while it plays
eval "$(xdotool getwindowgeometry --shell "$w")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$QV_SOURCE_DIR/build/screenshots/playing-en.png"
# Its oscilloscope: the plot (509 x 156 at 40, 268) shows 1024 of 4096 frames, a period of the
# 997.3 Hz tone is 48000 / 997.3 samples.
python3 "$QV_SOURCE_DIR/tests/support/trace_check.py" "$QV_SOURCE_DIR/build/screenshots/playing-en.png" \
    40 268 509 156 "$(python3 -c 'print(48000 / 997.3 * 508 / 1023)')" || fail=1
press ctrl+s
no_dialog 'Save parameters'
# A wheel notch over Wave1's frequency glides it up by a step (10 Hz in 0.5 s).
xdotool mousemove --window "$w" 130 100 click 4
sleep 1.5
press space
sleep 0.5
playing && { echo "FAIL Space did not stop"; fail=1; }
python3 "$QV_SOURCE_DIR/tests/support/glide_check.py" "$capture" 48000 997.3 1007.3 0.5 10362 ||
    fail=1
press ctrl+alt+s
no_dialog 'Save parameters'

# Play and Stop clicked with the mouse leave the keys working: the focus moves off the button
# that goes grey to the one that acts now, so Space stops and plays again.
click 110 14 && sleep 1
playing || { echo "FAIL a click on Play did not play"; fail=1; }
xdotool key space && sleep 0.5
playing && { echo "FAIL Space after a click on Play did not stop"; fail=1; }
click 110 14 && sleep 1 && click 152 14 && sleep 0.5
xdotool key space && sleep 1
playing || { echo "FAIL Space after a click on Stop did not play"; fail=1; }
xdotool key space && sleep 0.5

# The comment box takes Space as a blank; the save shows it.
click 300 38
xdotool type 'a b'
playing && { echo "FAIL Space in the comment box played"; fail=1; }
press ctrl+s
save_dialog 'Save parameters' saved.QV && written saved.QV &&
    { grep -q '^Comment=a b' "$work/saved.QV" || { echo "FAIL comment not saved as typed"; fail=1; }; }

# Write: WAV (Ctrl+W), text (Shift held at the click), oversampled (Ctrl held as it starts).
# The references come from the set as the window saved it (after the glide).
"$QV_NATIVE_QVRENDER" "$work/saved.QV" "$work/ref.wav" >/dev/null
"$QV_NATIVE_QVRENDER" "$work/saved.QV" "$work/ref.QVT" >/dev/null
"$QV_NATIVE_QVRENDER" "$work/saved.QV" "$work/ref2x.wav" --oversampled >/dev/null
press ctrl+w
save_dialog 'Write to Wave file' gui.wav && written gui.wav
xdotool windowfocus --sync "$w" && xdotool keydown shift && click 200 14 && xdotool keyup shift
save_dialog 'Write to Text format file' gui.QVT && written gui.QVT
press ctrl+w
d=$(wait_window '^Write to Wave file')
xdotool windowfocus --sync "$d" && xdotool type "$winwork\\gui2x.wav" && xdotool keydown ctrl key Return
grows gui2x.wav 0
xdotool keyup ctrl
written gui2x.wav
for f in gui.wav:ref.wav gui.QVT:ref.QVT gui2x.wav:ref2x.wav; do
    cmp -s "$work/${f%%:*}" "$work/${f##*:}" || { echo "FAIL ${f%%:*} differs from qvrender's"; fail=1; }
done

# Escape during a long write: the file ends at a whole block, its header says so.
click 370 14
xdotool key ctrl+a && xdotool type 3000
press ctrl+w
save_dialog 'Write to Wave file' long.wav
grows long.wav 1000000
xdotool keydown Escape && sleep 0.3 && xdotool keyup Escape
for _ in $(seq 40); do # the write's "stopped" notice
    box=$(xdotool search --onlyvisible --name '^Quorvale' | grep -vx "$w" | head -n 1)
    [ -n "$box" ] && break
    sleep 0.25
done
[ -n "$box" ] && answer "$box"
size=$(stat -c %s "$work/long.wav" 2>/dev/null || echo 0)
frames=$(soxi -s "$work/long.wav" 2>/dev/null || echo 0)
[ "$frames" -gt 48000 ] && [ "$frames" -lt $((3000 * 48000)) ] && [ $((frames * 4 + 44)) = "$size" ] ||
    { echo "FAIL Escape: $frames frames in $size bytes"; fail=1; }
cmp -s -n 192000 <(tail -c +45 "$work/long.wav") <(tail -c +45 "$work/gui.wav") ||
    { echo "FAIL the cut write does not begin as the whole one"; fail=1; }

[ $fail -eq 0 ] && echo "Space, Ctrl shortcuts, the comment box and Write with its keys work as a user works them"
exit $fail

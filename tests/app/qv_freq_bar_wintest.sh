#!/bin/bash
# Opens the audio device.
# Shows windows.
# The frequency bar as a user works it during playback, with real clicks and drags: the Bar
# button opens it; its sync box opens the Wave5 sync window and Wave5 then follows Wave1 at the
# set ratio; a drag of the slider glides both tones in the transition time without a phase jump
# in the captured output; a sweep up at the top speed ends the playback by itself at half the
# sample rate and its button comes up again (the saved set shows Wave1 at 22050 Hz). Pictures of
# the bar mid-sweep in both languages go to build/screenshots/.
set -uo pipefail
source "$QV_SOURCE_DIR/tests/support/gui_test_start.sh"
command -v import >/dev/null || exit 77
shots="$QV_SOURCE_DIR/build/screenshots"
mkdir -p "$shots" "$work/prog"
cp "$QV_EXE" "$QV_KT54DLL" "$work/prog/"
capture="$work/capture.raw"
fail=0

# In the bar's client area (96 DPI): the sync box, the sweep-up button, the speed slider's right
# end, and the slider's thumb at 1 kHz (the scale's "1k"); x 400 is about 2.3 kHz, 520 15 kHz.
sync_box="382 12" sweep_up="212 12" speed_end="352 12" thumb_y=54 thumb_1k=340

start() { # language
    local before english=0
    [ "$1" = en ] && english=1
    settled_ini "$work/prog" "[Special]\r\nEnglishMode=$english\r\n"
    printf '[File]\r\nLength=60\r\n[Misc]\r\nSamplingFreq=44100\r\nBitLen=16\r\nCh=Stereo\r\n'`
          `'FreqUpDownTransition=0.5\r\nWave5SyncType=ratio\r\nWave5SyncRatio=2\r\n'`
          `'[Wave1]\r\nWaveform=%s\r\nFreq=1000\r\nAmp=-6\r\nOutCh=L\r\n'`
          `'[Wave5]\r\nWaveform=%s\r\nFreq=1500\r\nAmp=-6\r\nOutCh=R\r\n' \
        "$2" "$2" >"$work/prog/tone.QV"
    rm -f "$capture"
    (cd "$work/prog" && LC_ALL=$([ "$1" = en ] && echo C.UTF-8 || echo ja_JP.UTF-8) \
        QV_AUDIO_CAPTURE="$capture" wine QV.exe tone.QV </dev/null >/dev/null 2>&1) &
    pid=$!
    w=$(wait_window '^Quorvale - tone')
    [ -n "$w" ] || { echo "FAIL $1: no main window"; exit 1; }
    sleep 1
    before=$(xdotool search --onlyvisible --name . 2>/dev/null)
    main_click 463 100 # Bar
    b=$(wait_new_window "$before")
    [ -n "$b" ] || { echo "FAIL $1: the Bar button opened no bar"; exit 1; }
    sleep 0.5
}
drag() { # the slider's thumb from x0 to x1
    xdotool mousemove --window "$b" "$1" $thumb_y mousedown 1 mousemove --window "$b" "$2" $thumb_y \
        mouseup 1
}
main_click() { xdotool mousemove --window "$w" "$1" "$2" click 1; sleep 0.3; }
bar_click() { xdotool mousemove --window "$b" "$1" "$2" click 1; sleep 0.3; }
# sweep_to_the_top LANGUAGE: the top speed, a sweep up photographed on its way.
sweep_to_the_top() {
    for _ in 1 2 3 4; do bar_click $speed_end; done
    bar_click $sweep_up
    xdotool mousemove 1000 900 # no hint over the picture
    sleep 1
    photograph "$b" "freqbar-$1"
    up_pressed || { echo "FAIL $1: the sweep button did not go down"; fail=1; }
}
# up_pressed: the sweep-up button shows pressed (its face turns blue).
up_pressed() {
    import -window "$b" -crop 14x6+205+9 +repage "$work/button.png"
    [ "$(convert "$work/button.png" -format '%[fx:mean.b - mean.r > 0.2]' info:)" = 1 ]
}
stop_program() {
    wine taskkill /IM QV.exe >/dev/null 2>&1
    wait_end "$pid" || { echo "FAIL the program did not end"; fail=1; }
}

start en sine
# The sync window, closed as it came: Wave5 at twice Wave1 from now on.
before=$(xdotool search --onlyvisible --name . 2>/dev/null)
bar_click $sync_box
s=$(wait_new_window "$before")
[ -n "$s" ] || { echo "FAIL the sync box opened no sync window"; fail=1; }
xdotool key --window "$s" Return
wait_destroyed "$s"
main_click 111 13 # Play
sleep 1
drag $thumb_1k 400
sleep 1.5
main_click 153 13 # Stop
sleep 0.5
glide=$(python3 "$QV_SOURCE_DIR/tests/support/glide_check.py" "$capture" 44100 1000 '?' 0.5 16422) ||
    { echo "$glide"; fail=1; }
end=$(sed -nE 's/.*-> ([0-9.]+) Hz.*/\1/p' <<<"$glide")
[ -n "$end" ] && python3 "$QV_SOURCE_DIR/tests/support/glide_check.py" "$capture" 44100 2000 \
    "$(python3 -c "print(2 * $end)")" 0.5 16422 1 ||
    { echo "FAIL Wave5 did not glide to twice Wave1's $end Hz"; fail=1; }

drag 400 520 # near the top
main_click 111 13 # Play
sweep_to_the_top en
for _ in $(seq 60); do playing || break; done
playing && { echo "FAIL the sweep did not stop the playback"; fail=1; }
up_pressed && { echo "FAIL the sweep button stayed down"; fail=1; }
stop_program
grep -q $'^Freq=22050\r$' <(sed -n '/^\[Wave1\]/,/^\[Wave2\]/p' "$work/prog/QV.INI") ||
    { echo "FAIL Wave1 did not end at 22050 Hz"; fail=1; }

start ja $'\xbb\xb2\xdd\x94g'
main_click 111 13
sweep_to_the_top ja
stop_program

[ $fail -eq 0 ] && echo "$glide; the sweep stopped at 22050 Hz"
exit $fail

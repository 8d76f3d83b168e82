#!/bin/bash
# Opens the audio device.
# Shows windows.
# A user wave as a user meets it: the last run's set plays a 16-bit stereo wave made by sox on
# Wave5, so the start registers it again in the user-wave window (photographed in both
# languages); Esc closes the window, Space plays the wave, and the captured MME output holds
# exactly what qvrender renders for the same set.
set -uo pipefail
: "${QV_NATIVE_QVRENDER:?path of the native qvrender}"
source "$QV_SOURCE_DIR/tests/support/gui_test_start.sh"
command -v sox >/dev/null || exit 77
command -v import >/dev/null || exit 77
shots="$QV_SOURCE_DIR/build/screenshots"
mkdir -p "$shots" "$work/prog"
cp "$QV_EXE" "$QV_KT54DLL" "$work/prog/"
sox -n -r 44100 -b 16 -c 2 "$work/prog/stereo.wav" synth 1 sine 2 triangle 3 gain -3
capture="$work/capture.raw"
fail=0

# set_text WAVEFORM: the set, with the wave beside the program (the path is relative to it).
set_text() {
    printf '[Misc]\r\nSamplingFreq=44100\r\nBitLen=16\r\nCh=Stereo\r\n[Wave1]\r\nWaveform=OFF\r\n'`
          `'[Wave5]\r\nWaveform=%s\r\nAmp=-6\r\nOutCh=L+R\r\nUserWave=stereo.wav\r\n'`
          `'UserWaveChSel=ALL\r\nUserWaveModSig=uR\r\n' "$1"
}
start() { # language, waveform item: the main window, then the user-wave window it registers in
    local lang=$1 english=0
    [ "$lang" = en ] && english=1
    settled_ini "$work/prog" "[Special]\r\nEnglishMode=$english\r\n$(set_text "$2")"
    (cd "$work/prog" && LC_ALL=$([ "$lang" = en ] && echo C.UTF-8 || echo ja_JP.UTF-8) \
        QV_AUDIO_CAPTURE="$capture" wine QV.exe </dev/null >/dev/null 2>&1) &
    pid=$!
    w=$(wait_window '^Quorvale  Ver')
    [ -n "$w" ] || { echo "FAIL $lang: no main window"; exit 1; }
    d=$(wait_new_window "$w")
    [ -n "$d" ] || { echo "FAIL $lang: no user-wave window at the start"; exit 1; }
    sleep 1
    photograph "$d" "userwave-$lang"
    xdotool windowfocus --sync "$d" && xdotool key Escape
    wait_destroyed "$d"
}
stop_program() {
    wine taskkill /IM QV.exe >/dev/null 2>&1
    wait_end "$pid" || { echo "FAIL the program did not end"; fail=1; }
}

start en 'user wave'
for _ in play stop; do xdotool windowfocus --sync "$w" && xdotool key space && sleep 1.5; done
set_text 'user wave' >"$work/prog/set.QV"
(cd "$work/prog" && "$QV_NATIVE_QVRENDER" set.QV "$work/ref.wav" --set File.Length=30 >/dev/null)
python3 "$QV_SOURCE_DIR/tests/support/compare_capture.py" "$capture" "$work/ref.wav" 44100 prefix ||
    fail=1
stop_program

start ja $'\xd5\xb0\xbb\xde\xb0\x94g\x8c`'
stop_program

[ $fail -eq 0 ] && echo "the registered wave plays as qvrender renders it"
exit $fail

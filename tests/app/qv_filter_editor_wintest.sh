#!/bin/bash
# Opens the audio device.
# Shows windows.
# The filter editor as a user works it, with real clicks, drags, menus and file dialogs: the
# Filter box opens it; two clicks and a drag draw a low-pass, which is heard: the captured 5 kHz
# tone lies within 0.5 dB of the response computed from the saved file, and dragging a point
# while it plays changes the level without a gap. Saved, reset and reopened: the same file. With
# 100 points a click only warns; the first point moves only in gain; "To next point" at
# -20 dB/decade sets the next point; the point window holds a typed frequency between the
# neighbours; a file drawn at another rate asks, and No moves its points by the ratio. Pictures of
# the editor and the point window in both languages go to build/screenshots/.
set -uo pipefail
: "${QV_NATIVE_QVRENDER:?path of the native qvrender}"
source "$QV_SOURCE_DIR/tests/support/gui_test_start.sh"
command -v import >/dev/null || exit 77
shots="$QV_SOURCE_DIR/build/screenshots"
mkdir -p "$shots" "$work/prog"
cp "$QV_EXE" "$QV_KT54DLL" "$work/prog/"
winwork="Z:${work//\//\\}"
capture="$work/capture.raw"
fail=0

# The plot lies at (45, 83) of the editor's client area, 459 x 254 pixels at its smallest, from
# +20 dB at the top to -100 dB at the bottom, log frequency from half a bin to half the rate.
px() { # frequency rate N -> x in the editor
    python3 -c "import math,sys; f,r,n=map(float,sys.argv[1:]); lo=math.log10(r/n/2); hi=math.log10(r/2)
print(45 + (1 if f == 0 else int((math.log10(f)-lo)*458/(hi-lo)+0.5)))" "$@"
}
py() { echo $((83 + (($1 * -1 + 20) * 253 + 60) / 120)); } # dB (a multiple of 20 / 253) -> y

click() { xdotool mousemove --window "$e" "$1" "$2" click "${3:-1}"; sleep 0.3; }
drag() { # x0 y0 x1 y1
    xdotool mousemove --window "$e" "$1" "$2" mousedown 1 mousemove --window "$e" $(((${1} + ${3}) / 2)) $(((${2} + ${4}) / 2)) \
        mousemove --window "$e" "$3" "$4" mouseup 1
    sleep 0.3
}
file_dialog() { # button x, title, file
    local d
    click "$1" 32
    d=$(wait_window "^$2")
    [ -n "$d" ] || { echo "FAIL no dialog '$2'"; fail=1; return 1; }
    xdotool windowfocus --sync "$d" && xdotool type "$winwork\\$3" && xdotool key Return
    wait_destroyed "$d"
}
save() { rm -f "$work/$1"; file_dialog 86 'Save filter parameters' "$1"; sleep 0.5; }
open() { file_dialog 34 'Open filter parameters' "$1"; sleep 0.5; }
# point FILE N: "bin gain" of point N (from 1) of a saved file
point() { tr -d '\r' <"$work/$1" | awk -F, -v n="$2" '$1 + 0 == n && /^ / {print $2 + 0, $4 + 0}'; }
expect() { # what, got, wanted
    [ "$2" = "$3" ] || { echo "FAIL $1: got '$2', expected '$3'"; fail=1; }
}
qvf() { # file rate N points... ("bin gain" pairs)
    local f=$1 rate=$2 n=$3 i=1
    shift 3
    {
        printf '"Quorvale Filter Parameter",1.00\r\n"Comment",""\r\n"OverSampleRate",1\r\n"Size1",%d\r\n' "$n"
        printf '"AmpScale_dB_Max",20\r\n"AmpScale_dB_Min",-100\r\n"KaiserAlpha",6\r\n'
        printf '"Sampling Frequency",%d\r\n"Points",%d\r\n; No.| Indx | Frequency | Amp.dB\r\n' "$rate" $(($# / 2))
        while [ $# -gt 0 ]; do printf '%5d,%6d,%11s,%12s\r\n' $i "$1" 0 "$2"; i=$((i + 1)); shift 2; done
    } >"$work/$f"
}
start() { # language
    local lang=$1 before
    settled_ini "$work/prog" "[Special]\r\nEnglishMode=$([ "$lang" = en ] && echo 1 || echo 0)\r\n"
    printf '[File]\r\nLength=60\r\n[Misc]\r\nSamplingFreq=48000\r\nBitLen=16\r\nCh=Stereo\r\n'`
          `'[Wave1]\r\nWaveform=%s\r\nFreq=5000\r\nAmp=-6\r\nOutCh=L+R\r\n'`
          `'[Filter]\r\nFilterOn=Off\r\nSize1=1024\r\nOverSampleRate=1\r\n' \
        "$([ "$lang" = en ] && echo sine || printf '\xbb\xb2\xdd\x94g')" >"$work/prog/tone.QV"
    (cd "$work/prog" && LC_ALL=$([ "$lang" = en ] && echo C.UTF-8 || echo ja_JP.UTF-8) \
        QV_AUDIO_CAPTURE="$capture" wine QV.exe tone.QV </dev/null >/dev/null 2>&1) &
    pid=$!
    w=$(wait_window '^Quorvale - tone')
    [ -n "$w" ] || { echo "FAIL $lang: no main window"; exit 1; }
    sleep 1
    before=$(xdotool search --onlyvisible --name . 2>/dev/null)
    xdotool windowfocus --sync "$w" && xdotool mousemove --window "$w" 295 14 click 1
    e=$(wait_new_window "$before")
    [ -n "$e" ] || { echo "FAIL $lang: the Filter box opened no editor"; exit 1; }
    sleep 0.5
}
# Two clicks and a drag: 0 dB at 1 kHz, -20 dB at 2 kHz, the last point down to -20 dB.
draw() {
    click "$(px 1000 48000 1024)" "$(py 0)"
    click "$(px 2000 48000 1024)" "$(py -20)"
    drag 503 "$(py 0)" 503 "$(py -20)"
}
point_window() { # x y picture: opens the point window from the point menu, photographs it
    local before d
    before=$(xdotool search --onlyvisible --name . 2>/dev/null)
    click "$1" "$2" 3
    xdotool key Down Return
    d=$(wait_new_window "$before")
    [ -n "$d" ] || { echo "FAIL no point window"; fail=1; return 1; }
    sleep 0.5
    photograph "$d" "$3"
    pw=$d
}
stop_program() {
    wine taskkill /IM QV.exe >/dev/null 2>&1
    wait_end "$pid" || { echo "FAIL the program did not end"; fail=1; kill "$pid"; }
    wait "$pid" 2>/dev/null
}

start en
draw
photograph "$e" filter-en
save low.QVF
expect "the drawn points" "$(point low.QVF 1) | $(point low.QVF 4)" "0 0 | 512 -19.9052"

# Heard: the tone through the drawn filter, then the last point dragged further down as it plays.
# The mouse stays over the plot: its read-out must not hide while the tone plays (without a
# window manager, hiding a window holds the program for 2 s and starves the playback).
xdotool mousemove --window "$w" 111 13 click 1 # Play
xdotool mousemove --window "$e" 300 200
sleep 2
drag 503 "$(py -20)" 503 "$(py -40)"
sleep 2
xdotool mousemove --window "$w" 153 13 click 1 # Stop
sleep 0.5
save low2.QVF
"$QV_NATIVE_QVRENDER" "$work/prog/tone.QV" "$work/ref.wav" --set File.Length=0.5 >/dev/null
python3 "$QV_SOURCE_DIR/tests/support/filter_capture_check.py" "$capture" "$work/ref.wav" \
    "$work/low.QVF" "$work/low2.QVF" 48000 5000 || fail=1

# Reset, then reopen: the same file again.
click 441 16
open low2.QVF
save low3.QVF
cmp -s "$work/low2.QVF" "$work/low3.QVF" || { echo "FAIL the reopened design differs"; fail=1; }

# 100 points: a click on free space only warns.
args=()
for i in $(seq 0 98); do args+=($((i * 5)) -1); done
qvf hundred.QVF 48000 1024 "${args[@]}" 512 0
open hundred.QVF
click "$(px 8000 48000 1024)" "$(py -60)"
box=$(wait_window '^Quorvale$')
[ -n "$box" ] && answer "$box" || { echo "FAIL no warning at the 101st point"; fail=1; }
save h2.QVF
expect "points after the warning" "$(tr -d '\r' <"$work/h2.QVF" | grep '^"Points"')" '"Points",100'

# "To next point" at -20 dB/decade from bin 100 to bin 1000; the first point moves only in gain.
qvf slope.QVF 48000 4096 0 0 100 0 1000 -5 2048 0
open slope.QVF
click "$(px 1171.875 48000 4096)" "$(py 0)" 3
xdotool key Down Down Down Right Down Down Down Down Down Down Down Down Return
sleep 0.3
drag 46 "$(py 0)" 150 "$(py -20)"
# The point window: a frequency past the next point, Enter at once: one bin before it.
point_window "$(px 1171.875 48000 4096)" "$(py 0)" filter-point-en
xdotool mousemove --window "$pw" 100 28 click 1 key End shift+Home && xdotool type 30000 &&
    xdotool key Return
wait_destroyed "$pw"
save slope2.QVF
expect "the first point, the typed frequency, the slope" \
    "$(point slope2.QVF 1) | $(point slope2.QVF 2) | $(point slope2.QVF 3)" \
    "0 -19.9052 | 999 0 | 1000 -20"

# A file drawn at 44100 Hz asks; No keeps the bins, so the points move by the ratio of the rates
# (Yes and Cancel are the same question's other ways, through the same read).
qvf q44.QVF 44100 1024 0 0 23 -10 512 -20
open q44.QVF
box=$(wait_window '^Quorvale$')
[ -n "$box" ] || { echo "FAIL no question for another rate"; fail=1; }
[ -n "$box" ] && xdotool key --window "$box" n && wait_destroyed "$box"
save q48.QVF
expect "the answer No" "$(tr -d '\r' <"$work/q48.QVF" | grep -E '^"Sampling|^    2,')" \
    "$(printf '"Sampling Frequency",48000\n    2,    23,   1078.125,         -10')"
stop_program

start ja
draw
photograph "$e" filter-ja
point_window "$(px 2000 48000 1024)" "$(py -20)" filter-point-ja
xdotool key --window "$pw" Escape
wait_destroyed "$pw"
stop_program

[ $fail -eq 0 ] && echo "the filter editor draws, plays, saves, reopens and asks as a user works it"
exit $fail

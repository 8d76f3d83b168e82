#!/bin/bash
# The release package's files (tools/release --stage): the three binaries, stripped, import only
# DLLs Windows has (the stager refuses others), README.txt carries the version, the help has
# every page of docs/help. In a Wine prefix made afresh that holds nothing but these files, on a
# display of its own: qvrender.exe renders what the native renderer renders; QV.exe's first
# start (given a set) shows its notice and opens the help, F1 opens it again, Space plays through
# MME and Write writes the WAV the native renderer writes for the same set.
set -euo pipefail
: "${QV_BUILD_DIR:?the Windows build folder}" "${QV_NATIVE_QVRENDER:?the native qvrender}"
work=$(mktemp -d)
clean="$work/clean"
trap 'QV_BUILD_DIR=$clean "$QV_SOURCE_DIR/tools/wine-stop" >/dev/null 2>&1; rm -rf "$work"' EXIT
pkg="$work/pkg"
"$QV_SOURCE_DIR/tools/release" --stage "$pkg" "$QV_BUILD_DIR"
[ "$(ls "$pkg")" = "$(printf '%s\n' KT54DLL.DLL QV.chm QV.exe README.txt qvrender.exe)" ] ||
    { echo "FAIL the package holds: $(ls "$pkg" | tr '\n' ' ')"; exit 1; }
grep -q "^Quorvale [0-9.]* - " "$pkg/README.txt" || { echo "FAIL README.txt has no version"; exit 1; }
# The help holds every page of its sources.
pages=$(chmls list "$pkg/QV.chm" 2>/dev/null | grep -c '/\(en\|ja\)/[a-z_]*\.htm$')
sources=$(ls "$QV_SOURCE_DIR"/docs/help/*/*.htm | wc -l)
[ "$pages" -eq "$sources" ] || { echo "FAIL QV.chm holds $pages of the $sources pages"; exit 1; }
set=(--set File.Length=0.5 --set Misc.SamplingFreq=48000 --set Misc.BitLen=24)
QV_BUILD_DIR=$clean "$QV_SOURCE_DIR/tools/wine-run" "$pkg/qvrender.exe" "Z:$work/a.wav" \
    "${set[@]}" </dev/null >/dev/null
"$QV_NATIVE_QVRENDER" "$work/b.wav" "${set[@]}" >/dev/null
cmp "$work/a.wav" "$work/b.wav" || { echo "FAIL the packaged renderer differs"; exit 1; }

set +e
export QV_BUILD_DIR=$clean QV_NEED_X=1
source "$QV_SOURCE_DIR/tools/wine-env"
source "$QV_SOURCE_DIR/tests/support/gui_checks.sh"
command -v xdotool >/dev/null || exit 77
capture="$work/capture.raw"
printf '[File]\r\nLength=0.5\r\n[Wave1]\r\nWaveform=sine\r\nFreq=997\r\n' >"$work/tone.QV"
(cd "$pkg" && LC_ALL=C.UTF-8 QV_AUDIO_CAPTURE="$capture" wine QV.exe "Z:${work//\//\\}\\tone.QV" \
    </dev/null >/dev/null 2>&1) &
fail=0
w=$(wait_window '^Quorvale - tone')
[ -n "$w" ] || { echo "FAIL QV.exe shows no window"; exit 1; }
notice=$(wait_window '^Quorvale$')
[ -n "$notice" ] && answer "$notice" || { echo "FAIL no first-start notice"; fail=1; }
for when in "after the notice" "on F1"; do
    help=$(wait_window '^Quorvale Help$')
    [ -n "$help" ] || { echo "FAIL no help $when"; fail=1; }
    [ -n "$help" ] && xdotool key --window "$help" alt+F4 && wait_destroyed "$help"
    [ "$when" = "on F1" ] || xdotool key --window "$w" F1
done
xdotool windowfocus --sync "$w" 2>/dev/null && xdotool key space
playing || { echo "FAIL Space did not play"; fail=1; }
xdotool key space
sleep 0.5
playing && { echo "FAIL Space did not stop"; fail=1; }
xdotool windowfocus --sync "$w" 2>/dev/null && xdotool key ctrl+w
d=$(wait_window '^Write to Wave file')
[ -n "$d" ] && xdotool windowfocus --sync "$d" 2>/dev/null && xdotool type "Z:${work//\//\\}\\gui.wav" &&
    xdotool key Return || { echo "FAIL no Write dialog"; fail=1; }
for _ in $(seq 60); do
    [ -s "$work/gui.wav" ] && [ "$(stat -c %s "$work/gui.wav")" = "${last:-}" ] && break
    last=$(stat -c %s "$work/gui.wav" 2>/dev/null || echo)
    sleep 0.5
done
"$QV_NATIVE_QVRENDER" "$work/tone.QV" "$work/ref.wav" >/dev/null
cmp "$work/gui.wav" "$work/ref.wav" || { echo "FAIL the written WAV differs"; fail=1; }
[ $fail -eq 0 ] && echo "the package runs in a fresh prefix: $(du -k "$pkg" | cut -f1) kB unpacked"
exit $fail

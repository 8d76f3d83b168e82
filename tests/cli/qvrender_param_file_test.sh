#!/bin/bash
# qvrender with a parameter file: the file's set (its language's item texts, its length, its
# filter), --set on top of it, the open checks, and the oversampled write.
set -uo pipefail
source "$(dirname "$0")/script_checks.sh"

# A hand-written file under the Japanese interface: Shift-JIS item texts, LF-only lines,
# keys in any case, a comment line.
printf '[file]\nlength=0.25\n; a comment\n[Misc]\nSamplingFreq=48000\nBitLen=16\nCh=Mono\n[Wave1]\nWaveform=\x8B\xE9\x8C`\x94g\nFreq=1000\nAmp=0x1000\nAmpUnit=value\n' \
    >"$work/square.QV"
"$QVRENDER" "$work/square.QV" "$work/ja.wav" --lang ja || fail=1
check "file length" "$(sox --i -s "$work/ja.wav")" 12000
check "square under ja" "$(sox "$work/ja.wav" -t dat - | awk '!/^;/ { print $2 }' | sort -u | tr '\n' ' ')" \
    "-0.125 0.125 "
# The same file under the English interface selects OFF: silence, with a warning.
"$QVRENDER" "$work/square.QV" "$work/en.wav" 2>"$work/err" || fail=1
grep -qF "square.QV: Wave1.Waveform=\"$(printf '\x8B\xE9\x8C`\x94g')\" matches no item" "$work/err" ||
    { echo "FAIL no warning: $(cat "$work/err")"; fail=1; }
check "square under en" "$(sox "$work/en.wav" -t dat - | awk '!/^;/ { print $2 }' | sort -u | tr '\n' ' ')" "0 "
# --set applies on top of the file.
"$QVRENDER" "$work/square.QV" "$work/set.wav" --lang ja --set File.Length=0.1 --set Misc.Ch=Stereo || fail=1
check "set over file" "$(sox --i -s "$work/set.wav")/$(sox --i -c "$work/set.wav")" 4800/2

# The open checks, with the program's messages and exit status 1.
"$QVRENDER" "$work/square.txt" "$work/x.wav" >"$work/out" 2>&1
check "extension status" $? 1
grep -qF "File Extent is not 'QV'." "$work/out" || { echo "FAIL extension message"; fail=1; }
"$QVRENDER" "$work/none.qv" "$work/x.wav" >"$work/out" 2>&1
check "missing status" $? 1
grep -qF "Unable to open file." "$work/out" || { echo "FAIL missing message"; fail=1; }
[ ! -e "$work/x.wav" ] || { echo "FAIL a file was written"; fail=1; }

# The filter of the file: 4x oversampling keeps a 30 kHz tone from folding to 18 kHz at
# 48 kHz; with --oversampled the file keeps 192 kHz and four times the frames.
printf '[File]\r\nLength=0.5\r\n[Misc]\r\nSamplingFreq=48000\r\nBitLen=24\r\nCh=Mono\r\n[Wave1]\r\nWaveform=sine\r\nFreq=30000\r\nAmp=-6\r\n[Filter]\r\nFilterOn=On\r\nOverSampleRate=4\r\nSize1=4096\r\nPoints=2\r\nP1=   0,0\r\nP2=2048,0\r\n' \
    >"$work/filter.QV"
"$QVRENDER" "$work/filter.QV" "$work/filtered.wav" || fail=1
"$QVRENDER" "$work/filter.QV" "$work/plain.wav" --set Filter.FilterOn=Off || fail=1
"$QVRENDER" "$work/filter.QV" "$work/over.wav" --oversampled || fail=1
rms() { sox "$1" -n trim 0.1 stat 2>&1 | awk '/RMS +amplitude/ { print $3 }'; }
check "aliased tone" "$(awk -v r="$(rms "$work/plain.wav")" 'BEGIN { print (r > 0.3) }')" 1
check "filtered alias" "$(awk -v r="$(rms "$work/filtered.wav")" 'BEGIN { print (r < 0.0001) }')" 1
check "oversampled rate" "$(sox --i -r "$work/over.wav")/$(sox --i -s "$work/over.wav")" 192000/96000

[ $fail -eq 0 ] && echo "parameter files render as the program opens them"
exit $fail

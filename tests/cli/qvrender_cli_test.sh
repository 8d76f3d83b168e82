#!/bin/bash
# qvrender as a user runs it: defaults, arguments, and every failure with its message and exit
# status, never a half-written file or a header that disagrees with its data.
set -uo pipefail
: "${QVRENDER:?path of qvrender}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
expect() {  # description, expected status, expected text in stderr, command...
    local what=$1 status=$2 text=$3
    shift 3
    "$@" >"$work/stdout" 2>"$work/stderr"
    local got=$?
    if [ "$got" != "$status" ]; then
        echo "FAIL $what: exit $got, expected $status"; cat "$work/stderr"; fail=1
    elif [ -n "$text" ] && ! grep -qF -- "$text" "$work/stderr" "$work/stdout"; then
        echo "FAIL $what: no '$text' in the output"; cat "$work/stderr"; fail=1
    fi
}

expect "help" 0 "usage: qvrender" "$QVRENDER" --help
expect "no output" 2 "no output file given" "$QVRENDER"
expect "unknown key" 2 'unknown parameter key "Wave1.Frq"' "$QVRENDER" "$work/a.wav" --set Wave1.Frq=5
expect "malformed set" 2 "Section.Key=Value" "$QVRENDER" "$work/a.wav" --set Freq
expect "no such item" 2 'Wave1.Waveform="sinus" matches no item (OFF, sine, square,' \
    "$QVRENDER" "$work/a.wav" --set Wave1.Waveform=sinus
expect "not a number" 2 'Wave1.Freq="abc" is not a number' "$QVRENDER" "$work/a.wav" --set Wave1.Freq=abc
[ ! -e "$work/a.wav" ] || { echo "FAIL a refused --set wrote a file"; fail=1; }
expect "limited value" 0 'warning: Misc.SamplingFreq="9000000" is taken as 8388607' \
    "$QVRENDER" "$work/fast.wav" --set Misc.SamplingFreq=9000000 --set File.Length=0.001
[ "$(sox --i -s "$work/fast.wav")" = 8389 ] || { echo "FAIL limited rate"; fail=1; } # 1 ms of 8388607 Hz
expect "bad language" 2 "--lang takes en or ja" "$QVRENDER" "$work/a.wav" --lang de
expect "unknown option" 2 "unknown option --fast" "$QVRENDER" "$work/a.wav" --fast

# The default set: 10 s of 44100 Hz, 16-bit stereo.
expect "default set" 0 "" "$QVRENDER" "$work/default.wav"
[ "$(sox --i -r "$work/default.wav")/$(sox --i -c "$work/default.wav")/$(sox --i -b "$work/default.wav")/$(sox --i -s "$work/default.wav")" = "44100/2/16/441000" ] ||
    { echo "FAIL default set: $(sox --i "$work/default.wav")"; fail=1; }

expect "zero length" 0 "" "$QVRENDER" "$work/zero.wav" --set File.Length=0
[ "$(stat -c %s "$work/zero.wav")" = 44 ] || { echo "FAIL zero length size"; fail=1; }
expect "negative length writes nothing" 0 "" "$QVRENDER" "$work/neg.wav" --set File.Length=-1
[ ! -e "$work/neg.wav" ] || { echo "FAIL negative length wrote a file"; fail=1; }

# A sweep ends the file at its end, with a header that matches what was written.
expect "sweep" 0 "" "$QVRENDER" "$work/sweep.wav" --set File.Length=1 --set Wave1.Sweep=1 \
    --set Wave2.Freq=20000 --set Wave1.Freq=20
[ "$(sox --i -s "$work/sweep.wav")" = 44100 ] && [ "$(stat -c %s "$work/sweep.wav")" = $((44 + 44100 * 4)) ] ||
    { echo "FAIL sweep length: $(sox --i -s "$work/sweep.wav") frames"; fail=1; }
expect "stepped sweep" 0 "" "$QVRENDER" "$work/steps.wav" --set File.Length=0.5 --set Wave1.Sweep=1 \
    --set Wave1.SweepStep=4 --set Misc.SamplingFreq=48000
[ "$(sox --i -s "$work/steps.wav")" = 24000 ] || { echo "FAIL stepped sweep length"; fail=1; }

expect "wrong extension" 1 "File Extent is not 'WAV'." "$QVRENDER" "$work/a.wv"
[ ! -e "$work/a.wv" ] || { echo "FAIL wrong extension wrote a file"; fail=1; }
expect "lower-case extension" 0 "" "$QVRENDER" "$work/lower.wav" --set File.Length=0.01
expect "uncreatable" 1 "Unable to create file." "$QVRENDER" "$work/missing/a.wav"
expect "japanese message" 1 "ファイルが作成できません" "$QVRENDER" "$work/missing/a.wav" --lang ja

# Out of space half way: reported, and the partial file is deleted. (A file-size limit stands
# in for a full disk; qvrender ignores SIGXFSZ so the write fails instead of killing it.)
expect "full disk" 1 "Unable to write file." bash -c "ulimit -f 64; exec \"\$0\" \"\$1\" --set File.Length=5" \
    "$QVRENDER" "$work/full.wav"
[ ! -e "$work/full.wav" ] || { echo "FAIL full disk left a file"; fail=1; }

# Interrupted (Ctrl-C, a termination request): the file ends after the block being written,
# with a header that matches its data, and the exit status names the signal.
for sig in INT TERM; do
    rm -f "$work/long.wav"
    "$QVRENDER" "$work/long.wav" --set File.Length=3600 >"$work/stdout" 2>"$work/stderr" &
    pid=$!
    for _ in $(seq 400); do
        [ "$(stat -c %s "$work/long.wav" 2>/dev/null || echo 0)" -gt 100000 ] && break
        sleep 0.05
    done
    kill -s "$sig" "$pid"
    wait "$pid"
    got=$?
    [ "$got" = $((128 + $(kill -l "$sig"))) ] || { echo "FAIL $sig: exit $got"; fail=1; }
    frames=$(sox --i -s "$work/long.wav")
    [ $((44 + frames * 4)) = "$(stat -c %s "$work/long.wav")" ] ||
        { echo "FAIL $sig: header says $frames frames"; fail=1; }
    [ "$frames" -gt 0 ] && [ "$frames" -lt 158760000 ] || { echo "FAIL $sig: $frames frames"; fail=1; }
    grep -qF "Stop file writing." "$work/stderr" || { echo "FAIL $sig: no message"; fail=1; }
done

# --filter: a filter file drawn flat at -6.0206 dB halves the tone; a name not ending in .QVF is
# refused with the editor's message.
printf '"Quorvale Filter Parameter",1.00\r\n"Comment",""\r\n"Sampling Frequency",44100\r\n'`
      `'"Points",2\r\n    1,     0,          0,     -6.0206\r\n    2,  2048,      22050,     -6.0206\r\n' >"$work/half.QVF"
"$QVRENDER" "$work/plain.wav" --set File.Length=0.1 >/dev/null
"$QVRENDER" "$work/half.wav" --set File.Length=0.1 --filter "$work/half.QVF" >/dev/null
ratio=$(python3 -c "import sys; a, b = (float(v) for v in sys.argv[1:]); print(round(b / a, 3))" \
    "$(sox "$work/plain.wav" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')" \
    "$(sox "$work/half.wav" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')")
[ "$ratio" = 0.5 ] || { echo "FAIL --filter: the tone scaled by $ratio"; fail=1; }
cp "$work/half.QVF" "$work/half.txt"
"$QVRENDER" "$work/bad.wav" --filter "$work/half.txt" >/dev/null 2>"$work/stderr" &&
    { echo "FAIL --filter took a .txt"; fail=1; }
grep -qF "File Extent is not 'QVF'." "$work/stderr" || { echo "FAIL --filter: no message"; fail=1; }

[ $fail -eq 0 ] && echo "qvrender behaves"
exit $fail

#!/bin/bash
# User waves named in a parameter file, registered by qvrender as opening the file does: a
# 16-bit stereo WAV made by sox plays back sample for sample at the value 32768; the selection
# "uL + uR" puts L+R on both channels; "u2ch" of a 3-channel wave goes to every selected output;
# a text-format file works too; a wave that cannot be loaded fails the render.
set -uo pipefail
source "$(dirname "$0")/script_checks.sh"
dat() { sox "$1" -t dat - | awk '!/^;/ { $1 = ""; print }'; }

sox -n -r 48000 -b 16 -c 2 "$work/in.wav" synth 0.1 sine 440 sine 660 gain -8 || fail=1
sox -n -r 48000 -b 16 -c 3 "$work/three.wav" synth 0.1 sine 300 sine 500 sine 700 gain -3 || fail=1

setfile() {  # name, user wave, selection, extra lines...
    local name=$1 wave=$2 sel=$3
    shift 3
    printf '%s\r\n' '[File]' 'Length=0.1' '[Misc]' 'SamplingFreq=48000' 'BitLen=16' 'Ch=Stereo' \
        '[Wave1]' 'Waveform=user wave' 'Amp=32768' 'AmpUnit=value' 'OutCh=L+R' \
        "UserWave=$wave" "UserWaveChSel=$sel" "$@" >"$work/$name.QV"
}

setfile plain "$work/in.wav" ALL
"$QVRENDER" "$work/plain.QV" "$work/plain.wav" || fail=1
check "sample for sample" "$(dat "$work/plain.wav" | md5sum)" "$(dat "$work/in.wav" | md5sum)"

setfile sum "$work/in.wav" "uL + uR"
"$QVRENDER" "$work/sum.QV" "$work/sum.wav" || fail=1
check "L+R on both" "$(sox "$work/in.wav" -t raw -e signed -b 16 - | python3 -c '
import sys, struct
a = sys.stdin.buffer.read(); v = struct.unpack("<%dh" % (len(a) // 2), a)
print(" ".join(str(v[i] + v[i + 1]) for i in range(0, 40, 2)))')" \
    "$(sox "$work/sum.wav" -t raw -e signed -b 16 - | python3 -c '
import sys, struct
a = sys.stdin.buffer.read(); v = struct.unpack("<%dh" % (len(a) // 2), a)
assert all(v[i] == v[i + 1] for i in range(0, len(v), 2)), "channels differ"
print(" ".join(str(v[i]) for i in range(0, 40, 2)))')"

setfile second "$work/three.wav" u2ch
"$QVRENDER" "$work/second.QV" "$work/second.wav" || fail=1
check "u2ch everywhere" "$(sox "$work/second.wav" -t raw -e signed -b 16 - | python3 -c '
import sys, struct
a = sys.stdin.buffer.read(); v = struct.unpack("<%dh" % (len(a) // 2), a)
print(" ".join(str(v[i]) for i in range(0, 40, 2)), all(v[i] == v[i + 1] for i in range(0, len(v), 2)))')" \
    "$(sox "$work/three.wav" -t raw -e signed -b 16 - | python3 -c '
import sys, struct
a = sys.stdin.buffer.read(); v = struct.unpack("<%dh" % (len(a) // 2), a)
print(" ".join(str(v[i + 1]) for i in range(0, 60, 3)), True)')"

# A text-format file: values over Max, clamped to full scale.
printf '"Channels",1\r\n"Samples",4\r\n"Max",100\r\n"Data",4\r\n50,-25,200,0\r\n' >"$work/four.QVT"
setfile text "$work/four.QVT" ALL
"$QVRENDER" "$work/text.QV" "$work/text.wav" --set File.Length=0.0001 || fail=1
check "text-format wave" "$(sox "$work/text.wav" -t raw -e signed -b 16 - | python3 -c '
import sys, struct
a = sys.stdin.buffer.read(); print(struct.unpack("<%dh" % (len(a) // 2), a)[:10])')" \
    "(16384, 16384, -8192, -8192, 32767, 32767, 0, 0, 16384, 16384)"

# A wave that cannot be loaded (missing, a text file claiming more samples than it holds, no
# file named at all): the message and exit 1, or silence when the script allows it.
printf '"Channels",1\r\n"Samples",1000000000000\r\n"Max",1\r\n"Data",1\r\n0\r\n' >"$work/huge.QVT"
for c in "none.wav|Unable to open file." "huge.QVT|Unable to read file." "|User wave not registered"; do
    wave=${c%%|*} message=${c#*|}
    setfile bad "${wave:+$work/$wave}" ALL
    "$QVRENDER" "$work/bad.QV" "$work/bad.wav" >"$work/out" 2>&1
    check "exit for '$wave'" "$?" 1
    grep -qF "$message" "$work/out" || { echo "FAIL no message for '$wave'"; cat "$work/out"; fail=1; }
    [ ! -e "$work/bad.wav" ] || { echo "FAIL '$wave' wrote a file"; fail=1; }
    "$QVRENDER" "$work/bad.QV" "$work/bad.wav" --allow-missing-waves >/dev/null 2>&1 || fail=1
    check "silent slot for '$wave'" "$(sox "$work/bad.wav" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')" 0.000000
    rm -f "$work/bad.wav"
done

[ $fail -eq 0 ] && echo "user waves register and play as the program plays them"
exit $fail

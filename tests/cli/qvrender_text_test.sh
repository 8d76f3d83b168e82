#!/bin/bash
# Text-format files written by qvrender: the header line by line, ten values to a CR LF line,
# and the same samples as the WAV file of the same settings (decoded here independently).
set -uo pipefail
source "$(dirname "$0")/script_checks.sh"
command -v python3 >/dev/null || { echo "python3 is needed"; exit 77; }

# Compares a .QVT file with a .wav file of the same settings; prints what differs.
compare() {
    python3 - "$1" "$2" <<'PY'
import struct, sys
qvt, wav = open(sys.argv[1], 'rb').read(), open(sys.argv[2], 'rb').read()
problems = []
tag, ch, rate = struct.unpack_from('<HHI', wav, 20)
bits = struct.unpack_from('<H', wav, 34)[0]
header = 68 if tag == 0xFFFE else 44
is_float = tag == 3 or (tag == 0xFFFE and wav[44] == 3)
data = wav[header:]
size = bits // 8
frames = len(data) // (size * ch)
if not qvt.endswith(b'\r\n'):
    problems.append('no final CR LF')
lines = qvt[:-2].split(b'\r\n')
if any(b'\r' in l or b'\n' in l for l in lines):
    problems.append('a lone CR or LF')
full = 1 if is_float else 1 << (bits - 1)
expected_header = [b'"Quorvale Text Format",1.00', b'"Sampling Frequency",%d' % rate,
                   b'"Bits",%s%d' % (b'-' if is_float else b'', bits), b'"Channels",%d' % ch,
                   b'"Samples",%d' % frames, b'"Max",%d' % full, b'"Data",%d' % (frames * ch)]
if lines[:7] != expected_header:
    problems.append('header %r' % lines[:7])
body = lines[7:]
count = frames * ch
if len(body) != (count + 9) // 10:
    problems.append('%d data lines for %d values' % (len(body), count))
for i, l in enumerate(body):
    n = l.count(b',') + 1
    if n != 10 and not (i == len(body) - 1 and n == count % 10):
        problems.append('line %d has %d values' % (i + 8, n))
        break
values = b','.join(body).split(b',') if body else []
def text(k):
    at = k * size
    if is_float:
        return b'%.7f' % struct.unpack_from('<f', data, at)[0]
    if size == 1:
        return b'%d' % (data[at] - 128)
    v = int.from_bytes(data[at:at + size], 'little', signed=True)
    return b'%d' % v
for k in range(count):
    if k >= len(values) or values[k] != text(k):
        problems.append('value %d: %r, WAV has %r' % (k, values[k] if k < len(values) else None, text(k)))
        break
print('\n'.join(problems))
PY
}

run() {  # name, settings...
    local name=$1
    shift
    "$QVRENDER" "$work/$name.QVT" "$@" >/dev/null 2>"$work/err" || { echo "FAIL $name: $(cat "$work/err")"; fail=1; return; }
    "$QVRENDER" "$work/$name.wav" "$@" >/dev/null 2>&1
    check "$name" "$(compare "$work/$name.QVT" "$work/$name.wav")" ""
}

run default16 --set File.Length=1
run mono24 --set File.Length=0.2 --set Misc.BitLen=24 --set Misc.Ch=Mono --set Misc.SamplingFreq=48000
run float3 --set File.Length=0.1 --set Misc.BitLen=F32 --set Misc.Ch=3ch --set Wave1.OutCh=ALL \
    --set Wave2.Waveform=square --set Wave2.OutCh=1ch --set Wave2.Amp=0
run byte8 --set File.Length=0.05 --set Misc.BitLen=8 --set Misc.Ch=8ch --set Wave1.OutCh=ALL
run int32 --set File.Length=0.05 --set Misc.BitLen=32 --set "Wave1.Waveform=white noise"
run sweep --set File.Length=1 --set Wave1.Sweep=1 --set Wave2.Freq=20000 --set Wave1.Freq=20

# The one-second stereo example: 8820 full lines after the seven header lines.
check "one second lines" "$(tr -cd '\n' <"$work/default16.QVT" | wc -c)" $((7 + 8820))
printf '"Quorvale Text Format",1.00\r\n"Sampling Frequency",44100\r\n"Bits",16\r\n"Channels",2\r\n"Samples",44100\r\n"Max",32768\r\n"Data",88200\r\n' >"$work/header"
head -c "$(stat -c %s "$work/header")" "$work/default16.QVT" | cmp -s - "$work/header" ||
    { echo "FAIL one second header bytes"; fail=1; }

# Any letter case selects the text format; a zero length gives the header alone.
"$QVRENDER" "$work/lower.qvt" --set File.Length=0 >/dev/null 2>&1
check "lower-case name" "$(tr -cd '\n' <"$work/lower.qvt" | wc -c)/$(head -n 1 "$work/lower.qvt")" \
    $'7/"Quorvale Text Format",1.00\r'

"$QVRENDER" "$work/missing/a.QVT" >/dev/null 2>"$work/err"
check "uncreatable status" $? 1
grep -qF "Unable to create file." "$work/err" || { echo "FAIL uncreatable message"; fail=1; }

# Out of space half way (a file-size limit stands in for a full disk): reported, no file left.
bash -c 'ulimit -f 64; exec "$0" "$1" --set File.Length=5' "$QVRENDER" "$work/full.QVT" \
    >/dev/null 2>"$work/err"
check "full disk status" $? 1
grep -qF "Unable to write file." "$work/err" || { echo "FAIL full disk message"; fail=1; }
[ ! -e "$work/full.QVT" ] || { echo "FAIL full disk left a file"; fail=1; }

[ $fail -eq 0 ] && echo "text-format files match their WAV twins"
exit $fail

#!/bin/bash
# Makes the seeds of wave_reader_fuzz: small WAV and RF64 files written by sox, ffmpeg and
# sndfile-convert (ten frames each, so the fuzzer spends its time on the chunks), plus one file
# with cue points and an adtl list, which none of those tools writes.
#   fuzz/make_wave_seeds.sh [DIR]     (default fuzz/seeds/wave_reader_fuzz)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/fuzz/seeds/wave_reader_fuzz}
for t in sox ffmpeg sndfile-convert python3; do
    command -v "$t" >/dev/null || { echo "make_wave_seeds: $t is missing (tools/setup)" >&2; exit 1; }
done
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

synth() {  # file, sox output options...
    local f=$1
    shift
    sox -D -r 8000 -n "$@" "$f" synth 10s sine 1000 gain -3
}
ff() {  # output, raw format, channels, extra options...
    local o=$1 fmt=$2 ch=$3
    shift 3
    ffmpeg -nostdin -v error -y -f "$fmt" -ar 8000 -ac "$ch" -i "$tmp/src_$fmt.raw" \
        -fflags +bitexact -flags:a +bitexact "$@" "$o"
}

sox -D -r 8000 -n -e unsigned -b 8 -c 1 "$out/sox_u8_mono_odd.wav" synth 9s sine 1000
synth "$out/sox_s16_stereo.wav" -e signed -b 16 -c 2
synth "$out/sox_s24_3ch_ext.wav" -e signed -b 24 -c 3
synth "$out/sox_f32_mono.wav" -e floating-point -b 32 -c 1

for fmt in s16le s24le f32le; do
    sox -D -r 8000 -n -e "$([ $fmt = f32le ] && echo floating-point || echo signed)" \
        -b "${fmt:1:2}" -c 2 -t raw "$tmp/src_$fmt.raw" synth 10s sine 500
done
ff "$out/ff_s16_info.wav" s16le 2 -c:a pcm_s16le -metadata title=Seed -metadata artist=QV
ff "$out/ff_s24_rf64_bext.wav" s24le 2 -c:a pcm_s24le -rf64 always -write_bext 1 \
    -metadata description=Seed -metadata originator=QV
ff "$out/ff_f32_rf64.wav" f32le 2 -c:a pcm_f32le -rf64 always
ff "$out/ff_s16_junk.wav" s16le 2 -c:a pcm_s16le -rf64 auto

sndfile-convert -float32 "$out/sox_s16_stereo.wav" "$out/sf_f32_peak.wav" >/dev/null
sndfile-convert -pcm16 "$out/sox_s16_stereo.wav" "$tmp/sf.rf64" >/dev/null
mv "$tmp/sf.rf64" "$out/sf_s16.rf64"

# Cue points with labels and a text length: fmt, cue, LIST adtl (labl, ltxt), data.
python3 - "$out/cue_adtl.wav" <<'PY'
import struct, sys
def chunk(i, b):
    return i + struct.pack("<I", len(b)) + b + (b"\0" if len(b) & 1 else b"")
fmt = struct.pack("<HHIIHH", 1, 1, 8000, 16000, 2, 16)
cue = struct.pack("<I", 2) + b"".join(
    struct.pack("<II4sIII", n, p, b"data", 0, 0, p) for n, p in ((1, 2), (2, 6)))
adtl = b"adtl" + chunk(b"labl", struct.pack("<I", 1) + b"first\0") \
    + chunk(b"ltxt", struct.pack("<II4s", 2, 3, b"rgn ")) \
    + chunk(b"labl", struct.pack("<I", 2) + b"second\0")
body = b"WAVE" + chunk(b"fmt ", fmt) + chunk(b"cue ", cue) + chunk(b"LIST", adtl) \
    + chunk(b"data", bytes(range(20)))
open(sys.argv[1], "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)
PY
ls -l "$out"

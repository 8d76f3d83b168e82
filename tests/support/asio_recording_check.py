#!/usr/bin/env python3
# Checks what the test ASIO driver recorded (one raw file per driver output, named
# PREFIX.<output>.raw) against a render's WAV, converted by the conversion table written out
# here on its own: 8-bit centred and shifted up, narrower integers in the top bits, float
# samples as trunc(x * 2^23) held to 24 bits.
#   asio_recording_check.py WAV PREFIX TYPE OUTPUT:CHANNEL[,OUTPUT:CHANNEL...] [restart FRAMES]
# Every listed output must hold the stream channel given, from the stream's first frame on, for
# as long as it was recorded; no other output may have been recorded. With "restart FRAMES" the
# stream starts again from its first frame after exactly FRAMES frames.
import glob, math, os, struct, sys
sys.path.insert(0, os.path.dirname(__file__))
from wav_chunks import read_wav

wav, prefix, dtype, mapping = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
restart = int(sys.argv[6]) if len(sys.argv) > 6 and sys.argv[5] == "restart" else None
fmt, data = read_wav(wav)
tag, channels, _, _, align, bits = struct.unpack("<HHIIHH", fmt[:16])
if tag == 0xFFFE:
    tag = struct.unpack("<H", fmt[24:26])[0]
width = bits // 8


def sample(frame, ch):
    b = data[frame * align + ch * width:][:width]
    if tag == 3:
        x = struct.unpack("<f", b)[0]
        return ("f", max(-8388608, min(8388607, math.trunc(x * 8388608))))
    if bits == 8:
        return ("i", (b[0] - 128) << 24)
    return ("i", int.from_bytes(b, "little", signed=True) << (32 - bits))


def expected(frame, ch):
    kind, v = sample(frame, ch)
    if kind == "f":  # 24-bit value
        top = v << 8
    else:
        top = v
    top &= 0xFFFFFFFF
    if dtype == 16:
        return (top >> 16).to_bytes(2, "little")
    if dtype == 17:
        return (top >> 8).to_bytes(3, "little")
    return top.to_bytes(4, "little")


size = {16: 2, 17: 3, 18: 4}[dtype]
frames = len(data) // align
pairs = [tuple(int(x) for x in p.split(":")) for p in mapping.split(",")]
recorded = sorted(int(f.rsplit(".", 2)[1]) for f in glob.glob(prefix + ".*.raw"))
ok = recorded == sorted(o for o, _ in pairs)
if not ok:
    print(f"  FAIL: outputs recorded {recorded}, expected {sorted(o for o, _ in pairs)}")
for out, ch in pairs:
    rec = open(f"{prefix}.{out}.raw", "rb").read() if out in recorded else b""
    n = len(rec) // size
    want = b"".join(expected(f, ch) for f in range(min(frames, restart or frames)))
    if restart is not None:
        first, second = rec[:restart * size], rec[restart * size:]
        good = first == want[:len(first)] == want[:restart * size] and len(second) > 0 and \
            second == b"".join(expected(f, ch) for f in range(min(frames, n - restart)))
        note = f"{restart} frames, then the stream from its start for {n - restart}"
    else:
        good = n > 0 and n <= frames and rec == want[:len(rec)]
        note = f"{n} frames"
    if not good:
        bad = next((i for i in range(0, min(len(rec), len(want)), size)
                    if rec[i:i + size] != want[i:i + size]), None)
        note += f", first difference at frame {None if bad is None else bad // size}"
    print(f"  output {out} (stream channel {ch}, type {dtype}): {note}: "
          f"{'identical' if good else 'FAIL'}")
    ok = ok and good
sys.exit(0 if ok else 1)

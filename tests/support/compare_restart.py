#!/usr/bin/env python3
# Checks a capture of a stream restarted once while playing against a WAV's data chunk: the
# capture is the stream's start, cut where the flush stopped the device, perhaps a moment of
# silence while the device waits for the refill, then the stream's start again (and at the end
# perhaps the silence of the Stop). Arguments: capture, wav, most frames of silence at the flush,
# and optionally "lead" when the capture may start with silence (a device that starts on a silent
# buffer).
# The tone must never repeat a stretch of samples, so that the second start is unambiguous.
import struct, sys
capture = open(sys.argv[1], "rb").read()
wav = open(sys.argv[2], "rb").read()
align = struct.unpack("<H", wav[wav.find(b"fmt ") + 20:][:2])[0]
data = wav[wav.find(b"data") + 8:]
if "lead" in sys.argv[4:]:
    start = capture.find(data[:4000])
    if start > 0 and start % align == 0 and not any(capture[:start]):
        capture = capture[start:]
second = capture.find(data[:4000], align)
if second <= 0:
    print("  FAIL: the stream never starts again"); sys.exit(1)
before = capture[:second].rstrip(b"\0")
before += b"\0" * (-len(before) % align)  # a sample that happened to end in zero bytes
silence = (second - len(before)) // align
after = capture[second:]
stopped = after.rstrip(b"\0")
stopped += b"\0" * (-len(stopped) % align)
if len(after) - len(stopped) <= 4800 * align:
    after = stopped  # the silence of the Stop (see compare_capture.py)
n = min(len(after), len(data))
ok = (len(before) > 0 and before == data[:len(before)] and after[:n] == data[:n]
      and not any(after[n:]))
print(f"  {len(before) // align} frames, the flush, {silence} frames of silence, then the "
      f"stream from block 0 again for {n // align} frames: {'identical' if ok else 'FAIL: differs'}")
sys.exit(0 if ok and silence < int(sys.argv[3]) else 1)

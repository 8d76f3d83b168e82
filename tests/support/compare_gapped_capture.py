#!/usr/bin/env python3
# Compares the capture of a WASAPI stream with a WAV's data chunk. Wine's exclusive-mode device
# drains its buffer into the unpaced null device faster than real time and pads every underrun
# with silence, so the capture is read against the WAV frame by frame with silent frames
# skipped wherever the WAV does not have one: every frame of the WAV must come, in order, none
# lost, repeated or changed. Arguments: capture, wav, the silent frames the capture must at
# least start with, and a mode:
#   stream   a prefix of the WAV, at least 1.5 s of it
#   whole    the whole WAV (a sweep that ended the playback), then silence
#   restart  a prefix of the WAV, then the WAV from its start again (at least 0.5 s of it)
# and "widen8" when the WAV's 8-bit samples reach the device as 16 bits.
import struct, sys
from wav_chunks import read_wav
capture = open(sys.argv[1], 'rb').read()
fmt, data = read_wav(sys.argv[2])
lead, mode, widen8 = int(sys.argv[3]), sys.argv[4], 'widen8' in sys.argv[5:]
rate, align = struct.unpack('<I', fmt[4:8])[0], struct.unpack('<H', fmt[12:14])[0]
if widen8:  # u - 128 in the high byte of a 16-bit sample
    data, align = bytes(b for u in data for b in (0, u ^ 0x80)), align * 2
silent = bytes(align)
frames = [capture[i:i + align] for i in range(0, len(capture) - align + 1, align)]
want = [data[i:i + align] for i in range(0, len(data), align)]
leading = next((k for k, f in enumerate(frames) if f != silent), len(frames))
parts, n, skipped, ok = [], 0, 0, True
for f in frames[leading:]:
    if n < len(want) and f == want[n]:
        n += 1
    elif f == silent:
        skipped += 1
    elif mode == 'restart' and not parts and n > 0 and f == want[0]:
        parts, n = [n], 1  # the flush: the stream starts again
    else:
        ok = False
        break
parts.append(n)
print(f"  {len(frames)} frames captured, {leading} silent at the start, then "
      f"{' + '.join(map(str, parts))} frames of the render with {skipped} silent among them")
if leading < lead:
    print(f"  FAIL: fewer than {lead} silent frames at the start")
    ok = False
need = {'stream': [rate * 3 // 2], 'whole': [len(want)], 'restart': [1, rate // 2]}[mode]
if not ok or len(parts) != len(need) or any(p < m for p, m in zip(parts, need)):
    print("  FAIL: the capture is not the render" + (" restarted" if mode == 'restart' else ""))
    ok = False
sys.exit(0 if ok else 1)

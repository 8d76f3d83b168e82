#!/usr/bin/env python3
# Compares a capture of the ALSA file device with a WAV's data chunk: the capture must hold,
# from its first byte on, exactly the WAV's frames. Arguments: capture, wav, minimum frames in the
# common prefix, "whole" when the capture must contain all of the WAV's frames (a sweep), and
# optionally "lead" when the capture may start with silence (a device that starts on a silent
# buffer): the WAV's frames must then follow it at once.
import struct, sys
from wav_chunks import read_wav
capture = open(sys.argv[1], 'rb').read()
fmt, data = read_wav(sys.argv[2])
minimum, whole = int(sys.argv[3]), sys.argv[4] == 'whole'
channels, rate = struct.unpack('<HI', fmt[2:8])
align = struct.unpack('<H', fmt[12:14])[0]
if 'lead' in sys.argv[5:]:
    start = capture.find(data[:4000])
    if start < 0 or start % align or any(capture[:start]):
        start = 0
    print(f"  {start // align} frames of silence before the stream")
    capture = capture[start:]
common = min(len(capture), len(data))
same, step = 0, 1 << 16
while same < common and capture[same:same + step] == data[same:same + step]:
    same = min(same + step, common)
while same < common and capture[same] == data[same]:
    same += 1
frames = same // align
rest = capture[same:]
# A stopped run (not a sweep) may end in silence: the moment between the Stop and the device's
# reset, in which Wine's driver pads its period with zeros. Up to 0.1 s of it is the stop, not
# a dropout; anything else after the identical prefix is a fault.
stop_silence = not whole and same < common and not any(rest) and len(rest) <= rate // 10 * align
print(f"  captured {len(capture)} bytes ({len(capture) // align} frames), rendered "
      f"{len(data)} bytes; identical prefix {same} bytes = {frames} frames "
      f"({frames / rate:.3f} s, {channels} ch, {align} bytes/frame)")
ok = True
if same < common and not stop_silence:
    detail = "silence" if not any(rest) else "other samples"
    print(f"  FAIL: first difference at byte {same} (frame {frames}); "
          f"{len(rest)} more bytes captured, {detail}")
    ok = False
if frames < minimum:
    print(f"  FAIL: fewer than {minimum} identical frames")
    ok = False
if whole and len(capture) < len(data):
    print("  FAIL: the capture ends before the rendered stream")
    ok = False
if ok and any(rest):
    print(f"  FAIL: {len(rest)} bytes after the stream are not all silence")
    ok = False
if ok and rest:
    print(f"  then {len(rest)} bytes of silence{' (the stop)' if stop_silence else ''}")
sys.exit(0 if ok else 1)

#!/usr/bin/env python3
# Turns a capture of 32-bit float frames (Wine's mixer) back into the 16-bit frames that were
# played, aligned on a 16-bit WAV's stream. Arguments: capture, wav, output. Every float must be
# a 16-bit sample / 32768 exactly: such a quotient has at most 16 significant bits, which a float
# holds without rounding, and a mixer at 0 dB that mixes one buffer at the stream's own rate
# passes it unchanged; so the tolerance is zero, and anything else is a fault. The capture's
# frames before its first non-silent one (the mixer starting) are dropped and counted; the output
# has the WAV's own silent frames before its first non-silent one in their place.
import array, struct, sys
floats = array.array('f', open(sys.argv[1], 'rb').read())
wav = open(sys.argv[2], 'rb').read()
channels = struct.unpack('<H', wav[wav.find(b'fmt ') + 10:][:2])[0]
data = array.array('h', wav[wav.find(b'data') + 8:])
samples = array.array('h', bytes(2 * len(floats)))
for i, v in enumerate(floats):
    s = v * 32768.0
    if s != int(s) or not -32768 <= s <= 32767:
        print(f"  FAIL: sample {i} ({v!r}) is no 16-bit sample / 32768")
        sys.exit(1)
    samples[i] = int(s)
def first_sound(a):
    return next((i for i, s in enumerate(a) if s), len(a)) // channels * channels
first, lead = first_sound(samples), first_sound(data)
open(sys.argv[3], 'wb').write(data[:lead].tobytes() + samples[first:].tobytes())
print(f"  {len(floats) // channels} float frames, each a 16-bit sample exactly; "
      f"{first // channels} silent frames before the stream")

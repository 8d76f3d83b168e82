#!/usr/bin/env python3
# Checks a glide in a capture of the ALSA file device (16-bit stereo, one channel): the tone
# goes from f0 to f1 Hz over about the given seconds, and while it sounds no sample step is larger
# than the faster sine's own largest step (so the phase never jumps). Arguments: capture, rate, f0,
# f1 ("?": wherever it ends, printed), seconds, amplitude (the sine's peak in sample values), and
# the channel (0 left, the default, or 1 right).
import array, math, sys
raw = array.array('h', open(sys.argv[1], 'rb').read())
rate, f0 = float(sys.argv[2]), float(sys.argv[3])
seconds, amplitude = float(sys.argv[5]), float(sys.argv[6])
left = raw[int(sys.argv[7]) if len(sys.argv) > 7 else 0::2]
# Rising zero crossings, interpolated, while the tone sounds.
crossings = [i + left[i] / (left[i] - left[i + 1]) for i in range(len(left) - 1)
             if left[i] <= 0 < left[i + 1]]
freqs = [(crossings[k], rate / (crossings[k + 1] - crossings[k])) for k in range(len(crossings) - 1)]
fail = []
start = sum(f for _, f in freqs[5:25]) / 20
end = sum(f for _, f in freqs[-25:-5]) / 20
f1 = end if sys.argv[4] == '?' else float(sys.argv[4])
# Zero crossings measure 20 periods to about 1e-4 of the frequency at a few samples a period.
if abs(start - f0) > max(0.2, 2e-4 * f0) or abs(end - f1) > max(0.2, 2e-4 * f1):
    fail.append(f'frequency {start:.2f} -> {end:.2f} Hz, expected {f0} -> {f1}')
low, high = f0 + 0.1 * (f1 - f0), f0 + 0.9 * (f1 - f0)
leave = next((t for t, f in freqs if f > low), None)
arrive = next((t for t, f in freqs if f > high), None)
if leave is None or arrive is None:
    fail.append('no glide')
else:
    took = (arrive - leave) / 0.8 / rate
    if abs(took - seconds) > 0.15 * seconds:
        fail.append(f'the glide took {took:.3f} s, expected {seconds}')
limit = 2 * math.pi * max(f0, f1) * amplitude / rate * 1.02 + 2
# Between the first and the last rising crossing: the stop cuts the tone wherever it is.
worst, at = max((abs(left[i + 1] - left[i]), i)
                for i in range(int(crossings[0]), int(crossings[-1])))
if worst > limit:
    fail.append(f'a sample step of {worst} at {at / rate:.4f} s (the sine alone: {limit:.0f} at most)')
for f in fail:
    print('FAIL', f)
print(f'{start:.2f} -> {end:.2f} Hz, largest step {worst}')
sys.exit(1 if fail else 0)

#!/usr/bin/env python3
# Checks a captured tone played through the drawn filter (16-bit stereo, left channel) against the
# filter's frequency response computed here from the saved filter files by frequency sampling:
# the drawn gains interpolated linearly in dB over log frequency (bin 0 counting as half a bin),
# the inverse transform of that even spectrum centred on N/2, weighted by a Kaiser window with a
# zero first tap, evaluated at the tone's frequency by a direct sum.
# Before the drag the tone's level is the first file's response, after it the second's, each
# within 0.5 dB; the capture runs on between them without a silent stretch.
# Arguments: capture, reference WAV (the unfiltered tone), first .QVF, second .QVF, rate, tone Hz.
import array, cmath, math, sys
from wav_chunks import read_wav


def read_qvf(path):
    size, alpha, points = 0, 6.0, []
    for line in open(path, encoding='latin-1').read().splitlines():
        if line.startswith('"Size1"'):
            size = int(line.split(',')[1])
        elif line.startswith('"KaiserAlpha"'):
            alpha = float(line.split(',')[1])
        elif line and line[0] == ' ' and line.count(',') == 3:
            number, bin_, freq, gain = (float(v) for v in line.split(','))
            points.append((int(bin_), gain))
    return size, alpha, points


def magnitudes(n, points):
    m = [0.0] * (n // 2 + 1)
    for i, (lo, g) in enumerate(points):
        if i == len(points) - 1:
            m[lo] = 10 ** (g / 20)
            break
        hi, g2 = points[i + 1]
        if hi - lo == 1:
            m[lo] = 10 ** (g / 20)
            continue
        rho = 2 * (hi - lo) if lo == 0 else hi / lo
        slope = (g2 - g) / math.log10(rho)
        for k in range(lo, hi):
            r = (1 if k == 0 else 2 * k) if lo == 0 else k / lo
            m[k] = 10 ** ((slope * math.log10(r) + g) / 20)
    return m


def bessel_i0(x):
    total, term, k = 1.0, 1.0, 1
    while term > 1e-17 * total:
        term *= (x / (2 * k)) ** 2
        total += term
        k += 1
    return total


def response_db(path, rate, freq):
    n, alpha, points = read_qvf(path)
    m = magnitudes(n, points)
    half = n // 2
    window = [0.0] * n
    for i in range(half):
        v = bessel_i0(alpha * math.sqrt(max(0.0, 1 - (i / (half - 1)) ** 2))) / bessel_i0(alpha)
        if half + i < n:
            window[half + i] = v
        window[half - i] = v
    window[0] = 0.0
    h = []
    for t in range(n):
        c = t - half  # the impulse centred on N/2
        s = m[0] + m[half] * math.cos(math.pi * c)
        s += 2 * sum(m[k] * math.cos(2 * math.pi * k * c / n) for k in range(1, half))
        h.append(s / n * window[t])
    w = 2 * math.pi * freq / rate
    return 20 * math.log10(abs(sum(h[t] * cmath.exp(-1j * w * t) for t in range(n))))


def level(samples, rate, freq):
    w = 2 * math.pi * freq / rate
    return 2 * abs(sum(x * cmath.exp(-1j * w * t) for t, x in enumerate(samples))) / len(samples)


capture, reference, first, second = sys.argv[1:5]
rate, freq = float(sys.argv[5]), float(sys.argv[6])
left = array.array('h', open(capture, 'rb').read())[0::2]
fmt, data = read_wav(reference)
channels = int.from_bytes(fmt[2:4], 'little')
ref = array.array('h', data)[0::channels]
span = int(rate / 10)  # a tenth of a second: a whole number of periods of the tone
unfiltered = level(ref[span:2 * span], rate, freq)
sounding = [i for i, x in enumerate(left) if abs(x) > 2]
start, end = sounding[0], sounding[-1]
fail = []
# A restart of the output would show as a silent stretch inside the tone; the few milliseconds a
# busy machine may starve Wine's device of are not one.
quiet, worst = 0, 0
for x in left[start:end]:
    quiet = quiet + 1 if abs(x) <= 2 else 0
    worst = max(worst, quiet)
if worst > rate / 20:
    fail.append(f'a silent gap of {worst} samples in the capture')
windows = [level(left[i:i + span], rate, freq) for i in range(start + 3 * span, end - 3 * span, span)]
if len(windows) < 10:
    fail.append(f'only {len(windows)} tenths of a second of tone')
else:
    third = len(windows) // 3
    before = sorted(windows[:third])[third // 2]
    after = sorted(windows[-third:])[third // 2]
    for name, heard, path in (('before', before, first), ('after', after, second)):
        designed = response_db(path, rate, freq)
        got = 20 * math.log10(heard / unfiltered)
        print(f'{name} the drag: {got:.2f} dB heard, {designed:.2f} dB designed at {freq:g} Hz')
        if abs(got - designed) > 0.5:
            fail.append(f'{name} the drag the tone is at {got:.2f} dB, the design says {designed:.2f}')
    if abs(20 * math.log10(after / before)) < 3:
        fail.append('the drag did not change the level')
for f in fail:
    print('FAIL', f)
sys.exit(1 if fail else 0)

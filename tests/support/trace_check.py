#!/usr/bin/env python3
# Checks the oscilloscope in a picture of the main window while it plays a sine: the trace in
# the first displayed channel's colour starts on the 0 line (the trigger) and crosses it upwards
# once a period. Arguments: picture, plot left, top, width, height (pixels), period in pixels.
import subprocess, sys
picture = sys.argv[1]
left, top, width, height = (int(a) for a in sys.argv[2:6])
period = float(sys.argv[6])
ppm = subprocess.run(['convert', picture, 'ppm:-'], capture_output=True, check=True).stdout
fields = ppm.split(maxsplit=4)  # P6, width, height, maxval, pixels
w = int(fields[1])
pixels = fields[4]
middle = top + height // 2
def lime(x, y):
    i = 3 * (y * w + x)
    return pixels[i:i + 3] == b'\x00\xff\x00'
touches = []  # the first column of each place where the trace meets the 0 line
for x in range(left, left + width):
    if lime(x, middle) and (not touches or x > touches[-1] + 3):
        touches.append(x)
fail = []
if len(touches) < 5 or touches[0] - left > 1:
    fail.append(f'the trace meets the 0 line at {touches[:4]}, not first at {left}')
else:
    rises = (len(touches) - 1) // 2
    measured = (touches[2 * rises] - touches[0]) / rises
    if abs(measured - period) > 0.5:
        fail.append(f'a period of {measured:.2f} pixels, expected {period:.2f}')
for f in fail:
    print('FAIL trace:', f)
sys.exit(1 if fail else 0)

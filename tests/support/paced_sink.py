#!/usr/bin/env python3
# Reads a named pipe that an ALSA file device writes into, no faster than a given rate, and keeps
# what it read in a file: the pipe's back pressure paces the device as a sound card would (the
# null device under it takes any amount at once). Ends when the writer closes the pipe.
# Arguments: pipe, capture file, bytes per second.
import sys, time
pipe, capture, rate = sys.argv[1], sys.argv[2], float(sys.argv[3])
with open(pipe, "rb", buffering=0) as src, open(capture, "wb") as out:
    start, total = time.monotonic(), 0
    while chunk := src.read(4096):
        out.write(chunk)
        total += len(chunk)
        ahead = total / rate - (time.monotonic() - start)
        if ahead > 0:
            time.sleep(ahead)

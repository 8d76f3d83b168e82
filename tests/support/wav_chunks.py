# The "fmt " and "data" chunks of a WAV file, walked chunk by chunk (shared by the capture checks).
import struct


def read_wav(path):
    wav = open(path, 'rb').read()
    pos, fmt, data = 12, None, None
    while pos + 8 <= len(wav):
        cid, size = wav[pos:pos + 4], struct.unpack('<I', wav[pos + 4:pos + 8])[0]
        if cid == b'fmt ':
            fmt = wav[pos + 8:pos + 8 + size]
        elif cid == b'data':
            data = wav[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    return fmt, data

#!/usr/bin/env python3
"""Writes KT1, the English interface's raster font, as a Windows .FNT file (version 2.0).

    tools/kt1_font.py OUT.fnt [SOURCE.pcf.gz]

The glyphs come from the public-domain X11 misc-fixed 6x12 face (Debian xfonts-base), which is
ISO 10646 encoded; KT1 is an OEM (code page 437) font, so each byte code takes the glyph of the
character that code page 437 puts there. Control codes (0x00..0x1F) and characters the face
lacks become blank cells. Python standard library only.
"""

import gzip
import struct
import sys

SOURCE = "/usr/share/fonts/X11/misc/6x12.pcf.gz"
FACE = b"KT1"
WIDTH, HEIGHT = 6, 12
OEM_CHARSET = 255
FF_MODERN = 0x30  # low bit clear: fixed pitch

# PCF table types and format bits.
PCF_ACCELERATORS = 1 << 1
PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8
PCF_COMPRESSED_METRICS = 0x100
PCF_BYTE_MSB = 1 << 2
PCF_BIT_MSB = 1 << 3


class Pcf:
    """What a bitmap font needs of a PCF file: font ascent/descent, glyph metrics,
    bitmaps and the code-to-glyph map."""

    def __init__(self, data):
        if data[:4] != b"\1fcp":
            raise ValueError("not a PCF file")
        (count,) = struct.unpack_from("<i", data, 4)
        self.data = data
        self.tables = {}
        for i in range(count):
            kind, fmt, size, offset = struct.unpack_from("<iiii", data, 8 + 16 * i)
            self.tables[kind] = (fmt, offset)
        self._read_accelerators()
        self._read_metrics()
        self._read_bitmaps()
        self._read_encodings()

    def _table(self, kind):
        if kind not in self.tables:
            raise ValueError("PCF table %d missing" % kind)
        _, offset = self.tables[kind]
        # A table repeats its format in its first four bytes (always little-endian).
        (fmt,) = struct.unpack_from("<i", self.data, offset)
        return fmt, ">" if fmt & PCF_BYTE_MSB else "<", offset + 4

    def _read_accelerators(self):
        kind = PCF_BDF_ACCELERATORS if PCF_BDF_ACCELERATORS in self.tables else PCF_ACCELERATORS
        _, e, p = self._table(kind)
        self.ascent, self.descent = struct.unpack_from(e + "ii", self.data, p + 8)

    def _read_metrics(self):
        fmt, e, p = self._table(PCF_METRICS)
        self.metrics = []  # (left bearing, right bearing, ascent, descent)
        if fmt & PCF_COMPRESSED_METRICS:
            (n,) = struct.unpack_from(e + "h", self.data, p)
            for i in range(n):
                lsb, rsb, _, asc, desc = (b - 0x80 for b in self.data[p + 2 + 5 * i : p + 7 + 5 * i])
                self.metrics.append((lsb, rsb, asc, desc))
        else:
            (n,) = struct.unpack_from(e + "i", self.data, p)
            for i in range(n):
                lsb, rsb, _, asc, desc = struct.unpack_from(e + "hhhhh", self.data, p + 4 + 12 * i)
                self.metrics.append((lsb, rsb, asc, desc))

    def _read_bitmaps(self):
        fmt, e, p = self._table(PCF_BITMAPS)
        (n,) = struct.unpack_from(e + "i", self.data, p)
        self.offsets = struct.unpack_from(e + "%di" % n, self.data, p + 4)
        self.bits = p + 4 + 4 * n + 16
        self.row_pad = 1 << (fmt & 3)
        self.msb_bit = bool(fmt & PCF_BIT_MSB)
        unit = 1 << ((fmt >> 4) & 3)
        # Rows are stored in scan units; with LSB byte order a unit's bytes are reversed.
        self.swap_unit = unit if (not fmt & PCF_BYTE_MSB) and unit > 1 else 1

    def _read_encodings(self):
        _, e, p = self._table(PCF_BDF_ENCODINGS)
        self.min2, self.max2, self.min1, self.max1, _ = struct.unpack_from(e + "5h", self.data, p)
        n = (self.max2 - self.min2 + 1) * (self.max1 - self.min1 + 1)
        self.index = struct.unpack_from(e + "%dH" % n, self.data, p + 10)

    def glyph(self, code):
        """The glyph index of a character code, or None."""
        b1, b2 = code >> 8, code & 0xFF
        if not (self.min1 <= b1 <= self.max1 and self.min2 <= b2 <= self.max2):
            return None
        i = self.index[(b1 - self.min1) * (self.max2 - self.min2 + 1) + b2 - self.min2]
        return None if i == 0xFFFF else i

    def pixel_rows(self, g):
        """The glyph's rows as (first cell row, first cell column, [row of 0/1 pixels])."""
        lsb, rsb, asc, desc = self.metrics[g]
        width = rsb - lsb
        stride = (width + 7) // 8
        stride = (stride + self.row_pad - 1) // self.row_pad * self.row_pad
        rows = []
        for r in range(asc + desc):
            raw = bytearray(self.data[self.bits + self.offsets[g] + r * stride :][:stride])
            u = self.swap_unit
            for k in range(0, len(raw), u):
                raw[k : k + u] = raw[k : k + u][::-1]
            row = []
            for x in range(width):
                byte = raw[x // 8]
                bit = (byte >> (7 - x % 8)) if self.msb_bit else (byte >> (x % 8))
                row.append(bit & 1)
            rows.append(row)
        return self.ascent - asc, lsb, rows


def cell(pcf, code):
    """The 12 bytes of one byte code's cell (bit 7 is the leftmost column)."""
    out = [0] * HEIGHT
    if code < 0x20:
        return out
    g = pcf.glyph(ord(bytes([code]).decode("cp437")))
    if g is None:
        return out
    top, left, rows = pcf.pixel_rows(g)
    for r, row in enumerate(rows):
        for x, on in enumerate(row):
            y, c = top + r, left + x
            if on and 0 <= y < HEIGHT and 0 <= c < WIDTH:
                out[y] |= 0x80 >> c
    return out


def fnt(pcf):
    first, last = 0, 255
    count = last - first + 1
    header_size = 118
    table = header_size + 4 * (count + 1)  # a width/offset pair per character and a sentinel
    bits = b"".join(bytes(cell(pcf, c)) for c in range(first, last + 1))
    bits_offset = table
    face_offset = bits_offset + len(bits)
    size = face_offset + len(FACE) + 1
    copyright = b"KT1: from the public-domain X11 misc-fixed 6x12 face"
    header = struct.pack(
        "<HI60sHHHHHHHBBBHBHHBHHBBBBHIIIIB",
        0x0200,  # version
        size,
        copyright,
        0,  # raster
        HEIGHT * 72 // 96,  # points at 96 DPI
        96,
        96,
        pcf.ascent,
        HEIGHT - (pcf.ascent + pcf.descent),  # internal leading: none, the cell is the em
        0,
        0,
        0,
        0,
        400,
        OEM_CHARSET,
        WIDTH,
        HEIGHT,
        FF_MODERN,
        WIDTH,
        WIDTH,
        first,
        last,
        0x20 - first,  # default char: a blank cell
        0x20 - first,  # break char
        (count * WIDTH + 15) // 16 * 2,
        0,
        face_offset,
        0,
        bits_offset,
        0,
    )
    assert len(header) == header_size
    entries = b"".join(struct.pack("<HH", WIDTH, bits_offset + HEIGHT * i) for i in range(count))
    entries += struct.pack("<HH", WIDTH, bits_offset + HEIGHT * count)  # sentinel
    out = header + entries + bits + FACE + b"\0"
    assert len(out) == size < 0x10000  # version 2.0 keeps 16-bit glyph offsets
    return out


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write("usage: kt1_font.py OUT.fnt [SOURCE.pcf.gz]\n")
        return 2
    with gzip.open(argv[2] if len(argv) == 3 else SOURCE, "rb") as f:
        pcf = Pcf(f.read())
    if pcf.ascent + pcf.descent != HEIGHT:
        raise ValueError("the source face is not %d rows high" % HEIGHT)
    with open(argv[1], "wb") as f:
        f.write(fnt(pcf))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""expected_bilevel.py IN.ppm OUT.pbm: the bi-level page the back end must
store for a colour page: a pixel is black when 299 R + 587 G + 114 B is below
128000 (luminance under half scale), with no dithering."""
import sys


def read_ppm(path):
    data = open(path, "rb").read()
    fields, pos = [], 2
    assert data[:2] == b"P6", "not a P6 file"
    while len(fields) < 3:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while data[end:end + 1].isdigit():
            end += 1
        fields.append(int(data[pos:end]))
        pos = end
    width, height, maxval = fields
    assert maxval == 255
    return width, height, data[pos + 1:]


def main():
    width, height, pixels = read_ppm(sys.argv[1])
    # Luminance per pixel through lookup tables keeps this fast enough in plain Python.
    red = [299 * v for v in range(256)]
    green = [587 * v for v in range(256)]
    blue = [114 * v for v in range(256)]
    row_bytes = (width + 7) // 8
    out = bytearray()
    for y in range(height):
        row = pixels[y * width * 3:(y + 1) * width * 3]
        packed = bytearray(row_bytes)
        r, g, b = row[0::3], row[1::3], row[2::3]
        for x in range(width):
            if red[r[x]] + green[g[x]] + blue[b[x]] < 128000:
                packed[x >> 3] |= 0x80 >> (x & 7)
        out += packed
    with open(sys.argv[2], "wb") as f:
        f.write(b"P4\n%d %d\n" % (width, height) + bytes(out))


if __name__ == "__main__":
    main()

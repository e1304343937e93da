#!/usr/bin/env python3
"""Writes the BMP files of the picture corpus into this directory.

Run once; the files are kept in git, so that the expected outputs beside
them stay tied to the same bytes. Every file is made from a fixed seed.
"""
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
rnd = random.Random(587)


def header(width, height, bits, compression=0, info_size=40, after_info=b"", offset=None,
           pixel_bytes=0):
    data_start = 14 + info_size + len(after_info)
    if offset is None:
        offset = data_start
    head = b"BM" + struct.pack("<IHHI", data_start + pixel_bytes, 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", info_size, width, height, 1, bits, compression,
                       pixel_bytes, 2835, 2835, 0, 0)
    return head + info + b"\0" * (info_size - 40) + after_info


def stride(width, bits):
    return (width * bits + 31) // 32 * 4


def pack_rows(width, height, bits, value):
    """value(x, y) -> the stored number of the pixel (index, word or colour);
    rows from the bottom of the picture up, each padded to 4 bytes."""
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride(width, bits))
        for x in range(width):
            v = value(x, y)
            if bits < 8:
                bit = x * bits
                row[bit // 8] |= v << (8 - bits - bit % 8)
            else:
                for k in range(bits // 8):
                    row[x * bits // 8 + k] = (v >> (8 * k)) & 0xFF
        out += row
    return bytes(out)


def palette(n, colour=None):
    colour = colour or (lambda i: (rnd.randrange(256), rnd.randrange(256), rnd.randrange(256)))
    out = bytearray()
    for i in range(n):
        r, g, b = colour(i)
        out += bytes((b, g, r, rnd.randrange(256)))
    return bytes(out)


def noise(bits):
    return lambda x, y: rnd.randrange(1 << bits)


def gradient_rgb(width, height, jitter):
    def value(x, y):
        r = min(255, max(0, x * 255 // max(1, width - 1) + rnd.randrange(-jitter, jitter + 1)))
        g = min(255, max(0, y * 255 // max(1, height - 1) + rnd.randrange(-jitter, jitter + 1)))
        b = min(255, max(0, (x + y) * 255 // max(1, width + height - 2) + rnd.randrange(-jitter, jitter + 1)))
        return r << 16 | g << 8 | b
    return value


# Colours whose weighed sum 587 g + 299 r + 114 b is a whole multiple of
# 1000: there the brightness lands next to a whole number.
round_sums = [r << 16 | g << 8 | b for r in range(0, 256, 3) for g in range(256) for b in range(256)
              if (587 * g + 299 * r + 114 * b) % 1000 == 0]

files = {}


def add(name, data):
    files[name] = data


def picture(name, width, height, bits, value, compression=0, after_info=b"", **kw):
    rows = pack_rows(width, height, bits, value)
    add(name, header(width, height, bits, compression, after_info=after_info,
                     pixel_bytes=len(rows), **kw) + rows)
    return files[name]


# Palette depths, every odd width, full tables of random colours.
for bits in (1, 4, 8):
    for width, height in ((1, 8), (7, 9), (9, 8), (33, 13), (513, 9)):
        picture(f"d{bits}_{width}x{height}_noise.bmp", width, height, bits, noise(bits),
                after_info=palette(1 << bits))
# Grey palettes, as a scanner writes them.
picture("d8_40x24_grey_ramp.bmp", 40, 24, 8, lambda x, y: (x * 6 + y * 3) % 256,
        after_info=palette(256, lambda i: (i, i, i)))
picture("d1_40x24_logo.bmp", 40, 24, 1, lambda x, y: int((x - 20) ** 2 + (y - 12) ** 2 < 90),
        after_info=palette(2, lambda i: (255, 255, 255) if i == 0 else (0, 0, 0)))
# A colour table shorter than the depth allows: the other indexes are white.
picture("d8_33x13_short_palette.bmp", 33, 13, 8, noise(8), after_info=palette(5))
picture("d4_9x8_short_palette.bmp", 9, 8, 4, noise(4), after_info=palette(3))
# Pixel data further on than the tables: the gap is read past.
picture("d8_9x8_gap.bmp", 9, 8, 8, noise(8), after_info=palette(256) + b"\x55" * 37)

# 16 bits: 5-5-5 without masks, 5-6-5 and odd masks with them.
masks565 = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
masks_odd = struct.pack("<III", 0x000F, 0x0FF0, 0xF000)
for width, height in ((1, 8), (7, 9), (9, 8), (33, 13), (513, 9)):
    picture(f"d16_{width}x{height}_noise.bmp", width, height, 16, noise(16))
    picture(f"d16m_{width}x{height}_noise.bmp", width, height, 16, noise(16), compression=3,
            after_info=masks565)
picture("d16m_9x8_odd_masks.bmp", 9, 8, 16, noise(16), compression=3, after_info=masks_odd)

# 24 and 32 bits.
for width, height in ((1, 8), (7, 9), (9, 8), (33, 13), (513, 9)):
    picture(f"d24_{width}x{height}_noise.bmp", width, height, 24, noise(24))
    picture(f"d32_{width}x{height}_noise.bmp", width, height, 32, noise(32))
picture("d24_64x48_gradient.bmp", 64, 48, 24, gradient_rgb(64, 48, 0))
picture("d24_64x48_gradient_noise.bmp", 64, 48, 24, gradient_rgb(64, 48, 40))
picture("d24_64x16_round_sums.bmp", 64, 16, 24, lambda x, y: rnd.choice(round_sums))
picture("d24_16x12_greys.bmp", 16, 12, 24, lambda x, y: (120 + (x + y) % 16) * 0x010101)
picture("d32_33x13_gradient_noise.bmp", 33, 13, 32,
        lambda x, y: rnd.randrange(256) << 24 | gradient_rgb(33, 13, 30)(x, y))
# A larger information header (124 bytes), skipped.
rows = pack_rows(9, 8, 24, noise(24))
add("d24_9x8_v5_header.bmp", header(9, 8, 24, info_size=124, pixel_bytes=len(rows)) + rows)

# Cut files: by a little in the pixel rows, in the tables, in the headers.
whole = files["d24_33x13_noise.bmp"]
add("cut_d24_33x13_half_row.bmp", whole[:54 + stride(33, 24) * 5 + 50])
add("cut_d24_33x13_no_rows.bmp", whole[:54])
add("cut_d16_33x13_mid_row.bmp", files["d16_33x13_noise.bmp"][:54 + stride(33, 16) * 7 + 21])
add("cut_d16m_33x13_in_masks.bmp", files["d16m_33x13_noise.bmp"][:60])
add("cut_d8_33x13_in_palette.bmp", files["d8_33x13_noise.bmp"][:54 + 400])
add("cut_d1_513x9_last_row.bmp", files["d1_513x9_noise.bmp"][:-3])
add("cut_header_30.bmp", whole[:30])
add("cut_type_only.bmp", b"BM")
add("empty.bmp", b"")

# Files refused.
add("bad_magic.bmp", b"GI" + whole[2:])
add("bad_top_down.bmp", header(9, -8, 24, pixel_bytes=len(rows)) + rows)
add("bad_rle8.bmp", header(9, 8, 8, compression=1, after_info=palette(256)) + b"\0" * 96)
add("bad_bitfields_32.bmp", header(9, 8, 32, compression=3, after_info=masks565) + b"\0" * 288)
add("bad_depth_2.bmp", header(9, 8, 2) + b"\0" * 32)
add("bad_zero_width.bmp", header(0, 8, 24))
add("bad_too_wide.bmp", header(8193, 8, 24))
# A header claiming 8192 x 2048 pixels and no pixel rows after it.
add("claims_8192x2048_no_rows.bmp", header(8192, 2048, 24, pixel_bytes=0)[:54] + b"\0" * 8)

# The large one: a 512 x 800 gradient with noise.
picture("d24_512x800_gradient_noise.bmp", 512, 800, 24, gradient_rgb(512, 800, 24))

for name, data in sorted(files.items()):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
print(len(files), "files,", sum(len(d) for d in files.values()), "bytes")

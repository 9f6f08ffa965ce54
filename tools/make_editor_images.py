#!/usr/bin/env python3
"""Draws the editor's icons and About picture and writes them beside its
resource script. The results are kept in the repository; run this again
only to change a picture. Needs ImageMagick's convert.

  velari.ico      icon 2000: the window's icon, 32x32 and 16x16, 16 colours
  track_file.ico  icon 2001: the shell's icon for track files, same sizes
  about.bmp       bitmap 2500: the About box picture, 122x83, 256 colours

ImageMagick draws every picture; the icons are packed here, because its own
icon writer turns any picture with transparent parts into 32-bit colour.
"""

import os
import struct
import subprocess
import sys

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "editor", "win32")

# The sixteen colours every display of the time could show, in the order of
# the standard palette.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Each icon image: size, background, drawing commands. Drawn without
# smoothing: sixteen colours leave no room for it.
COASTER_32 = (32, "#000080", [
    "-fill", "none", "-stroke", "#808080", "-strokewidth", "1",
    "-draw", "line 7,28 7,20", "-draw", "line 13,28 13,8", "-draw", "line 19,28 19,16",
    "-stroke", "#FFFF00", "-strokewidth", "2",
    "-draw", 'path "M 0,25 C 8,25 8,6 13,6 C 18,6 17,24 23,24 L 31,24"',
    "-draw", "circle 25,18 25,24",
    "-stroke", "#00FF00", "-draw", "line 0,30 31,30",
])
COASTER_16 = (16, "#000080", [
    "-fill", "none", "-stroke", "#808080", "-strokewidth", "1", "-draw", "line 6,14 6,5",
    "-stroke", "#FFFF00",
    "-draw", 'path "M 0,12 C 4,12 4,3 6,3 C 9,3 8,12 11,12 L 15,12"',
    "-draw", "circle 12,9 12,12",
    "-stroke", "#00FF00", "-draw", "line 0,15 15,15",
])
PAGE_32 = (32, "none", [
    "-fill", "#FFFFFF", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "polygon 5,1 20,1 27,8 27,30 5,30",
    "-fill", "#C0C0C0", "-draw", "polygon 20,1 20,8 27,8",
    "-fill", "none", "-stroke", "#FF0000", "-strokewidth", "2",
    "-draw", 'path "M 8,25 C 12,25 12,11 16,11 C 20,11 20,22 24,22"',
    "-stroke", "#000080", "-strokewidth", "1", "-draw", "line 8,27 24,27",
])
PAGE_16 = (16, "none", [
    "-fill", "#FFFFFF", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "polygon 2,0 10,0 13,3 13,15 2,15",
    "-fill", "#C0C0C0", "-draw", "polygon 10,0 10,3 13,3",
    "-fill", "none", "-stroke", "#FF0000",
    "-draw", 'path "M 4,12 C 6,12 6,5 8,5 C 10,5 10,11 12,11"',
])

# A coaster against an evening sky.
ABOUT_PICTURE = [
    "-size", "122x83", "gradient:#1E3C96-#F0C878",
    "-fill", "#2E7D32", "-stroke", "none", "-draw", "rectangle 0,70 121,82",
    "-fill", "none", "-stroke", "#5A5A5A", "-strokewidth", "2",
    "-draw", "line 20,70 20,52", "-draw", "line 40,70 40,24", "-draw", "line 60,70 60,36",
    "-draw", "line 84,70 84,58", "-draw", "line 104,70 104,46",
    "-stroke", "#B71C1C", "-strokewidth", "4",
    "-draw", 'path "M 0,66 C 22,66 30,20 42,20 C 56,20 58,62 76,62 L 121,62"',
    "-draw", "circle 96,46 96,62",
    "-fill", "#FFD54F", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "rectangle 36,13 47,19",
]


def draw_rgba(size, background, commands):
    """Pixels top row first, as (r, g, b, a) tuples."""
    raw = subprocess.run(
        ["convert", "-size", f"{size}x{size}", f"xc:{background}", "+antialias", *commands,
         "-depth", "8", "rgba:-"],
        check=True, capture_output=True).stdout
    if len(raw) != size * size * 4:
        sys.exit(f"convert gave {len(raw)} bytes for a {size}x{size} picture")
    return [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]


def nearest_vga_index(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, VGA16[i])))


def pack_rows(bits_per_pixel, values, size):
    """Bottom-up rows of packed pixels, each padded to 32 bits."""
    out = bytearray()
    per_byte = 8 // bits_per_pixel
    row_bytes = (size * bits_per_pixel + 31) // 32 * 4
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            shift = 8 - bits_per_pixel * (x % per_byte + 1)
            row[x // per_byte] |= values[y * size + x] << shift
        out += row
    return bytes(out)


def icon_image(size, background, commands):
    """One 16-colour icon image: header, palette, colour bits, mask bits."""
    pixels = draw_rgba(size, background, commands)
    transparent = [1 if p[3] < 128 else 0 for p in pixels]
    # A transparent pixel's colour bits are black, so the mask alone decides.
    colours = [0 if t else nearest_vga_index(p[:3]) for p, t in zip(pixels, transparent)]
    xor_bits = pack_rows(4, colours, size)
    and_bits = pack_rows(1, transparent, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA16)
    return size, header + palette + xor_bits + and_bits


def write_icon(name, images):
    built = [icon_image(*image) for image in images]
    directory = struct.pack("<HHH", 0, 1, len(built))
    offset = 6 + 16 * len(built)
    data = b""
    for size, image in built:
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset + len(data))
        data += image
    with open(os.path.join(OUT_DIR, name), "wb") as f:
        f.write(directory + data)


def write_about_picture(name):
    subprocess.run(["convert", *ABOUT_PICTURE, "-colors", "256", "-type", "Palette",
                    "-compress", "None", f"BMP3:{os.path.join(OUT_DIR, name)}"], check=True)
    with open(os.path.join(OUT_DIR, name), "rb") as f:
        info = struct.unpack("<IiiHH", f.read(30)[14:30])
    if info[1:] != (122, 83, 1, 8):
        sys.exit(f"{name}: expected 122x83 with 8 bits per pixel, got {info[1:]}")


def main():
    write_icon("velari.ico", [COASTER_32, COASTER_16])
    write_icon("track_file.ico", [PAGE_32, PAGE_16])
    write_about_picture("about.bmp")


if __name__ == "__main__":
    main()

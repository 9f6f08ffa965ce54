"""The programs' icon and bitmap files, written byte for byte the same each
time: ImageMagick's convert draws the pixels, and this module packs them.
ImageMagick's own writers would turn an icon with transparent parts into
32-bit colour, and order a bitmap's palette as it likes.

  write_icon(path, [(size, background, commands), ...])  16-colour icon images
  write_bitmap(path, width, height, commands)            256-colour bitmap
"""

import struct
import subprocess
import sys

# The sixteen colours every display of the time could show, in the order of
# the standard palette.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def convert_pixels(width, height, arguments, channels):
    """Pixels top row first, as tuples of channels ("rgba" or "rgb")."""
    raw = subprocess.run(["convert", *arguments, "-depth", "8", f"{channels}:-"],
                         check=True, capture_output=True).stdout
    step = len(channels)
    if len(raw) != width * height * step:
        sys.exit(f"convert gave {len(raw)} bytes for a {width}x{height} picture")
    return [tuple(raw[i:i + step]) for i in range(0, len(raw), step)]


def pack_rows(bits_per_pixel, values, width, height):
    """Bottom-up rows of packed pixels, each padded to 32 bits."""
    out = bytearray()
    per_byte = 8 // bits_per_pixel
    row_bytes = (width * bits_per_pixel + 31) // 32 * 4
    for y in reversed(range(height)):
        row = bytearray(row_bytes)
        for x in range(width):
            shift = 8 - bits_per_pixel * (x % per_byte + 1)
            row[x // per_byte] |= values[y * width + x] << shift
        out += row
    return bytes(out)


def bitmap_info(width, height, bits, image_bytes, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_bytes, 0, 0, colours, 0)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def nearest_vga_index(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, VGA16[i])))


def icon_image(size, background, commands):
    """One 16-colour icon image: header, palette, colour bits, mask bits.
    Drawn without smoothing: sixteen colours leave no room for it."""
    pixels = convert_pixels(size, size, ["-size", f"{size}x{size}", f"xc:{background}", "+antialias",
                                         *commands], "rgba")
    transparent = [1 if p[3] < 128 else 0 for p in pixels]
    # A transparent pixel's colour bits are black, so the mask alone decides.
    colours = [0 if t else nearest_vga_index(p[:3]) for p, t in zip(pixels, transparent)]
    xor_bits = pack_rows(4, colours, size, size)
    and_bits = pack_rows(1, transparent, size, size)
    header = bitmap_info(size, 2 * size, 4, len(xor_bits) + len(and_bits), 16)
    return header + palette_bytes(VGA16) + xor_bits + and_bits


def write_icon(path, images):
    built = [(image[0], icon_image(*image)) for image in images]
    directory = struct.pack("<HHH", 0, 1, len(built))
    offset = 6 + 16 * len(built)
    data = b""
    for size, image in built:
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset + len(data))
        data += image
    with open(path, "wb") as f:
        f.write(directory + data)


def reduced_pixels(width, height, commands):
    """The picture's pixels, top row first, as convert's own 256-colour
    bitmap writer reduces them (its 8-bit rounding included)."""
    data = subprocess.run(["convert", *commands, "-colors", "256", "-type", "Palette", "-compress", "None",
                           "BMP3:-"], check=True, capture_output=True).stdout
    offset, _, bmp_width, bmp_height, _, bits = struct.unpack("<IIiiHH", data[10:30])
    if (bmp_width, bmp_height, bits) != (width, height, 8):
        sys.exit(f"convert gave {bmp_width}x{bmp_height} with {bits} bits, not {width}x{height} with 8")
    palette = [(r, g, b) for b, g, r, _ in struct.iter_unpack("<BBBB", data[54:offset])]
    row_bytes = (width + 3) // 4 * 4
    rows = [data[offset + y * row_bytes:offset + y * row_bytes + width] for y in reversed(range(height))]
    return [palette[i] for row in rows for i in row]


def write_bitmap(path, width, height, commands):
    """A 256-colour bitmap of the picture commands draw, reduced to 256
    colours by convert; the palette in the order the colours first appear."""
    pixels = reduced_pixels(width, height, commands)
    palette = list(dict.fromkeys(pixels))
    if len(palette) > 256:
        sys.exit(f"{path}: {len(palette)} colours after reduction to 256")
    index = {colour: i for i, colour in enumerate(palette)}
    bits = pack_rows(8, [index[p] for p in pixels], width, height)
    palette += [(0, 0, 0)] * (256 - len(palette))
    info = bitmap_info(width, height, 8, len(bits), 256)
    offset = 14 + len(info) + 4 * 256
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset) + info +
                palette_bytes(palette) + bits)

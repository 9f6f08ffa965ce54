#!/usr/bin/env python3
"""Draws the editor's icons and About picture and writes them beside its
resource script. The results are kept in the repository; run this again
only to change a picture. Needs ImageMagick's convert.

  velari.ico      icon 2000: the window's icon, 32x32 and 16x16, 16 colours
  track_file.ico  icon 2001: the shell's icon for track files, same sizes
  about.bmp       bitmap 2500: the About box picture, 122x83, 256 colours

ImageMagick draws every picture; image_files.py writes the files.
"""

import os

import image_files

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "editor", "win32")

# Each icon image: size, background, drawing commands.
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


def main():
    image_files.write_icon(os.path.join(OUT_DIR, "velari.ico"), [COASTER_32, COASTER_16])
    image_files.write_icon(os.path.join(OUT_DIR, "track_file.ico"), [PAGE_32, PAGE_16])
    image_files.write_bitmap(os.path.join(OUT_DIR, "about.bmp"), 122, 83, ABOUT_PICTURE)


if __name__ == "__main__":
    main()

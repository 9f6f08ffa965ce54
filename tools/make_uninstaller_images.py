#!/usr/bin/env python3
"""Draws the uninstaller's icon and writes it beside its resource script,
with image_files.py. The result is kept in the repository;
run this again only to change it. Needs ImageMagick's convert.

  removal.ico  icon 100: the program's icon, 32x32 and 16x16, 16 colours
"""

import os

import image_files

UNINSTALLER_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "uninstaller")

# The installer's box, emptied, with the coaster's yellow track leaving it.
REMOVAL_32 = (32, "none", [
    "-fill", "#C0C0C0", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "polygon 4,12 20,12 20,30 4,30",
    "-fill", "#808080", "-draw", "polygon 20,12 27,7 27,25 20,30",
    "-fill", "#000000", "-draw", "polygon 4,12 11,7 27,7 20,12",
    "-fill", "none", "-stroke", "#FFFF00", "-strokewidth", "2",
    "-draw", 'path "M 12,10 C 14,2 22,2 30,1"',
    "-stroke", "#FF0000", "-draw", "line 2,2 10,10", "-draw", "line 10,2 2,10",
])
REMOVAL_16 = (16, "none", [
    "-fill", "#C0C0C0", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "polygon 2,6 10,6 10,15 2,15",
    "-fill", "#808080", "-draw", "polygon 10,6 14,3 14,12 10,15",
    "-fill", "#000000", "-draw", "polygon 2,6 6,3 14,3 10,6",
    "-fill", "none", "-stroke", "#FF0000", "-draw", "line 0,0 4,4", "-draw", "line 4,0 0,4",
])


def main():
    image_files.write_icon(os.path.join(UNINSTALLER_DIR, "removal.ico"), [REMOVAL_32, REMOVAL_16])


if __name__ == "__main__":
    main()

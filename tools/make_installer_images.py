#!/usr/bin/env python3
"""Draws the installer's icons and banner and writes them beside its
resource script, with image_files.py. The results are kept in
the repository; run this again only to change a picture. Needs ImageMagick's
convert.

  installer.ico      icon 300: the program's icon, 32x32 and 16x16, 16 colours
  drive.ico          icon 307: a hard disk, 16x16, 16 colours
  folder_closed.ico  icon 308: a closed folder, 16x16, 16 colours
  folder_open.ico    icon 309: an open folder, 16x16, 16 colours
  banner.bmp         bitmap 400: the pages' banner, 122x83, 256 colours
"""

import os

import image_files

INSTALLER_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "installer")

# A box with the coaster's yellow track running into it.
SETUP_32 = (32, "none", [
    "-fill", "#C0C0C0", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "polygon 4,12 20,12 20,30 4,30",
    "-fill", "#808080", "-draw", "polygon 20,12 27,7 27,25 20,30",
    "-fill", "#FFFFFF", "-draw", "polygon 4,12 11,7 27,7 20,12",
    "-fill", "none", "-stroke", "#FFFF00", "-strokewidth", "2",
    "-draw", 'path "M 1,4 C 8,4 10,18 12,22"',
    "-stroke", "#000080", "-draw", "line 9,20 15,24",
])
SETUP_16 = (16, "none", [
    "-fill", "#C0C0C0", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "polygon 2,6 10,6 10,15 2,15",
    "-fill", "#808080", "-draw", "polygon 10,6 14,3 14,12 10,15",
    "-fill", "#FFFFFF", "-draw", "polygon 2,6 6,3 14,3 10,6",
    "-fill", "none", "-stroke", "#FFFF00", "-draw", 'path "M 0,1 C 4,1 5,8 6,11"',
])
DRIVE_16 = (16, "none", [
    "-fill", "#C0C0C0", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "rectangle 1,5 14,11",
    "-fill", "#808080", "-stroke", "none", "-draw", "rectangle 2,9 13,10",
    "-fill", "#00FF00", "-draw", "rectangle 11,7 12,7",
])
FOLDER_CLOSED_16 = (16, "none", [
    "-fill", "#FFFF00", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "polygon 1,3 6,3 7,5 14,5 14,13 1,13",
    "-stroke", "#808000", "-draw", "line 2,6 13,6",
])
FOLDER_OPEN_16 = (16, "none", [
    "-fill", "#808000", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "polygon 1,3 6,3 7,5 12,5 12,13 1,13",
    "-fill", "#FFFF00", "-draw", "polygon 3,8 15,8 12,13 1,13",
])

# A coaster running down into an unpacked box, against a morning sky.
BANNER_PICTURE = [
    "-size", "122x83", "gradient:#F0C878-#1E3C96",
    "-fill", "#2E7D32", "-stroke", "none", "-draw", "rectangle 0,72 121,82",
    "-fill", "#C8A064", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "polygon 70,44 112,44 112,76 70,76",
    "-fill", "#E6C088", "-draw", "polygon 70,44 80,34 122,34 112,44",
    "-fill", "none", "-stroke", "#5A5A5A", "-strokewidth", "2",
    "-draw", "line 16,72 16,30", "-draw", "line 40,72 40,22",
    "-stroke", "#B71C1C", "-strokewidth", "4",
    "-draw", 'path "M 0,40 C 14,20 30,14 40,18 C 54,24 60,50 78,54"',
    "-fill", "#FFD54F", "-stroke", "#000000", "-strokewidth", "1",
    "-draw", "rectangle 34,10 45,16",
]


def main():
    for name, images in [("installer.ico", [SETUP_32, SETUP_16]), ("drive.ico", [DRIVE_16]),
                         ("folder_closed.ico", [FOLDER_CLOSED_16]), ("folder_open.ico", [FOLDER_OPEN_16])]:
        image_files.write_icon(os.path.join(INSTALLER_DIR, name), images)
    image_files.write_bitmap(os.path.join(INSTALLER_DIR, "banner.bmp"), 122, 83, BANNER_PICTURE)


if __name__ == "__main__":
    main()

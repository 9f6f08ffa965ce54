#!/usr/bin/env python3
"""Writes a zip of the files given, in the order given, that depends on
nothing but their names and contents: every entry gets the same time
(SOURCE_DATE_EPOCH, in UTC) and the same attributes, and no extra
fields, so the same files always make the same bytes.

  SOURCE_DATE_EPOCH=<seconds> write_zip.py ZIP FOLDER NAME...
"""

import os
import sys
import time
import zipfile


def main():
    zip_path, folder, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    # A zip can't hold a time before 1980.
    seconds = max(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), 315532800)
    stamp = time.gmtime(seconds)[:6]
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name in names:
            entry = zipfile.ZipInfo(name, stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 3  # Unix: readable by all, whoever built it
            entry.external_attr = 0o100644 << 16
            with open(os.path.join(folder, name), "rb") as f:
                archive.writestr(entry, f.read(), compresslevel=9)


if __name__ == "__main__":
    main()

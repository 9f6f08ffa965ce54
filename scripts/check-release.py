#!/usr/bin/env python3
"""Checks the programs of both releases without running them: install.exe,
each program inside the compressed files (expanded with the host's
msexpand) and the setup program beside the zip must be a GUI program of
its release's width, with address space layout randomisation and no
execution from data (64-bit: over all of the address space), import only
DLLs that Windows always loads from its own folder, and carry the same
version resource and manifest in both widths, the width aside. Prints one
line per program; exits 1 on the first fault.

  check-release.py DIST_32BIT DIST_64BIT SETUP_32BIT SETUP_64BIT
"""

import re
import struct
import subprocess
import sys
from pathlib import Path

PROGRAMS = ["install.exe", "Removal.ex_", "Velari.ex_"]
# Known DLLs: the system loads them from its own folder, never from the program's.
KNOWN_DLLS = {"advapi32", "comdlg32", "gdi32", "imm32", "kernel32", "msvcrt", "ole32", "oleaut32",
              "rpcrt4", "shell32", "shlwapi", "user32", "ws2_32"}
# name: machine, optional header magic, the DllCharacteristics required
WIDTHS = {"32-bit": (0x14C, 0x10B, 0x0140), "64-bit": (0x8664, 0x20B, 0x0160)}
GUI, RT_VERSION, RT_MANIFEST = 2, 16, 24


class Program:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE program")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem, self.characteristics = struct.unpack_from("<HH", data, optional + 68)
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.directory = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(3)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(sections)]

    def at(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return rva - address + raw
        raise ValueError(f"address {rva:#x} in no section")

    def text(self, rva):
        start = self.at(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        names, entry = [], self.at(self.directory[1][0])
        while struct.unpack_from("<5I", self.data, entry)[3]:
            names.append(self.text(struct.unpack_from("<5I", self.data, entry)[3]))
            entry += 20
        return names

    def resource(self, kind):
        """The first language's data of the first resource of that kind, or None."""
        base = self.at(self.directory[2][0])
        offset = 0
        for level in range(3):
            named, numbered = struct.unpack_from("<HH", self.data, base + offset + 12)
            entries = [struct.unpack_from("<II", self.data, base + offset + 16 + 8 * i) for i in range(named + numbered)]
            found = [target for name, target in entries if level or name == kind]
            if not found:
                return None
            offset = found[0] & 0x7FFFFFFF
        rva, size = struct.unpack_from("<II", self.data, base + offset)
        return self.data[self.at(rva):self.at(rva) + size]


def version_entries(data, at=0, end=None, path=""):
    """A version resource's blocks and values as (path, type, value) rows."""
    rows, end = [], len(data) if end is None else end
    while at + 6 <= end:
        length, value_length, kind = struct.unpack_from("<HHH", data, at)
        if length == 0:
            break
        key_end = at + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[at + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        value_size = value_length * 2 if kind == 1 else value_length
        rows.append((path + "/" + key, kind, data[value_at:value_at + value_size]))
        rows += version_entries(data, (value_at + value_size + 3) & ~3, at + length, path + "/" + key)
        at = (at + length + 3) & ~3
    return rows


def check(width, name, program):
    machine, magic, required = WIDTHS[width]
    if (program.machine, program.magic, program.subsystem) != (machine, magic, GUI):
        return f"not a {width} GUI program (machine {program.machine:#x}, magic {program.magic:#x}, subsystem {program.subsystem})"
    if program.characteristics & required != required:
        return f"DllCharacteristics {program.characteristics:#06x} lacks {required & ~program.characteristics:#06x}"
    manifest = program.resource(RT_MANIFEST) or b""
    for dll in program.imports():
        base = dll.lower().removesuffix(".dll")
        # The manifest's version of the common controls comes from the system's
        # side-by-side store before any folder is looked at.
        if base not in KNOWN_DLLS and not (base == "comctl32" and b"Microsoft.Windows.Common-Controls" in manifest):
            return f"imports {dll}, which Windows may take from the program's folder"
    return None


def main():
    seen = {}
    if len(sys.argv) != 5:
        sys.exit("usage: check-release.py DIST_32BIT DIST_64BIT SETUP_32BIT SETUP_64BIT")
    for width, folder, setup in zip(WIDTHS, sys.argv[1:3], sys.argv[3:5]):
        for name in PROGRAMS + ["setup"]:
            path = Path(setup) if name == "setup" else Path(folder, name)
            data = path.read_bytes() if path.name.endswith(".exe") else \
                subprocess.run(["msexpand"], input=path.read_bytes(), capture_output=True, check=True).stdout
            program = Program(data)
            fault = check(width, name, program)
            if fault:
                sys.exit(f"{path}: {fault}")
            manifest = re.sub(rb'processorArchitecture="[^"]*"', b"", program.resource(RT_MANIFEST) or b"none")
            # The setup program's file name says its width.
            version = [(key, kind, value.replace("-x64-".encode("utf-16-le"), "-".encode("utf-16-le")))
                       for key, kind, value in version_entries(program.resource(RT_VERSION) or b"")]
            both = seen.setdefault(name, (version, manifest))
            if both != (version, manifest):
                sys.exit(f"{path}: its version resource or manifest differs from the other width's")
            print(f"{width} {path.name}: GUI, ASLR and DEP, known DLLs only, version and manifest as the other width's")


if __name__ == "__main__":
    main()

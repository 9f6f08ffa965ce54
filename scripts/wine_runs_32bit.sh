#!/bin/sh
# Whether Wine can start a 32-bit Windows program on this machine: its
# 32-bit loader is a 32-bit Linux program, and a kernel built or booted with
# 32-bit emulation off can't run it ("Exec format error"). VELARI_NO_WINE32=1
# says no, to build and test as such a machine does. Exits 0 when it can;
# otherwise says why and exits 77, the code the Windows tests report as
# skipped rather than failed.
if [ "${VELARI_NO_WINE32:-}" = 1 ]; then
    echo "VELARI_NO_WINE32=1: no 32-bit program is started under Wine." >&2
    exit 77
fi
if wine --version >/dev/null 2>&1; then
    exit 0
fi
echo "Wine can't start 32-bit programs on this machine ($(wine --version 2>&1 | tail -n 1)):" \
     "the Windows tests are skipped." >&2
exit 77

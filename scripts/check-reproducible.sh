#!/bin/sh
# Builds both releases a second time, from the same sources into another
# folder, in another time zone, locale and umask, and checks that each
# width's programs, stripped copies, distribution, zip, setup program and
# their checksum files come out byte for byte as in build/. Prints the
# SHA-256 of both zips and both setup programs, checked against their
# .sha256 files. Run after scripts/build.sh.
#   scripts/check-reproducible.sh [SECOND_FOLDER]
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
FIRST=$ROOT/build
SECOND=${1:-$ROOT/build-second}
VERSION=$(sed -n 's/^project(Velari VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")

# What the first build did not have: a time zone far from UTC (a POSIX rule,
# no time zone data needed), the other of C and C.UTF-8, another umask.
case "${TZ:-}" in ABC-13:45) tz=XYZ+11 ;; *) tz=ABC-13:45 ;; esac
case "$(locale 2>/dev/null | sed -n 's/^LC_CTYPE="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p')" in
  C.UTF-8|C.utf8) language=C ;; *) language=C.UTF-8 ;; esac
case "$(umask)" in 0077|077) mask=022 ;; *) mask=077 ;; esac
echo "second build in $SECOND, TZ=$tz, LC_ALL=$language, umask $mask"
(umask "$mask" && export TZ="$tz" LC_ALL="$language" LANG="$language" &&
  cmake -S "$ROOT" -B "$SECOND" -DVELARI_TESTS=OFF >/dev/null && cmake --build "$SECOND" -j2 >/dev/null)

differ=0
for width in 32 64; do
  suffix=""
  [ "$width" = 64 ] && suffix=-x64
  compared=""
  for file in win$width/bin/install.exe win$width/bin/Removal.exe win$width/bin/Velari.exe \
              stripped$suffix/install.exe stripped$suffix/Removal.exe stripped$suffix/Velari.exe \
              $(cd "$FIRST" && ls dist$suffix/*) Velari-$VERSION$suffix-setup.zip Velari-$VERSION$suffix-setup.zip.sha256 \
              Velari-$VERSION$suffix-setup.exe Velari-$VERSION$suffix-setup.exe.sha256; do
    if ! cmp -s "$FIRST/$file" "$SECOND/$file"; then
      echo "differs between two builds: $file ($(cmp "$FIRST/$file" "$SECOND/$file" 2>&1 | head -1))"
      differ=1
    fi
    compared="$compared $file"
  done
  # Three programs, their stripped copies, six files of the distribution, the zip, the setup
  # program and their checksums, each of its width, each once.
  own="^(win$width/|stripped$suffix/|dist$suffix/|Velari-$VERSION$suffix-setup\.(zip|exe))"
  count=$(printf '%s\n' $compared | sort -u | grep -c -E "$own")
  if [ "$count" -ne 16 ]; then
    echo "the $width-bit release: $count files of its own compared, not 16"
    differ=1
  fi
done
[ "$differ" -eq 0 ] || exit 1
cd "$FIRST"
sums="Velari-$VERSION-setup.zip.sha256 Velari-$VERSION-x64-setup.zip.sha256 Velari-$VERSION-setup.exe.sha256 Velari-$VERSION-x64-setup.exe.sha256"
sha256sum -c $sums
cat $sums
echo "two builds are identical: both widths, 16 files each"

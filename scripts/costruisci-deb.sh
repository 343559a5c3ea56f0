#!/usr/bin/env bash
# Builds Cifrolandia's Debian binary packages from this tree as it stands (edits not yet
# committed included), with dpkg-buildpackage, in a copy of the tree under DEST: the tree
# itself gets none of debhelper's files, and the packages land in DEST.
# Usage: costruisci-deb.sh DEST [more options for dpkg-buildpackage]
# DEB_BUILD_OPTIONS passes on (nocheck: no tests, and none compiled; parallel=N).
set -euo pipefail
radice=$(cd "$(dirname "$0")/.." && pwd)
destinazione=$1
shift

# The upstream version is CMake's; the newest entry of debian/changelog must carry it.
versione=$(sed -n 's/^project(cifrolandia VERSION \([^ ]*\) .*/\1/p' "$radice/CMakeLists.txt")
debian=$(dpkg-parsechangelog -l "$radice/debian/changelog" -S Version)
[ "${debian%-*}" = "$versione" ] || {
    echo "debian/changelog è alla versione $debian, CMakeLists.txt alla $versione" >&2
    exit 1
}

mkdir -p "$destinazione"
destinazione=$(cd "$destinazione" && pwd)
copia=$destinazione/cifrolandia-$versione
rm -rf "$copia"
mkdir "$copia"
# The files git knows or would add, as they are now; without git (an unpacked tarball), every
# file but the build directories and the packages made before.
if git -C "$radice" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$radice" ls-files -z --cached --others --exclude-standard |
        (cd "$radice" && xargs -0 -r sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' -) |
        tar -C "$radice" --null -T - -cf - | tar -C "$copia" -xf -
else
    tar -C "$radice" --exclude='./build*' --exclude='./cifrolandia_*' -cf - . | tar -C "$copia" -xf -
fi
# Every file dated at the newest changelog entry (SOURCE_DATE_EPOCH, which dpkg-deb also
# clamps the built files to): the packages do not depend on when the tree was checked out.
# An entry dated in the future would make make(1) see every file as newer than what it builds.
epoca=$(dpkg-parsechangelog -l "$radice/debian/changelog" -S Timestamp)
((epoca <= $(date +%s))) || { echo "debian/changelog: data nel futuro" >&2; exit 1; }
find "$copia" -exec touch --no-dereference -d "@$epoca" {} +
cd "$copia"
dpkg-buildpackage -us -uc -b "$@"

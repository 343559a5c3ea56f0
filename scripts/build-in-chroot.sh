#!/usr/bin/env bash
# Builds Cifrolandia's source package the way a distribution does, in a clean Debian system:
# debootstraps RELEASE (bookworm, trixie...) into $BUILD/chroot-RELEASE, unpacks there the
# source package of the last commit (make source-package), installs its build dependencies with
# apt-get build-dep alone, builds it as an ordinary user (tests included), installs the result
# and runs its autopkgtest (debian/tests) against it. Reuses the chroot of an earlier run.
# Usage: scripts/build-in-chroot.sh RELEASE     (as root; downloads a few hundred MB at first)
# MIRROR= the Debian mirror; by default the one this computer's apt uses. DEB_BUILD_OPTIONS
# passes on to the build in the chroot (nocheck: without the build-time tests).
set -euo pipefail
rilascio=${1:?uso: build-in-chroot.sh bookworm|trixie}
radice=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-build}
[ "$(id -u)" -eq 0 ] || { echo "serve root (debootstrap, chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null ||
    apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends debootstrap

# The mirror apt already reaches here: the repository of this computer's own Debian packages.
specchio=${MIRROR:-$(apt-get indextargets --format '$(REPO_URI)' 'Created-By: Packages' |
    grep -v -e -security -e -updates | sort -u | head -1)}
[ -n "$specchio" ] || { echo "nessun archivio Debian tra le fonti di apt: MIRROR=..." >&2; exit 1; }

cd "$radice"
make -s source-package BUILD="$build"
chroot=$radice/$build/chroot-$rilascio
if [ ! -x "$chroot/usr/bin/apt-get" ]; then
    rm -rf "$chroot"
    debootstrap --variant=buildd "$rilascio" "$chroot" "$specchio"
fi
# The same settings for apt as this computer (a mirror without fresh dates, for instance).
cp /etc/apt/apt.conf.d/99* "$chroot/etc/apt/apt.conf.d/" 2>/dev/null || true
echo "deb-src $specchio $rilascio main" >"$chroot/etc/apt/sources.list.d/sorgenti.list"

montati=()
monta() { mount "$@" && montati=("${@: -1}" "${montati[@]}"); }
smonta() { for m in "${montati[@]}"; do umount -R -l "$m" || true; done; }
trap smonta EXIT
monta -t proc proc "$chroot/proc"
monta --rbind /dev "$chroot/dev"
monta -t tmpfs tmpfs "$chroot/tmp"

rm -rf "$chroot/srv/cifrolandia"
mkdir -p "$chroot/srv/cifrolandia"
cp "$build"/sorgente/cifrolandia_* "$chroot/srv/cifrolandia/"

inizio=$SECONDS
chroot "$chroot" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive OPZIONI="${DEB_BUILD_OPTIONS:-parallel=$(nproc)}" /bin/bash -euo pipefail -c '
apt-get update -q
apt-get install -y -q --no-install-recommends autopkgtest >/dev/null
cd /srv/cifrolandia
id costruttore >/dev/null 2>&1 || useradd --create-home costruttore
chown -R costruttore: .
runuser -u costruttore -- dpkg-source -x cifrolandia_*.dsc sorgente
apt-get build-dep -y -q ./sorgente
cd sorgente
runuser -u costruttore -- env DEB_BUILD_OPTIONS="$OPZIONI" dpkg-buildpackage -us -uc
cd ..
apt-get install -y -q ./cifrolandia_*_$(dpkg --print-architecture).deb
autopkgtest --no-built-binaries ./sorgente -- null
'
echo "$rilascio: compilato, installato e verificato in $((SECONDS - inizio)) s"

#!/usr/bin/env bash
# Installs every Debian package that building, playing and testing Cifrolandia needs.
# Safe to run again: packages already present are skipped, and apt is only called when something is missing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config               # build
    ninja-build                             # make mutate: one mutant rebuilt at a time
    qt6-base-dev qt6-base-dev-tools libgl-dev # Qt 6 Widgets and QtTest
    qt6-svg-dev                             # the pictures of a larger window, from their SVGs
    qt6-charts-dev                          # the "Risultati" window's chart of right and wrong answers
    libqt6opengl6-dev                       # needed by Qt Charts' CMake files, which Debian does not pull in
    qt6-translations-l10n                   # Qt's own Italian strings ("Sì", "Annulla")
    fonts-liberation fonts-dejavu-core      # the game's fonts
    libgtest-dev                            # core unit tests
    clang-14 libclang-rt-14-dev             # libFuzzer targets (fuzz/)
    xvfb xauth xdotool imagemagick          # end-to-end tests under a virtual X server
    libxcb1-dev libxcb-damage0-dev libxcb-xtest0-dev # make bench: windows watched and typed into
    dbus-daemon at-spi2-core                # the screen readers' bus, for the accessibility test
    orca dbus-x11                           # a game played by ear: what Orca says
    build-essential dpkg-dev debhelper file # make package: dpkg-buildpackage and dh (debian/)
    appstream lintian man-db                # the package test: metainfo, Debian's rules, man page
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installazione dei pacchetti mancanti: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"

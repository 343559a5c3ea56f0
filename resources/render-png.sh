#!/bin/sh
# Regenerates every PNG picture of Cifrolandia from its SVG drawing.
# Needs rsvg-convert (Debian package librsvg2-bin). Run it from anywhere:
#     sh resources/render-png.sh
# and commit the SVGs together with the PNGs it writes.
set -eu

cd "$(dirname "$0")"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "render-png.sh: rsvg-convert not found (apt-get install librsvg2-bin)" >&2
    exit 1
fi

render() {  # render SVG SIZE OUTPUT
    rsvg-convert --width "$2" --height "$2" --format png --output "$3" "$1"
    echo "  $3"
}

# Application icon: freedesktop hicolor theme sizes, plus the scalable drawing.
icon=icons/cifrolandia.svg
for n in 16 32 48 64 128 256; do
    mkdir -p "icons/hicolor/${n}x${n}/apps"
    render "$icon" "$n" "icons/hicolor/${n}x${n}/apps/cifrolandia.png"
done
mkdir -p icons/hicolor/scalable/apps
cp "$icon" icons/hicolor/scalable/apps/cifrolandia.svg
echo "  icons/hicolor/scalable/apps/cifrolandia.svg"

# Pictures of the game window: 16 and 32 px, and 64 px for the 32 px
# picture on screens with a device pixel ratio of 2.
for name in cronometro faccia-sorridente faccia-neutra faccia-ridente divieto; do
    for n in 16 32 64; do
        render "pictures/$name.svg" "$n" "pictures/$name-$n.png"
    done
done

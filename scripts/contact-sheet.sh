#!/usr/bin/env bash
# Renders every model of the game with `steel_data render` and puts the pictures together into
# one contact sheet, so the whole set can be looked at in one go.
#
#   scripts/contact-sheet.sh [BUILD_DIR] [OUT]
#
# BUILD_DIR defaults to build/debug (or build, where only the release build exists); OUT
# defaults to contact-sheet.png in the current folder.
set -euo pipefail

build=${1:-}
if [ -z "$build" ]; then
    if [ -x build/debug/bin/steel_data ]; then build=build/debug; else build=build; fi
fi
out=${2:-contact-sheet.png}
tool="$build/bin/steel_data"
gfx="$build/game/gfx"
[ -x "$tool" ] || { echo "contact-sheet: no $tool (build the project first)" >&2; exit 1; }
[ -d "$gfx" ] || { echo "contact-sheet: no $gfx (the build generates it)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
n=0

# render LABEL MODEL TEXTURE FRAME YAW: TEXTURE is a bmp name under gfx/ or "-" for none.
render() {
    local label=$1 model=$2 texture=$3 frame=$4 yaw=$5
    local args=(render "$gfx/$model.ddd" --out "$tmp/$n.bmp" --frame "$frame" --yaw "$yaw" --cel)
    [ "$texture" != "-" ] && args+=(--texture "$gfx/$texture.bmp")
    if "$tool" "${args[@]}" >/dev/null; then
        /usr/bin/convert "$tmp/$n.bmp" -set label "$label" "$tmp/$(printf %02d $n).png"
    else
        echo "contact-sheet: could not render $model" >&2
    fi
    n=$((n + 1))
}

render "girder"               stahltraeger        stahltraeger   0 35
render "girder middle"        stahltraeger_mitte  stahltraeger   0 35
render "girder end"           stahltraeger_seite  stahltraeger   0 35
render "girder (static tex)"  stahltraeger        stahltraeger_static 0 35
render "floor"                boden               -              0 35
render "lift"                 aufzug              -              0 35
render "remote"               remote              remote         0 35
render "bolt"                 schraube            schraube       0 35
render "bolt (wrong place)"   schraube            schraube_doof  0 35
for f in 0 1 2 3 4 5; do
    render "worker frame $f"  worker              worker         "$f" 60
done
render "lives"                status_01           worker         0 135
render "alarm clock"          status_02           wecker         0 45
render "score"                status_03           -              0 32
render "logo"                 logo                -              0 90
render "city"                 Stadt               Stadt          0 45
render "sky dome"             skydome             hintergrund    0 0
render "map sky"              skydome-sky         hintergrund_sky 0 0
render "ride layer"           skydome-superman    superman       0 0

/usr/bin/montage "$tmp"/*.png -tile 6x -geometry +4+4 -background '#202428' -fill white "$out"
echo "contact sheet: $out"

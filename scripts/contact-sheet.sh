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

# Headless: no window on screen, Mesa's software renderer; the sanitizer build's leak check off
# (Mesa keeps allocations until exit).
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export LIBGL_ALWAYS_SOFTWARE=${LIBGL_ALWAYS_SOFTWARE:-1}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
n=0

# render LABEL MODEL TEXTURE FRAME YAW [plain]: TEXTURE is a bmp name under gfx/ or "-" for
# none. The camera looks from +z; models are cel-shaded with outlines unless "plain" (the sky
# domes, seen from inside: from outside the outline of their near side would hide them).
render() {
    local label=$1 model=$2 texture=$3 frame=$4 yaw=$5 style=${6:-cel}
    local args=(render "$gfx/$model.ddd" --out "$tmp/$n.bmp" --frame "$frame" --yaw "$yaw")
    [ "$style" = cel ] && args+=(--cel)
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
# The other side: the end piece's open end with its splice plates, the middle piece's joint.
render "girder end, joint side" stahltraeger_seite stahltraeger  0 -145
render "girder middle, joint" stahltraeger_mitte  stahltraeger   0 -145
render "girder (static tex)"  stahltraeger        stahltraeger_static 0 35
render "floor"                boden               -              0 35
render "lift"                 aufzug              -              0 35
render "remote"               remote              remote         0 35
render "bolt"                 schraube            schraube       0 35
render "bolt (wrong place)"   schraube            schraube_doof  0 35
for f in 0 1 2 3 4 5; do
    render "worker frame $f"  worker              worker         "$f" -60
done
render "lives"                status_01           worker         0 45
render "alarm clock"          status_02           wecker         0 20
render "score"                status_03           -              0 -58
render "logo"                 logo                -              0 0
render "city"                 Stadt               Stadt          0 45
render "sky dome"             skydome             hintergrund    0 0 plain
render "map sky"              skydome-sky         hintergrund_sky 0 0 plain
render "ride layer"           skydome-superman    superman       0 0 plain

# The two bitmap fonts, enlarged without smoothing so their pixels show.
for font in bigfont smalfont; do
    if [ -f "$build/game/$font.bmp" ]; then
        /usr/bin/convert "$build/game/$font.bmp" -filter point -resize 800x600 \
            -background "#202428" -gravity center -extent 800x600 -set label "$font.bmp" \
            "$tmp/$(printf %02d $n).png"
        n=$((n + 1))
    fi
done

# Labels in the system's sans face (ImageMagick's default font may be missing).
label_font=()
dejavu=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[ -f "$dejavu" ] && label_font=(-font "$dejavu")
/usr/bin/montage "$tmp"/*.png "${label_font[@]}" -tile 6x -geometry 400x300+4+4 -pointsize 18 -background "#202428" -fill white "$out"
echo "contact sheet: $out"

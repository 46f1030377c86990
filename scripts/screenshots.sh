#!/usr/bin/env bash
# Makes the README's pictures from scripted runs of the real game: the menu, a level in play,
# the map view, the lift ride and the level editor, as PNG files under docs/.
#
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
#
# BUILD_DIR defaults to build (the release build; build/debug where only that exists); OUT_DIR
# defaults to docs/. The runs are deterministic: the same build gives the same pictures.
set -euo pipefail

build=${1:-}
if [ -z "$build" ]; then
    if [ -x build/game/steel_spree ]; then build=build; else build=build/debug; fi
fi
out=${2:-docs}
game="$build/game/steel_spree"
[ -x "$game" ] || { echo "screenshots: no $game (build the project first)" >&2; exit 1; }
command -v convert >/dev/null || { echo "screenshots: needs ImageMagick's convert" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)
solution="$(cd "$(dirname "$0")/.." && pwd)/data/levels/solutions/level1.txt"

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export LIBGL_ALWAYS_SOFTWARE=${LIBGL_ALWAYS_SOFTWARE:-1}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# shot NAME OPTIONS SCRIPT: runs the game on the script (which writes shot.bmp), keeps NAME.png.
shot() {
    local name=$1 options=$2 script=$3
    printf '%s' "$script" > "$tmp/script.txt"
    rm -f "$tmp/shot.bmp"
    # shellcheck disable=SC2086
    (cd "$tmp" && TMPDIR="$tmp" "$OLDPWD/$game" --script script.txt --max-ms 120000 $options \
        > "$tmp/out.txt" 2>&1) || { cat "$tmp/out.txt" >&2; exit 1; }
    convert "$tmp/shot.bmp" "$out/$name.png"
    echo "$out/$name.png"
}

# The splash and the intro skipped (space, left Ctrl), the logo's flight, the menu box down.
skip_intro=$'100 key 57 down\n250 key 57 up\n300 key 29 down\n450 key 29 up\n'
shot screenshot-menu "" "${skip_intro}7600 screenshot shot.bmp
7700 close
"
shot screenshot-play "--level 6" $'1500 key 205 down\n2100 key 205 up\n4500 screenshot shot.bmp\n4600 close\n'
shot screenshot-map "--level 6" $'3000 key 50 down\n4400 screenshot shot.bmp\n4500 key 50 up\n4600 close\n'
# Level 1's solution up to the lift ride.
ride=$(grep -v -e dump -e close "$solution")
shot screenshot-ride "--level 1" "$ride
15500 screenshot shot.bmp
15600 close
"
# The editor draws a frame only after input: the close comes well after the screenshot.
shot screenshot-editor "" "${skip_intro}2800 key 63 down
2950 key 63 up
4000 screenshot shot.bmp
4800 close
"

#!/usr/bin/env bash
# Installs the Debian packages the project needs, and only those that are missing.
# `install-deps.sh fuzz` adds what the fuzz campaigns need (clang and its libFuzzer runtime).
set -euo pipefail

PACKAGES=(
    build-essential cmake pkg-config
    libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
    libopenmpt-dev openmpt123
    libpng-dev
    libgtest-dev libgmock-dev
    xvfb xauth
    imagemagick sox
    libfreetype-dev fonts-dejavu-core
)
if [ "${1:-}" = fuzz ]; then
    PACKAGES+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Folioscriptor need.
# Quick when everything is already there: apt-get runs only for what is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    qt6-base-dev libgl-dev qt6-image-formats-plugins
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation2
    xvfb xauth
    clang libclang-rt-14-dev
    libjpeg-turbo-progs imagemagick poppler-utils
    libjpeg62-turbo-dev libstb-dev
    desktop-file-utils appstream libxml2-utils shared-mime-info xdg-utils libglib2.0-bin xdotool
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

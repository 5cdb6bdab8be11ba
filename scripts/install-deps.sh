#!/usr/bin/env bash
# Installs the Debian packages pTarmak needs, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite
          fonts-ipafont-gothic fonts-ipafont-mincho
          xvfb openbox xdotool x11-utils pxlib-dev pkg-config
          poppler-utils qt6-translations-l10n postgresql libqt6sql6-psql
          libxlsxwriter-dev python3-openpyxl
          dpkg-dev file lintian librsvg2-bin g++-mingw-w64-x86-64-posix)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q "${missing[@]}"

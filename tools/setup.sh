#!/usr/bin/env bash
# Installs what building and running Zelvor on Debian needs, and only what is missing.
set -euo pipefail

packages=(g++ make g++-mingw-w64-i686 wine wine32:i386 fonts-wine xvfb googletest cmake x11-utils imagemagick nsis zip unzip)

missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null

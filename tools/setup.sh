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
# A mirror in the middle of a sync fails one index now and then: try again a few times, and if an index
# still fails, go on with what was fetched, since the packages may well be in it.
for attempt in 1 2 3 4 5; do
    $SUDO apt-get -o Acquire::Retries=3 update -qq && break
    echo "apt-get update failed (attempt $attempt); trying again in $((attempt * 15)) s" >&2
    sleep $((attempt * 15))
done
for attempt in 1 2 3; do
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o Acquire::Retries=3 install -y -qq "${missing[@]}" >/dev/null && exit 0
    echo "apt-get install failed (attempt $attempt)" >&2
    [ "$attempt" -lt 3 ] && { sleep 30; $SUDO apt-get -o Acquire::Retries=3 update -qq || true; }
done
exit 1

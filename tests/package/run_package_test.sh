#!/usr/bin/env bash
# Runs the package test in a fresh Wine prefix of its own, with a wineserver of its own that ends with it.
# Usage: run_package_test.sh PREFIX package_test.exe SETUP.exe ZIP
set -euo pipefail
trap 'echo "run_package_test.sh: line $LINENO failed: $BASH_COMMAND" >&2' ERR
prefix="$1" test_exe="$2" setup="$3" zip="$4"

export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
# No Mono or Gecko install prompts, and no menu entries on the Linux desktop for the Start-menu shortcut.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
: "${DISPLAY:?the package test needs the display tools/test.sh provides}"

rm -rf "$prefix"
mkdir -p "$prefix"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
echo "Preparing a fresh Wine prefix: $prefix"
# The server detaches itself once it listens: the first wine command then finds it, never a second one.
wineserver -p </dev/null >/dev/null 2>&1
# Wine's helper processes keep their output open long after: a file, not a pipe, takes it.
log="$(dirname "$prefix")/wineboot.log"
if ! wine wineboot -i </dev/null >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
# On a display without a window manager, Wine manages the windows itself (see tools/wine-env.sh).
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1

# The names the test looks for: the installer as downloaded, the zip unpacked as a user would.
mkdir -p "$prefix/drive_c/dist" "$prefix/drive_c/Zelvor тест/Распакованный"
cp "$setup" "$prefix/drive_c/dist/"
unzip -q "$zip" -d "$prefix/drive_c/Zelvor тест/Распакованный"

wine "$test_exe" </dev/null

#!/usr/bin/env bash
# Builds what running Zelvor needs (the program and its help: the target zelvor_run) and starts it; the test,
# bench and package scripts build the rest. Without a display it runs on a virtual one, saves a screenshot of
# the main window and says where. The Wine server it started ends with it.
set -euo pipefail
ZELVOR_BUILD_TARGET=zelvor_run
source "$(dirname "$0")/build.sh"
source "$ROOT/tools/wine-env.sh"
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
trap zelvor_stop_all EXIT
zelvor_start_display
zelvor_start_wine
cd "$BUILD_DIR"
if [ $headless -eq 0 ]; then
    wine ./Zelvor.exe
    exit 0
fi
wine ./Zelvor.exe </dev/null >/dev/null 2>&1 &
shot="$BUILD_DIR/zelvor-screenshot.png"
for _ in $(seq 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Zelvor - version'; then break; fi
    sleep 0.2
done
sleep 2
id=$(xwininfo -root -tree | grep '"Zelvor - version' | head -n 1 | awk '{print $1}')
if [ -n "$id" ]; then
    import -window "$id" "$shot"
else
    import -window root "$shot"
fi
echo "Zelvor started on a virtual display; screenshot of its main window: $shot"

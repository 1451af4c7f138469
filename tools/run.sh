#!/usr/bin/env bash
# Builds Zelvor and starts it. Without a display it runs on a virtual one, saves a screenshot of the
# main window and says where.
set -euo pipefail
source "$(dirname "$0")/build.sh"
source "$ROOT/tools/wine-env.sh"
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
zelvor_start_display
zelvor_start_wine
cd "$BUILD_DIR"
if [ $headless -eq 0 ]; then
    wine ./Zelvor.exe
    exit 0
fi
trap zelvor_stop_all EXIT
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

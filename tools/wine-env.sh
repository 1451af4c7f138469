# Sourced by the run, test and bench scripts: a private 32-bit Wine prefix inside the build folder,
# a virtual display when there is none, and one persistent wineserver for the whole run.
: "${BUILD_DIR:?}"
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts: Zelvor needs neither.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

zelvor_start_display() {
    if [ -z "${DISPLAY:-}" ]; then
        # Xvfb picks a free display itself and writes its number to us, so runs side by side never race
        # for the same one.
        local fifo
        fifo="$(mktemp -u)"
        mkfifo "$fifo"
        Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
        ZELVOR_XVFB_PID=$!
        local n
        read -r n <"$fifo"
        rm -f "$fifo"
        export DISPLAY=":$n"
    fi
}

zelvor_start_wine() {
    local fresh=0
    [ -f "$WINEPREFIX/system.reg" ] || fresh=1
    mkdir -p "$WINEPREFIX"
    zelvor_second_drive || true
    # A persistent server keeps each test program's start at tens of milliseconds; its output is
    # detached, or CTest would wait on Wine's helper processes.
    wineserver -p </dev/null >/dev/null 2>&1 &
    wine wineboot -i </dev/null >/dev/null 2>&1 || true
    if [ $fresh -eq 1 ]; then
        # Wine draws the frames itself, as Windows does, so the program's own title bar shows.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
        local fonts="$WINEPREFIX/drive_c/windows/Fonts"
        mkdir -p "$fonts"
        [ -f /usr/share/wine/fonts/marlett.ttf ] && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    # A fresh prefix has its drive folder only now: the server is started again to see the new drive.
    if zelvor_second_drive; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        wineserver -p </dev/null >/dev/null 2>&1 &
        wine wineboot </dev/null >/dev/null 2>&1 || true
    fi
    zelvor_set_window_management
    zelvor_keep_desktop
}

# Test programs hold no window between them: Wine would close the desktop after each and the next would
# start it again, its process keeping that program's output open, so CTest waited for it to close. The
# keeper says when the desktop is up: no test program may start before, or it would start the desktop.
zelvor_keep_desktop() {
    local keeper="$BUILD_DIR/tests/driver/keep_desktop.exe"
    if [ -f "$keeper" ]; then
        local fifo
        fifo="$(mktemp -u)"
        mkfifo "$fifo"
        wine "$keeper" </dev/null >"$fifo" 2>/dev/null &
        timeout 60 head -n 1 "$fifo" >/dev/null || echo "The Wine desktop did not come up; tests may wait on it." >&2
        rm -f "$fifo"
    fi
}

# A second drive letter, D:, as a user's mapped drive gives one: a folder of the build tree linked into the
# prefix. The server reads the drive letters when it starts. Succeeds only when it made the link now.
zelvor_second_drive() {
    local devices="$WINEPREFIX/dosdevices"
    [ -d "$devices" ] || return 1
    [ -e "$devices/d:" ] || [ -L "$devices/d:" ] && return 1
    mkdir -p "$BUILD_DIR/drive_d"
    ln -s "$BUILD_DIR/drive_d" "$devices/d:"
}

# On our own virtual display no window manager runs: windows that Wine leaves to a window manager then
# wait for it on every hide (two seconds each). Let Wine manage them itself there, and only there.
zelvor_set_window_management() {
    local managed=Y
    [ -n "${ZELVOR_XVFB_PID:-}" ] && managed=N
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f </dev/null >/dev/null 2>&1 || true
}

zelvor_stop_all() {
    wineserver -k >/dev/null 2>&1 || true
    # Gone before the script ends: a run started right after would otherwise meet the dying server, and its
    # first test program would start Wine's services itself, holding that program's output open for CTest.
    timeout 30 wineserver -w >/dev/null 2>&1 || true
    [ -n "${ZELVOR_XVFB_PID:-}" ] && kill "$ZELVOR_XVFB_PID" >/dev/null 2>&1 || true
}

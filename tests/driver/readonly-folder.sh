#!/bin/sh
# A folder that cannot be written, for the tests of a program folder on a read-only medium: Wine runs the
# tests as root, which file modes do not stop, so it is a small file system mounted read-only. It holds
# "cmd.his" with one line. Without the right to mount, nothing is made and those tests say they skip.
# Usage: readonly-folder.sh mount|unmount FOLDER
folder="$2"
case "$1" in
mount)
    umount "$folder" 2>/dev/null
    mkdir -p "$folder" || exit 0
    mount -t tmpfs -o size=64k zelvor-readonly "$folder" 2>/dev/null || exit 0
    printf 'old\r\n' >"$folder/cmd.his"
    mount -o remount,ro "$folder" 2>/dev/null || umount "$folder"
    ;;
unmount)
    umount "$folder" 2>/dev/null
    rmdir "$folder" 2>/dev/null
    ;;
esac
exit 0

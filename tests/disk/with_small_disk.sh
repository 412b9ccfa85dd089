#!/bin/sh
# Runs a test program with a small file system of its own: a tmpfs of 256 kB mounted in a private
# mount namespace (as root a plain one, as an ordinary user one of a user namespace, `unshare -rm`),
# named by ZEVO_SMALL_DISK. The tests fill it to the brim and turn it read-only, as a real full or
# failing disk does, instead of faking the error. Where neither namespace is allowed the program runs
# without one, and each test that needs the disk skips, saying why.
set -u
if [ "${ZEVO_SMALL_DISK_NS:-}" != 1 ]; then
    export ZEVO_SMALL_DISK_NS=1
    if [ "$(id -u)" = 0 ] && unshare -m --propagation private true 2>/dev/null; then
        exec unshare -m --propagation private "$0" "$@"
    fi
    if unshare -rm --propagation private true 2>/dev/null; then
        exec unshare -rm --propagation private "$0" "$@"
    fi
    export ZEVO_SMALL_DISK_REFUSED="this system allows no private mount namespace (unshare -m as root, unshare -rm as a user)"
    exec "$@"
fi
dir=$(mktemp -d "${TMPDIR:-/tmp}/zevo-small-disk.XXXXXX") || exit 1
if ! mount -t tmpfs -o size=256k,mode=0777 zevo-small-disk "$dir" 2>/dev/null; then
    rmdir "$dir"
    export ZEVO_SMALL_DISK_REFUSED="a tmpfs cannot be mounted here"
    exec "$@"
fi
export ZEVO_SMALL_DISK="$dir"
"$@"
status=$?
umount "$dir" 2>/dev/null
rmdir "$dir" 2>/dev/null
exit $status

#!/usr/bin/env bash
# Runs a program on a screen of its own: Xvfb at the given size with openbox framing its windows,
# as a workshop laptop's desktop does.
#   on_xvfb.sh WIDTHxHEIGHT SCALE PROGRAM [ARGUMENTS...]
# Exits 77 (skipped) when Xvfb or openbox is not installed.
set -u
size=$1
scale=$2
shift 2
for tool in Xvfb openbox; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed (apt-get install xvfb openbox)"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to the descriptor.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
# The window manager is ready once it owns the screen's selection; openbox sets this property then.
for _ in $(seq 1 100); do
    if command -v xprop >/dev/null 2>&1; then
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    fi
    sleep 0.05
done

QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" "$@"

#!/usr/bin/env bash
# The window as a screen reader meets it: the tool on an X screen with the accessibility bus of a
# D-Bus session, its servo page shown, walked over AT-SPI by atspi_walk.py. Run by on_xvfb.sh.
#   atspi_walk.sh TOOL LANGUAGE
# Exits 77 (skipped) where the accessibility bus or its Python bindings are missing.
set -u
tool=$1
language=$2
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v dbus-run-session >/dev/null 2>&1 || [ ! -x /usr/libexec/at-spi-bus-launcher ] ||
    ! /usr/bin/python3 -c "import gi; gi.require_version('Atspi', '2.0')" 2>/dev/null; then
    echo "skipped: AT-SPI is not installed (apt-get install at-spi2-core python3-gi gir1.2-atspi-2.0 dbus)"
    exit 77
fi
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ "${ZEVO_ATSPI_SESSION:-}" != 1 ]; then
    exec env ZEVO_ATSPI_SESSION=1 dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d)
tool_pid=""
cleanup() {
    [ -n "$tool_pid" ] && kill "$tool_pid" 2>/dev/null && wait "$tool_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# The accessibility bus first, so the tool finds it when it starts.
/usr/bin/python3 -c "import gi; gi.require_version('Atspi', '2.0'); from gi.repository import Atspi; Atspi.get_desktop(0)" 2>/dev/null
# The Servo 1 page, as a tuner works on it; no unit is attached.
printf '[IGNITION]\nPageControl1->ActivePageIndex=1\n' >"$work/ZEVO_v56.ini"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 ZEVO_CONFIG_DIR="$work" "$tool" "$language" \
    >"$work/tool.out" 2>&1 &
tool_pid=$!
sleep 2
/usr/bin/python3 "$here/atspi_walk.py" "$tool_pid"

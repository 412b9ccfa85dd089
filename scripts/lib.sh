# Shared by scripts/run and scripts/test: install what a fresh Debian 12 machine lacks, then build.
# shellcheck shell=bash

ZEVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Build tools, Qt 6 (widgets, printing, serial ports), QCustomPlot for the charts, GoogleTest, and a font for headless rendering.
ZEVO_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev libgl-dev
               libgtest-dev libgmock-dev libqcustomplot-dev fonts-dejavu-core)
# What only the tests need: a real X screen with a window manager for the screen tests (xprop tells
# when the window manager is up), the accessibility bus and its Python bindings for the screen
# reader's walk, and the checkers of the Debian package and its desktop files.
ZEVO_TEST_PACKAGES=(xvfb openbox x11-utils at-spi2-core dbus-daemon python3-gi gir1.2-atspi-2.0
                    lintian appstream desktop-file-utils)

zevo_missing_packages() {
    local pkg
    for pkg in "${ZEVO_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
    done
}

zevo_install_missing() {
    local missing
    missing=$(zevo_missing_packages)
    [ -z "$missing" ] && return 0
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo="sudo"
        else
            echo "zevo: missing packages: $missing (run as root or install sudo)" >&2
            return 1
        fi
    fi
    echo "zevo: installing $(echo "$missing" | tr '\n' ' ')" >&2
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing >&2 ||
        { $sudo apt-get update -q >&2 &&
          $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing >&2; }
}

# zevo_build BUILD_DIR [extra cmake arguments...]
# The Release configuration, the one the README's Install lines build: every test run proves it.
# Our own builds treat warnings as errors; a plain cmake build (a packager's, the Install lines)
# only warns. A later -DCMAKE_BUILD_TYPE among the arguments wins over the default here.
zevo_build() {
    local dir=$1
    shift
    cmake -S "$ZEVO_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEVO_WERROR=ON "$@" >/dev/null
    cmake --build "$dir"
}

# zevo_build_targets BUILD_DIR TARGET...: the same configuration, only the targets named (and what
# they need): the tool and the simulator are a fraction of the whole build, which adds every test,
# fuzz target and benchmark.
zevo_build_targets() {
    local dir=$1
    shift
    cmake -S "$ZEVO_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEVO_WERROR=ON >/dev/null
    cmake --build "$dir" --target "$@"
}

# zevo_language_word LOCALE: the tool's language word for a locale name (cs_CZ.UTF-8 gives CESKY,
# de_AT gives DEUTSCH, anything else ENGLISH).
zevo_language_word() {
    case "${1:-}" in
    cs | cs_* | cs.* | cs@*) echo CESKY ;;
    de | de_* | de.* | de@*) echo DEUTSCH ;;
    *) echo ENGLISH ;;
    esac
}

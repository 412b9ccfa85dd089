#!/bin/sh
# The Debian package and the desktop files, judged by Debian's and freedesktop's own tools. Each
# check runs only where its tool is installed and otherwise says which one is missing and exits
# with 77, which ctest reports as skipped.
#   check_package.sh lintian CPACK BUILD_DIR WORK_DIR    the package cpack makes: no E: and no W:
#   check_package.sh appstream CMAKE BUILD_DIR WORK_DIR  the installed metainfo with its desktop entry and icons
#   check_package.sh desktop FILE                        the desktop entry: no error and no warning
set -u

skip() {
    echo "SKIPPED: $1 is not installed (Debian package $2)"
    exit 77
}

fail() {
    echo "FAILED: $*"
    exit 1
}

case "${1:-}" in
lintian)
    command -v lintian >/dev/null 2>&1 || skip lintian lintian
    cpack=$2 build=$3 work=$4
    rm -rf "$work" && mkdir -p "$work" || fail "cannot make $work"
    # Into a folder of its own, so the package someone made by hand in the build tree stays.
    "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack -G DEB"; }
    set -- "$work"/*.deb
    [ $# -eq 1 ] && [ -f "$1" ] || fail "cpack left no single .deb in $work: $*"
    deb=$1
    lintian --version
    # Info tags are shown for reading; errors and warnings fail the package.
    report=$(lintian --display-info --tag-display-limit 0 "$deb" 2>&1)
    status=$?
    [ -n "$report" ] && printf '%s\n' "$report"
    if printf '%s\n' "$report" | grep -q '^[EW]: '; then
        fail "lintian reports errors or warnings on $(basename "$deb")"
    fi
    [ $status -eq 0 ] || fail "lintian exited with $status"
    echo "lintian: no error and no warning on $(basename "$deb")"
    rm -rf "$work"
    ;;
appstream)
    command -v appstreamcli >/dev/null 2>&1 || skip appstreamcli appstream
    cmake=$2 build=$3 work=$4
    rm -rf "$work" && mkdir -p "$work" || fail "cannot make $work"
    DESTDIR="$work" "$cmake" --install "$build" --prefix /usr >"$work.log" 2>&1 ||
        { cat "$work.log"; fail "cmake --install"; }
    appstreamcli --version
    set -- "$work"/usr/share/metainfo/*.metainfo.xml
    [ -f "$1" ] || fail "no metainfo file installed in usr/share/metainfo"
    # The file alone, then the tree: the tree also finds the desktop entry the file names as its
    # launchable, and the icon that entry names. --strict fails on anything above a pedantic hint.
    appstreamcli validate --no-net --pedantic --strict "$@" || fail "appstreamcli validate"
    appstreamcli validate-tree --no-net --pedantic --strict "$work" || fail "appstreamcli validate-tree"
    rm -rf "$work" "$work.log"
    ;;
desktop)
    command -v desktop-file-validate >/dev/null 2>&1 || skip desktop-file-validate desktop-file-utils
    file=$2
    report=$(desktop-file-validate "$file" 2>&1)
    status=$?
    [ -n "$report" ] && printf '%s\n' "$report"
    # Hints are advice; errors and warnings are what a desktop may refuse or misread.
    if printf '%s\n' "$report" | grep -q ': \(error\|warning\): '; then
        fail "desktop-file-validate reports errors or warnings on $(basename "$file")"
    fi
    [ $status -eq 0 ] || fail "desktop-file-validate exited with $status"
    echo "desktop-file-validate: no error and no warning on $(basename "$file")"
    ;;
*)
    fail "usage: check_package.sh lintian|appstream|desktop ..."
    ;;
esac

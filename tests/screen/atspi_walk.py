#!/usr/bin/python3
"""Walks the tool's windows as a screen reader finds them over AT-SPI and lists every control a
person operates whose name says nothing (empty, or only digits and signs).
   atspi_walk.py PID   exits 0 when every such control has a name, 1 otherwise, 2 when the tool's
                       application does not appear on the accessibility bus within 20 s."""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

OPERABLE = {
    Atspi.Role.PUSH_BUTTON, Atspi.Role.TOGGLE_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.RADIO_BUTTON,
    Atspi.Role.COMBO_BOX, Atspi.Role.SPIN_BUTTON, Atspi.Role.TEXT, Atspi.Role.ENTRY,
    Atspi.Role.PASSWORD_TEXT, Atspi.Role.PAGE_TAB, Atspi.Role.MENU_ITEM, Atspi.Role.CHECK_MENU_ITEM,
    Atspi.Role.RADIO_MENU_ITEM, Atspi.Role.MENU, Atspi.Role.SLIDER, Atspi.Role.LIST, Atspi.Role.TABLE,
}


def says_something(name):
    return any(c.isalpha() for c in name or "")


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except gi.repository.GLib.Error:
            continue
    return None


def walk(node, found, counted, depth=0):
    if node is None or depth > 60:
        return
    try:
        role = node.get_role()
        states = node.get_state_set()
        name = node.get_name()
        count = node.get_child_count()
    except gi.repository.GLib.Error:
        return
    counted[0] += 1
    if role in OPERABLE and states.contains(Atspi.StateType.SHOWING) and not says_something(name):
        found.append(f"{node.get_role_name()}: {name!r}")
    for i in range(count):
        walk(node.get_child_at_index(i), found, counted, depth + 1)


def main():
    pid = int(sys.argv[1])
    deadline = time.monotonic() + 20
    app = None
    while app is None and time.monotonic() < deadline:
        app = application(pid)
        if app is None:
            time.sleep(0.2)
    if app is None:
        print("atspi_walk: the tool did not appear on the accessibility bus", file=sys.stderr)
        return 2
    found, counted = [], [0]
    walk(app, found, counted)
    print(f"atspi_walk: {counted[0]} accessible objects, {len(found)} operable without a name")
    if counted[0] < 100:
        print("atspi_walk: the window's controls are missing from the tree", file=sys.stderr)
        return 2
    for line in found:
        print("  " + line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

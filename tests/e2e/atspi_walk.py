#!/usr/bin/python3
"""The program's windows as a screen reader sees them, through the accessibility bus (AT-SPI).

One walker for every window the end-to-end runs look at: it finds a window of the program by
its title, walks its controls, lists those without a name, presses buttons and picks tabs by
role and name (never by coordinates), and reads captions.

    atspi_walk.py wait TITLE [SECONDS]        the window is on the bus
    atspi_walk.py walk TITLE [--tabs]         lists the controls without a name (each tab with
                                              --tabs); fails when there is one
    atspi_walk.py press TITLE ROLE NAME       presses (clicks) the control
    atspi_walk.py tab TITLE NAME              shows the tab
    atspi_walk.py names TITLE ROLE...         prints the names of the showing controls
    atspi_walk.py check TITLE ROW             ticks the list row whose text starts with ROW

The program must run with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 under a session bus that has the
accessibility bus (at-spi-bus-launcher) on it.
"""

import sys
import time

import pyatspi

APP = "Brisvane"  # the application name the program gives itself

# The roles a user reaches and operates: each needs a name a screen reader can speak.
CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_TOGGLE_BUTTON,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_TEXT,
    pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_LIST,
    pyatspi.ROLE_LIST_BOX,
    pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE,
    pyatspi.ROLE_TREE_TABLE,
    pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_PAGE_TAB_LIST,
}
WINDOW_ROLES = {pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW}


def application(timeout=20):
    deadline = time.monotonic() + timeout
    while True:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == APP:
                return app
        if time.monotonic() > deadline:
            sys.exit(f"FAIL: {APP} is not on the accessibility bus")
        time.sleep(0.2)


def window(title, timeout=20):
    """The showing top-level window named `title`."""
    deadline = time.monotonic() + timeout
    while True:
        for win in application(timeout):
            if win is not None and win.name == title and showing(win):
                return win
        if time.monotonic() > deadline:
            names = [w.name for w in application(timeout) if w is not None]
            sys.exit(f"FAIL: no window {title!r} (windows: {names})")
        time.sleep(0.2)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def descendants(acc, path=""):
    """The showing descendants of `acc` with their path of roles, depth first."""
    for index in range(acc.childCount):
        child = acc.getChildAtIndex(index)
        if child is None or not showing(child):
            continue
        here = f"{path}/{child.getRoleName()}[{index}]"
        yield child, here
        # A list's rows are its content, not controls of their own.
        if child.getRole() not in (pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TABLE):
            yield from descendants(child, here)


def unnamed(win):
    """The controls of `win` without a name, and how many controls it has."""
    found, count = [], 0
    for acc, path in descendants(win):
        if acc.getRole() not in CONTROL_ROLES:
            continue
        count += 1
        if not acc.name.strip():
            found.append(f"{acc.getRoleName()} at {path}")
    return found, count


def find(win, role_name, name):
    for acc, _ in descendants(win):
        if acc.getRoleName() == role_name and acc.name == name:
            return acc
    sys.exit(f"FAIL: no {role_name} {name!r} in {win.name!r}")


def do_action(acc, names=("press", "click", "toggle", "activate")):
    action = acc.queryAction()
    for index in range(action.nActions):
        if action.getName(index).lower() in names:
            action.doAction(index)
            return
    action.doAction(0)


def tabs(win):
    for acc, _ in descendants(win):
        if acc.getRole() == pyatspi.ROLE_PAGE_TAB_LIST:
            return acc
    return None


def select_tab(win, name):
    tab_list = tabs(win)
    if tab_list is None:
        sys.exit(f"FAIL: {win.name!r} has no tabs")
    for tab in tab_list:
        if tab.getRole() == pyatspi.ROLE_PAGE_TAB and tab.name == name:
            do_action(tab)
            # Qt marks the tab it shows as focused (it has no selected state for tabs).
            states = (pyatspi.STATE_SELECTED, pyatspi.STATE_FOCUSED)
            wait_for(lambda: any(tab.getState().contains(s) for s in states), f"tab {name!r}")
            return
    sys.exit(f"FAIL: no tab {name!r} in {win.name!r}")


def wait_for(condition, what, timeout=10):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            sys.exit(f"FAIL: {what} did not come")
        time.sleep(0.1)


def walk(title, all_tabs):
    win = window(title)
    missing, total = [], 0
    if win.getRole() not in WINDOW_ROLES or not win.name:
        missing.append(f"the window itself ({win.getRoleName()})")
    pages = [None]
    tab_list = tabs(win) if all_tabs else None
    if tab_list is not None:
        pages = [tab.name for tab in tab_list if tab.getRole() == pyatspi.ROLE_PAGE_TAB]
    seen = set()
    for page in pages:
        if page is not None:
            select_tab(win, page)
            time.sleep(0.3)  # the page's children come onto the bus as it shows
        found, count = unnamed(win)
        total += count
        for entry in found:
            if entry not in seen:
                seen.add(entry)
                missing.append(f"{entry}" + (f" (tab {page})" if page else ""))
    print(f"{title} ({win.getRoleName()}): {total} controls walked")
    for entry in missing:
        print(f"  unnamed: {entry}")
    print(f"unnamed controls in {title}: {len(missing)}")
    return 1 if missing else 0


def names(title, roles):
    win = window(title)
    for acc, _ in descendants(win):
        if acc.getRoleName() in roles:
            print(f"{acc.getRoleName()}\t{acc.name}")
    return 0


def check_row(title, row):
    """Ticks the row of the window's list whose text starts with `row`."""
    win = window(title)
    for acc, _ in descendants(win):
        if acc.getRole() not in (pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TABLE):
            continue
        for index in range(acc.childCount):
            item = acc.getChildAtIndex(index)
            if item is not None and item.name.startswith(row):
                do_action(item, ("toggle", "press", "click"))
                return 0
    sys.exit(f"FAIL: no row {row!r} in {title!r}")


def main(argv):
    command, title = argv[1], argv[2]
    if command == "wait":
        window(title, float(argv[3]) if len(argv) > 3 else 20)
        return 0
    if command == "walk":
        return walk(title, "--tabs" in argv[3:])
    if command == "press":
        do_action(find(window(title), argv[3], argv[4]))
        return 0
    if command == "tab":
        select_tab(window(title), argv[3])
        return 0
    if command == "names":
        return names(title, set(argv[3:]))
    if command == "check":
        return check_row(title, argv[3])
    sys.exit(f"unknown command {command}")


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/python3
"""The program's windows as a screen reader sees them (AT-SPI): wait TITLE [SECONDS]; walk TITLE
[--tabs] (each control's role and name; fails on an unnamed one); press|focus TITLE ROLE NAME."""

import sys
import time

import pyatspi

R = pyatspi
# What a user reaches and operates: each needs a name. A list's rows are its content.
CONTROLS = {R.ROLE_PUSH_BUTTON, R.ROLE_TOGGLE_BUTTON, R.ROLE_CHECK_BOX, R.ROLE_RADIO_BUTTON,
            R.ROLE_COMBO_BOX, R.ROLE_TEXT, R.ROLE_ENTRY, R.ROLE_PASSWORD_TEXT, R.ROLE_SPIN_BUTTON,
            R.ROLE_SLIDER, R.ROLE_LIST, R.ROLE_TABLE, R.ROLE_TREE, R.ROLE_PAGE_TAB}
LISTS = {R.ROLE_LIST, R.ROLE_LIST_BOX, R.ROLE_TABLE, R.ROLE_TREE}


def until(found, what, timeout=20):
    deadline = time.monotonic() + timeout
    while (result := found()) is None:
        if time.monotonic() > deadline:
            sys.exit(f"FAIL: {what} did not come")
        time.sleep(0.2)
    return result


def showing(acc):
    return acc is not None and acc.getState().contains(R.STATE_SHOWING)


def window(title, timeout=20):
    def find():
        for app in R.Registry.getDesktop(0):
            if app is not None and app.name == "Brisvane":  # the program's application name
                return next((w for w in app if showing(w) and w.name == title), None)
    return until(find, f"window {title!r}", timeout)


def descendants(acc, path=""):
    for index, child in enumerate(acc):
        if showing(child):
            here = f"{path}/{child.getRoleName()}[{index}]"
            yield child, here
            if child.getRole() not in LISTS:
                yield from descendants(child, here)


def find(win, role, name):
    return until(lambda: next((a for a, _ in descendants(win)
                               if (a.getRoleName(), a.name) == (role, name)), None), name, 5)


def press(acc):
    acc.queryAction().doAction(0)  # Qt's buttons and tabs: Press


def pages(win, all_tabs):  # each tab in turn (or none): its name, the controls showing
    tabs = [a for a, _ in descendants(win) if a.getRole() == R.ROLE_PAGE_TAB] if all_tabs else []
    for tab in tabs or [None]:
        if tab is not None:
            press(tab)  # Qt marks the tab it shows focused; its page comes onto the bus
            until(lambda: tab.getState().contains(R.STATE_FOCUSED) or None, tab.name, 10)
            time.sleep(0.3)
        yield (tab.name if tab else ""), [(a, p) for a, p in descendants(win)
                                           if a.getRole() in CONTROLS]


def walk(title, all_tabs):
    win = window(title)
    missing = set() if win.name else {"the window's title"}
    if win.getRole() not in (R.ROLE_FRAME, R.ROLE_DIALOG, R.ROLE_WINDOW):
        missing.add(f"the window's role ({win.getRoleName()})")
    total = 0
    for page, controls in pages(win, all_tabs):
        total += len(controls)
        print("".join(f"  {a.getRoleName()}\t{a.name}\n" for a, _ in controls), end="")
        missing |= {f"{a.getRoleName()} at {p} {page}" for a, p in controls if not a.name.strip()}
    print(f"{title} ({win.getRoleName()}): {total} controls walked")
    print("".join(f"  unnamed: {entry}\n" for entry in sorted(missing)), end="")
    print(f"unnamed controls in {title}: {len(missing)}")
    return 1 if missing else 0


def main(command, title, *rest):
    if command == "wait":
        window(title, float(rest[0]) if rest else 20)
    elif command == "walk":
        return walk(title, "--tabs" in rest)
    elif command == "press":
        press(find(window(title), *rest))
    elif command == "focus":
        find(window(title), *rest).queryComponent().grabFocus()
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))

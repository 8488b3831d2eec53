#!/usr/bin/env python3
"""Stands in for a StatusNotifier host towards bvane's tray icon on the session bus: finds the
item through the watcher, reads its menu over com.canonical.dbusmenu, checks the band tree,
dials through the menu's Connect and watches the tip and the menu follow the line. The desktop
(sway or GNOME Shell) tells which windows are up and takes the screenshots.
With --restarted (after a panel restart, the line up) it checks the item, its picture, its
menu and the line's tools again, and takes a screenshot.
Usage: snihost.py sway SCREENSHOT_DIR SWAYMSG_SOCKET [--restarted]
       snihost.py gnome SCREENSHOT_DIR [--restarted]
       snihost.py x11 SCREENSHOT_DIR (an X server's panel: xdotool and ImageMagick's import)"""
import json
import re
import subprocess
import sys
import time

import dbus

WATCHER = 'org.kde.StatusNotifierWatcher'
ITEM = 'org.kde.StatusNotifierItem'
MENU = 'com.canonical.dbusmenu'
PROPS = 'org.freedesktop.DBus.Properties'
restarted = '--restarted' in sys.argv
args = [a for a in sys.argv[1:] if a != '--restarted']
shots = args[1]
bus = dbus.SessionBus()


def fail(text):
    print('FAIL: ' + text)
    sys.exit(1)


def wait_for(probe, seconds, what):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            value = probe()
        except dbus.DBusException:
            value = None
        if value:
            return value
        time.sleep(0.2)
    fail(what)


def registered_items():
    watcher = bus.get_object(WATCHER, '/StatusNotifierWatcher')
    return [str(i) for i in watcher.Get(WATCHER, 'RegisteredStatusNotifierItems',
                                        dbus_interface=PROPS)]


def item_address(entry):
    # A bus name, or a bus name and an object path: run together (KDE's watcher, swaybar's)
    # or joined by "@" (GNOME's).
    if '@' in entry:
        service, path = entry.split('@', 1)
        return service, path
    if '/' in entry:
        service, path = entry.split('/', 1)
        return service, '/' + path
    return entry, '/StatusNotifierItem'


def node(raw):
    ident, props, children = raw
    return {'id': int(ident), 'props': dict(props), 'children': [node(c) for c in children]}


def shown(n):
    return [c for c in n['children'] if c['props'].get('visible', True)]


def labels(n):
    return [str(c['props'].get('label', '')) for c in shown(n)]


def find(n, label):
    for c in n['children']:
        if c['props'].get('label') == label:
            return c
    fail('no "%s" in the menu under "%s"' % (label, n['props'].get('label', '(root)')))


def enabled(n):
    return bool(n['props'].get('enabled', True))


def time_line(n):
    # While the line is up the menu leads with a disabled "Connected 00:00:12".
    first = (shown(n) or [None])[0]
    label = str(first['props'].get('label', '')) if first else ''
    ok = re.fullmatch(r'Connected \d\d:\d\d:\d\d', label) and not enabled(first)
    return label if ok else None


class Sway:
    def __init__(self, socket):
        self.socket = socket

    def window_names(self):
        tree = subprocess.run(['swaymsg', '-s', self.socket, '-t', 'get_tree'],
                              capture_output=True, text=True, check=True).stdout
        return list(self.windows(json.loads(tree)))

    def windows(self, tree):
        # The views: the nodes a client's surface stands for.
        if tree.get('app_id') is not None or tree.get('window') is not None:
            yield tree.get('name')
        for child in tree.get('nodes', []) + tree.get('floating_nodes', []):
            yield from self.windows(child)

    def screenshot(self, name):
        subprocess.run(['grim', '%s/%s.png' % (shots, name)], check=True)


class Gnome:
    # GNOME Shell lists windows only to the desktop portal and takes screenshots only for the
    # screenshot tool (it checks who owns their names): the script takes both names.
    SHELL = 'org.gnome.Shell'

    def __init__(self):
        for name in ('org.freedesktop.impl.portal.desktop.gnome', 'org.gnome.Screenshot'):
            bus.request_name(name, dbus.bus.NAME_FLAG_DO_NOT_QUEUE)
        self.introspect = dbus.Interface(
            bus.get_object(self.SHELL, '/org/gnome/Shell/Introspect'), self.SHELL + '.Introspect')
        self.shooter = dbus.Interface(
            bus.get_object(self.SHELL + '.Screenshot', '/org/gnome/Shell/Screenshot'),
            self.SHELL + '.Screenshot')

    def window_names(self):
        return [str(w.get('title', '')) for w in self.introspect.GetWindows().values()]

    def screenshot(self, name):
        done, _ = self.shooter.Screenshot(False, False, '%s/%s.png' % (shots, name))
        if not done:
            fail('GNOME Shell took no screenshot')


class X11:
    def window_names(self):
        found = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', '.'],
                               capture_output=True, text=True).stdout.split()
        names = []
        for window in found:
            named = subprocess.run(['xdotool', 'getwindowname', window], capture_output=True,
                                   text=True)
            names.append(named.stdout.strip())
        return names

    def screenshot(self, name):
        subprocess.run(['import', '-window', 'root', '%s/%s.png' % (shots, name)], check=True)


desktop = {'sway': lambda: Sway(args[2]), 'gnome': Gnome, 'x11': X11}[args[0]]()
window_names = desktop.window_names


def dialog_shown():
    return 'Customize Brisvane' in window_names()


entry = wait_for(lambda: registered_items(), 30, 'no item registered with the watcher')[0]
service, path = item_address(entry)
item = bus.get_object(service, path)
menu_path = str(item.Get(ITEM, 'Menu', dbus_interface=PROPS))
print('item %s (%s %s), menu %s' % (entry, service, path, menu_path))
# The picture: a themed icon's name, or pixmaps (width, height, ARGB data).
icon_name = str(item.Get(ITEM, 'IconName', dbus_interface=PROPS))
pixmaps = [(int(w), int(h)) for w, h, data in item.Get(ITEM, 'IconPixmap', dbus_interface=PROPS)
           if len(data) == 4 * w * h > 0]
if not icon_name and not pixmaps:
    fail('the item shows no icon')
print('icon: %s' % (icon_name or 'pixmaps %s' % pixmaps))
# The session's data folders hold the build's icon theme: the picture goes by its name there.
want_icon = 'bvane-connected' if restarted else 'bvane-offline'
if icon_name != want_icon:
    fail('the item names the icon "%s", expected "%s"' % (icon_name, want_icon))
if menu_path in ('', '/', '/NO_DBUSMENU'):
    fail('the item exports no menu')
menu = dbus.Interface(bus.get_object(service, menu_path), MENU)


def layout():
    return node(menu.GetLayout(0, -1, dbus.Array([], signature='s'))[1])


def line_tools(up):
    # The Connection Status band, with Connect enabled while the line is down and Disconnect
    # while it is up.
    line = find(layout(), 'Connection Status')
    if enabled(find(line, 'Connect')) == up or enabled(find(line, 'Disconnect')) != up:
        fail('with the line %s, Connect should be %s and Disconnect %s'
             % (('down', 'enabled', 'disabled'), ('up', 'disabled', 'enabled'))[up])
    return line


root = layout()
top = ['Confirmation Menus', 'Customize', 'Run Program', 'Check Mail', 'Connection Status',
       'About', 'Exit']
if labels(root)[1 if time_line(root) else 0:] != top:
    fail('top band %s, expected %s' % (labels(root), top))
print('band tree: %s' % labels(root))
if restarted:
    # The panel came back while the line was up: the same item, menu and line.
    line_tools(up=True)
    time.sleep(1)  # the panel loads the picture after listing the item
    desktop.screenshot('after-host-restart')
    print('PASS: after the restart')
    sys.exit(0)
expected = {
    'Customize': ['Connection Properties', 'Mail Properties', 'Program Properties', 'Settings'],
    'Connection Status': ['Connect', 'Disconnect', 'Usage...'],
    'Confirmation Menus': ['Show Customize Brisvane Dialog on Startup',
                           'Show Customize Brisvane Dialog Reminder',
                           'Show Close Mail Program Message Dialog',
                           'Show Delete Message Confirmation Dialog'],
}
for band, tools in expected.items():
    sub = find(root, band)
    if sub['props'].get('children-display') != 'submenu' or labels(sub) != tools:
        fail('band "%s" holds %s, expected %s' % (band, labels(sub), tools))
if 'Disable Programs/Applications' not in labels(find(root, 'Run Program')):
    fail('the Run Program band lacks its switch')
if 'Disable Mail Checking' not in labels(find(root, 'Check Mail')):
    fail('the Check Mail band holds %s' % labels(find(root, 'Check Mail')))
# The switches are toggles, on or off, as the host's menu shows them.
switches = [find(find(root, 'Confirmation Menus'), t) for t in expected['Confirmation Menus']]
switches += [find(find(root, 'Run Program'), 'Disable Programs/Applications'),
             find(find(root, 'Check Mail'), 'Disable Mail Checking')]
plain = [str(c['props'].get('label')) for c in switches
         if c['props'].get('toggle-type') != 'checkmark']
if plain:
    fail('exported without toggle-type: %s' % plain)
print('every switch is a toggle')
line = line_tools(up=False)

# The host's click on Connect dials the simulated line.
menu.Event(find(line, 'Connect')['id'], 'clicked', dbus.Int32(0, variant_level=1),
           dbus.UInt32(0))


def running_time():
    tip = item.Get(ITEM, 'ToolTip', dbus_interface=PROPS)
    title = str(tip[2])
    return title if re.search(r'\d\d:\d\d:\d\d$', title) and not title.endswith('00:00:00') \
        else None


tip = wait_for(running_time, 40, 'the tip never showed the running time')
print('tip: ' + tip)
wait_for(lambda: str(item.Get(ITEM, 'IconName', dbus_interface=PROPS)) == 'bvane-connected', 10,
         'the item did not name the connected icon')
line_tools(up=True)
print('menu followed the line: Disconnect enabled, Connect disabled')
# The time, for hosts without tooltips: it follows while the host has the menu open.
menu.AboutToShow(0)
first = wait_for(lambda: time_line(layout()), 5, 'no connected time at the top of the menu')
wait_for(lambda: time_line(layout()) != first or None, 5, 'the open menu\'s time stood still')
menu.Event(0, 'closed', dbus.Int32(0, variant_level=1), dbus.UInt32(0))
print('the open menu leads with the time: %s' % time_line(layout()))

# Dialling from the menu brought the dialog up; the middle click (SecondaryActivate) does what
# the double click does elsewhere: it puts the dialog away and brings it back.
wait_for(dialog_shown, 10, 'dialling did not bring the Customize dialog up')
desktop.screenshot('connected')
item.SecondaryActivate(0, 0, dbus_interface=ITEM)
wait_for(lambda: not dialog_shown(), 10, 'SecondaryActivate left the dialog up')
item.SecondaryActivate(0, 0, dbus_interface=ITEM)
wait_for(dialog_shown, 10, 'SecondaryActivate did not bring the dialog back')
print('SecondaryActivate toggles the dialog')

# A double click shows or hides the dialog and never touches the line (the single click
# connects and disconnects here). Most hosts send it as two Activate calls within the
# double-click time; GNOME's extension keeps the click for its menu and sends one Activate.
item.Activate(0, 0, dbus_interface=ITEM)
if args[0] != 'gnome':
    time.sleep(0.1)
    item.Activate(0, 0, dbus_interface=ITEM)
wait_for(lambda: not dialog_shown(), 10, 'the double click left the dialog up')
time.sleep(1.5)  # well past the double-click time: a click read as single would hang up
line_tools(up=True)
print('the double click puts the dialog away and leaves the line up')

# ContextMenu opens no window of its own: on Wayland the host shows the exported menu.
before = window_names()
item.ContextMenu(0, 0, dbus_interface=ITEM)
time.sleep(1.5)
if window_names() != before:
    fail('ContextMenu opened a window: %s' % window_names())
print('ContextMenu opens no window')
print('PASS')

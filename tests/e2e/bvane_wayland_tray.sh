#!/usr/bin/env bash
# The tray on Wayland: a desktop whose panel is the StatusNotifier host (sway's bar, or GNOME
# Shell's AppIndicator extension; see wayland_session.sh), bvane on Qt's wayland platform
# with the simulated line. A host script on the session bus reads the item's menu (the band
# tree over com.canonical.dbusmenu), dials with a click on Connect and sees the tip show the
# running time and Disconnect come on. With "late" the panel's host starts after bvane, and
# is stopped and started again at the end (a panel restart). sway refuses to run as root: as
# root the run drops to the unprivileged user "nobody".
# Usage: bvane_wayland_tray.sh BVANE ARTIFACT_DIR sway|gnome [late]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bvane=$1
out=$2
desktop=$3
late=${4:-}
mkdir -p "$out"
case $desktop in
  sway) tools=(sway swaybar grim swaymsg) ;;
  waybar) tools=(sway waybar grim swaymsg) ;;
  gnome) tools=(gnome-shell gsettings dbus-daemon unshare) ;;
  *) echo "FAIL: no desktop $desktop"; exit 1 ;;
esac
for tool in "${tools[@]}" dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ "$desktop" != gnome ] || [ -d /usr/share/gnome-shell/extensions/ubuntu-appindicators@ubuntu.com ] \
  || { echo "SKIP: gnome-shell-extension-appindicator is not installed"; exit 77; }
# The system's Python, where Debian's python3-dbus lives (not one a version manager put first).
python=/usr/bin/python3
[ -x "$python" ] || python=$(command -v python3)
"$python" -c 'import dbus' 2>/dev/null || { echo "SKIP: python3-dbus is not installed"; exit 77; }
[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] \
  || ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 \
  || { echo "SKIP: Qt's wayland platform (qt6-wayland) is not installed"; exit 77; }
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/.config/Brisvane" "$home/shots"
mkdir -m 700 "$home/run"
# Not a first run: the program lives in the tray and dials the simulated line; a single click
# on the icon connects and disconnects.
cat > "$home/.config/Brisvane/Brisvane.ini" <<'INI'
[Settings]
FirstTime=FirstTime
[DialUp]
Service=simulated
[ShowConnect]
Connect=1
[DefaultConnection]
Connection=Simulated line
[CustomizeBrisvaneReminder]
Reminder=False
[ConnectSingleClick]
SingleClick=1
INI
chmod 600 "$home/.config/Brisvane/Brisvane.ini"
# The session's home and folders, set before its bus starts the services it activates (dconf
# keeps the desktop's settings under them).
run=(env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
     XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/run"
     dbus-run-session -- bash "$here/wayland_session.sh" "$desktop" "$bvane" "$python"
     "$here/snihost.py" "$late")
# GNOME Shell takes systemd-logind for its login manager wherever /run/systemd/seats exists,
# and stops at start when logind is not on the (private) system bus. An empty /run/systemd,
# in a mount namespace of the run's own, leaves it its stand-in for machines without logind.
hide_logind=()
if [ "$desktop" = gnome ] && [ -e /run/systemd/seats ]; then
  userns=()
  [ "$(id -u)" -eq 0 ] || userns=(--map-root-user)
  hide_logind=(unshare --mount "${userns[@]}" -- sh -c
               'mount -t tmpfs tmpfs /run/systemd && exec "$@"' hide_logind)
fi
status=0
started=$SECONDS
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:nogroup "$home"
  chmod 700 "$home"
  "${hide_logind[@]}" setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env -- \
    env PATH="$PATH" "${run[@]}" || status=$?
else
  "${hide_logind[@]}" "${run[@]}" || status=$?
fi
echo "the $desktop session took $((SECONDS - started)) s"
cp "$home"/shots/*.png "$home"/*.log "$out"/ 2>/dev/null || true
[ "$status" -eq 0 ] && echo "PASS: the band menu reached the host over D-Bus; screenshots in $out"
exit "$status"

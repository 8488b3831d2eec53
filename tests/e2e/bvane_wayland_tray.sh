#!/usr/bin/env bash
# The tray on Wayland: sway (headless backend) with its bar's tray as the StatusNotifier host,
# bvane on Qt's wayland platform with the simulated line. A host script on the session bus
# reads the item's menu (the band tree over com.canonical.dbusmenu), dials with a click on
# Connect and sees the tip show the running time and Disconnect come on. With "late" the bar
# starts 6 s after bvane, and is killed and started again at the end (a panel restart). sway
# refuses to run as root: as root the run drops to the unprivileged user "nobody".
# Usage: bvane_wayland_tray.sh BVANE ARTIFACT_DIR [late]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bvane=$1
out=$2
late=${3:-}
mkdir -p "$out"
for tool in sway swaybar grim swaymsg dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
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
cat > "$home/sway.conf" <<'CONF'
xwayland disable
output HEADLESS-1 resolution 1280x800
bar {
  id top
  position top
  tray_output *
  swaybar_command BAR
}
CONF
# The bar starts when the session lets it (a file appears), and leaves its process id.
sed -i "s|BAR|$home/bar.sh|" "$home/sway.conf"
printf '#!/bin/sh\nuntil [ -e ~/bar-go ]; do sleep 0.1; done\necho $$ >~/bar.pid\nexec swaybar "$@"\n' >"$home/bar.sh"
chmod +x "$home/bar.sh"
[ -n "$late" ] || touch "$home/bar-go"
# Not a first run: the program lives in the tray and dials the simulated line.
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
INI
chmod 600 "$home/.config/Brisvane/Brisvane.ini"
run=(dbus-run-session -- bash "$here/wayland_session.sh" "$home" "$bvane" "$python" "$here/snihost.py" "$late")
status=0
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:nogroup "$home"
  chmod 700 "$home"
  setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env -- \
    env PATH="$PATH" "${run[@]}" || status=$?
else
  "${run[@]}" || status=$?
fi
cp "$home"/shots/*.png "$home/bvane.log" "$out"/ 2>/dev/null || true
[ "$status" -eq 0 ] && echo "PASS: the band menu reached the host over D-Bus; screenshot in $out"
exit "$status"

#!/usr/bin/env bash
# Starts bvane with a fresh home on Xvfb with a window manager (twm) but no tray host: no
# XEmbed tray, and a session bus with no StatusNotifier watcher. The first start says, after
# its wait for a tray, that the desktop shows no tray icons (screenshot
# first-start-no-tray.png); the dialog shows its
# Menu button; a click on the dialog's surface leaves its window iconic (on the taskbar, or
# twm's icon), not withdrawn; a second start brings it back, and the first copy runs on.
# Usage: bvane_notray.sh BVANE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
bvane=$1
out=$2
mkdir -p "$out"
xsession_fresh_home
# Tall enough for the whole dialog with twm's title bar, its button row included.
XSESSION_SCREEN=1280x1024x24 xsession_start_server
xsession_start_wm
xsession_start_bus

# twm gives the focus to the window under the pointer: put the pointer there, then ask (a
# bounded wait: the focus may already be there, or twm may keep it).
focus() {
  xdotool mousemove --window "$1" 10 10
  timeout 5 xdotool windowfocus --sync "$1" || true
}

xsession_spawn "$bvane"
first=${xsession_pids[-1]}
xsession_wait_for "xdotool search --onlyvisible --name '^Closing Brisvane Customize Dialog$'" 20 \
  || { echo "FAIL: the reminder did not come up"; exit 1; }
reminder=$(xdotool search --onlyvisible --name '^Closing Brisvane Customize Dialog$' | head -1)
focus "$reminder"
xdotool key Return
xsession_wait_for "! xdotool search --onlyvisible --name '^Closing Brisvane Customize Dialog$'" 10
# The notice, titled like every message box of the program, once no tray came in 20 s.
xsession_wait_for "xdotool search --onlyvisible --name '^Brisvane$'" 30 \
  || { echo "FAIL: no notice that the desktop has no tray"; exit 1; }
notice=$(xdotool search --onlyvisible --name '^Brisvane$' | head -1)
sleep 1 # let it paint
import -window root "$out/first-start-no-tray.png"
focus "$notice"
xdotool key Return
xsession_wait_for "! xdotool search --onlyvisible --name '^Brisvane$'" 10
dialog=$(xdotool search --onlyvisible --name '^Customize Brisvane$' | head -1)
[ -n "$dialog" ] || { echo "FAIL: the Customize dialog is not shown"; exit 1; }
sleep 0.5
import -window "$dialog" "$out/dialog-with-menu-button.png"

# A click on the bottom left of the dialog's surface, where no control stands.
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove --window "$dialog" 3 $((HEIGHT - 3)) click 1
if ! xsession_wait_for "xprop -id $dialog WM_STATE | grep -q 'window state: Iconic'" 10; then
  echo "FAIL: after the click the dialog is not iconic:"
  xprop -id "$dialog" WM_STATE || true
  exit 1
fi
sleep 0.5
import -window root "$out/after-surface-click.png"

# Starting again brings the running copy's dialog back from the taskbar; that copy runs on.
timeout 20 "$bvane" || { echo "FAIL: the second copy did not end with status 0"; exit 1; }
if ! xsession_wait_for "xprop -id $dialog WM_STATE | grep -q 'window state: Normal'" 10; then
  echo "FAIL: the second start did not bring the dialog back:"
  xprop -id "$dialog" WM_STATE || true
  exit 1
fi
kill -0 "$first" || { echo "FAIL: the running copy ended"; exit 1; }
import -window root "$out/after-second-start.png"
echo "PASS: the notice came, the dialog went iconic (not withdrawn) on a click on its surface;"
echo "PASS: a second start brought the dialog back and the first copy runs on"

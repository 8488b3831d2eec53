#!/usr/bin/env bash
# Dials the simulated line from the tray on Xvfb + trayer, started before the panel (trayer
# comes 5 s later, as at a log-in): the icon docks and its menu opens; with "connect on single
# click" on, a click on the icon dials, the tip then shows the running time, and a second click
# hangs up; trayer killed and started again gets the icon back, and no notice says there is no
# tray. Writes screenshots of each stage. Usage: bvane_tray_dial.sh BVANE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
bvane=$1
out=$2
mkdir -p "$out"
xsession_fresh_home
# Not a first run: the program lives in the tray, dials the simulated line on a single click
# and brings the dialog forward when it does.
xsession_simulated_line_settings </dev/null
xsession_start_server
xsession_start_bus

log=$out/bvane.log
xsession_spawn "$bvane" >"$log" 2>&1
sleep 5
xsession_start_tray
xsession_wait_for '[ -n "$(xsession_tray_icon)" ]' 20 || { echo "FAIL: no tray icon"; exit 1; }
icon=$(xsession_tray_icon)
click_icon() { xdotool mousemove --window "$icon" 8 8 click 1; }
dialog_visible() { xdotool search --onlyvisible --name '^Customize Brisvane$' >/dev/null; }
windows() { { xdotool search --onlyvisible --classname '^bvane$' || true; } | wc -l; }
before=$(windows)
xdotool mousemove --window "$icon" 8 8 click 3
xsession_wait_for '[ "$(windows)" -gt "$before" ]' 10 || { echo "FAIL: no menu"; exit 1; }
import -window root "$out/0-menu.png"
xdotool key Escape
xsession_wait_for '[ "$(windows)" -le "$before" ]' 10 || { echo "FAIL: the menu stayed open"; exit 1; }

click_icon
xsession_wait_for dialog_visible 10 || { echo "FAIL: the click did not bring the dialog"; exit 1; }
dialog=$(xdotool search --onlyvisible --name '^Customize Brisvane$' | head -1)
# The simulated line takes a few seconds to come up; then the clock runs.
sleep 9
import -window "$dialog" "$out/1-connected-dialog.png"
# A double click puts the dialog away into the tray; the clock then writes the running time
# into its caption, in the same tick as into the icon's tip.
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
xsession_wait_for '! dialog_visible' 10 || { echo "FAIL: the double click left the dialog up"; exit 1; }
xsession_wait_for "xdotool search --name '^00:00:[0-9][0-9]\$'" 5 \
  || { echo "FAIL: the running time is not shown"; exit 1; }
time_shown=$(xdotool getwindowname "$(xdotool search --name '^00:00:[0-9][0-9]$' | head -1)")
# Hover over the icon until its tip comes up, and keep a picture of it.
# The tip: a window of ours, wide and one line high.
tip_window() {
  xwininfo -root -tree | grep '"bvane" "Brisvane"' \
    | awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, g, /[x+]/);
             if (g[1] > 100 && g[2] < 40) print $1 } }'
}
xdotool mousemove 600 400 sleep 0.3
xdotool mousemove --window "$icon" 5 5 sleep 0.2 mousemove --window "$icon" 8 9 sleep 0.2 \
  mousemove --window "$icon" 10 10
xsession_wait_for '[ -n "$(tip_window)" ]' 10 || { echo "FAIL: no tip over the icon"; exit 1; }
import -window root "$out/2-tip-with-running-time.png"

# The second single click hangs up; the dialog comes back with a double click to show it.
click_icon
sleep 5
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
xsession_wait_for dialog_visible 10 || { echo "FAIL: the dialog did not come back"; exit 1; }
sleep 0.5
import -window "$dialog" "$out/3-hung-up-dialog.png"
# The panel restarts.
kill "${xsession_pids[-1]}"
xsession_wait_for '[ -z "$(xsession_tray_icon)" ]' 10 || { echo "FAIL: the icon outlived its tray"; exit 1; }
xsession_start_tray
xsession_wait_for '[ -n "$(xsession_tray_icon)" ]' 20 || { echo "FAIL: no icon after the panel restart"; exit 1; }
import -window root "$out/4-after-panel-restart.png"
! xdotool search --onlyvisible --name '^Brisvane$' || { echo "FAIL: the no-tray notice came up"; exit 1; }
! grep -E 'device not open|libpng error|systemTrayWindowChanged' "$log" || { echo "FAIL: warnings"; exit 1; }
echo "PASS: dialled from the tray that came late, running time $time_shown shown, hung up, icon back after a panel restart"

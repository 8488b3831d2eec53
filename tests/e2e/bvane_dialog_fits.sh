#!/usr/bin/env bash
# The Customize dialog on small and scaled screens: on a 1366x768 screen with a 32 px panel
# and on a 2560x1440 screen at scale 2 it opens wholly on the screen, centred in the free
# area, bottom row (Preferences, Help, About) included. Writes a screenshot of each.
# Usage: bvane_dialog_fits.sh BVANE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bvane=$1
out=$2
mkdir -p "$out"

# One run: screen WxH, Qt scale factor; checks the dialog's frame against the screen.
run_on_screen() {
  local width=$1 height=$2 scale=$3 name=$4
  (
    source "$here/xsession.sh"
    export XSESSION_SCREEN="${width}x${height}x24"
    xsession_fresh_home
    xsession_start
    # trayer stands for the panel: 32 px along the top, which the desktop keeps free.
    local panel=$((32 * scale))
    xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, $panel, $width, $((height - panel))"
    QT_SCALE_FACTOR=$scale xsession_spawn "$bvane"
    # The first run shows the dialog with the reminder over it; the reminder goes first.
    xsession_wait_for "xdotool search --name '^Closing Brisvane Customize Dialog$'" 30 \
      || { echo "FAIL ($name): the reminder did not appear"; exit 1; }
    local reminder
    reminder=$(xdotool search --name '^Closing Brisvane Customize Dialog$' | head -1)
    xdotool windowfocus --sync "$reminder"
    xdotool key Return
    xsession_wait_for "! xdotool search --onlyvisible --name '^Closing Brisvane Customize Dialog$'" 10
    local dialog
    dialog=$(xdotool search --onlyvisible --name '^Customize Brisvane$' | head -1)
    [ -n "$dialog" ] || { echo "FAIL ($name): the Customize dialog is not shown"; exit 1; }
    sleep 0.5
    local x y w h
    eval "$(xwininfo -id "$dialog" | awk '/Absolute upper-left X/ {print "x=" $NF}
      /Absolute upper-left Y/ {print "y=" $NF} /Width:/ {print "w=" $NF} /Height:/ {print "h=" $NF}')"
    import -window root "$out/$name.png"
    echo "$name: dialog at ${x},${y} size ${w}x${h} on ${width}x${height} (scale $scale)"
    if [ "$x" -lt 0 ] || [ "$y" -lt "$panel" ] || [ $((x + w)) -gt "$width" ] \
       || [ $((y + h)) -gt "$height" ]; then
      echo "FAIL ($name): the dialog is not wholly on the free screen"; exit 1
    fi
    if [ $((w / scale)) -gt 1000 ] || [ $((h / scale)) -gt 700 ]; then
      echo "FAIL ($name): the dialog is larger than 1000x700"; exit 1
    fi
    # The Mail tab too: its two counters in the gaps of their sentence.
    xdotool windowfocus --sync "$dialog"
    xdotool key ctrl+Tab
    sleep 0.5
    import -window root "$out/$name-mail.png"
    # Centred in the free area (within a few pixels of rounding).
    local dx=$(( (x + w / 2) - width / 2 )) dy=$(( (y + h / 2) - (panel + (height - panel) / 2) ))
    if [ "${dx#-}" -gt $((8 * scale)) ] || [ "${dy#-}" -gt $((24 * scale)) ]; then
      echo "FAIL ($name): the dialog is not centred (off by $dx,$dy)"; exit 1
    fi
  )
}

run_on_screen 1366 768 1 dialog-1366x768
run_on_screen 2560 1440 2 dialog-2560x1440-scale2
echo "PASS: the dialog fits both screens; screenshots in $out"

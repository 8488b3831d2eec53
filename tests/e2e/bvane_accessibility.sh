#!/usr/bin/env bash
# Through the accessibility bus, every control of the check window (on the private Dovecot), of
# the Customize dialog's tabs and of Preferences, Usage and Sound Alerts has a name, each window
# a window's role; Escape closes the check window. Prints the unnamed controls (0 to pass). With
# "de": LANG=de_DE.UTF-8 (its locale compiled into the run's folder), German captions checked.
# Usage: bvane_accessibility.sh BVANE DOVECOT_FIXTURE ARTIFACT_DIR [de]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
bvane=$1 fixture=$2 out=$3 lang=${4:-en}
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log
walker() { /usr/bin/python3 "$here/atspi_walk.py" "$@"; } # Debian's python3-pyatspi
t() { if [ "$lang" = de ]; then echo "$2"; else echo "$1"; fi; } # a caption in the run's language
xsession_fresh_home
if [ "$lang" = de ]; then
  export LOCPATH=$xsession_home/locale
  mkdir -p "$LOCPATH" && localedef -i de_DE -f UTF-8 "$LOCPATH/de_DE.UTF-8" >"$out/locale.log"
  unset LANGUAGE LC_ALL LC_MESSAGES && export LANG=de_DE.UTF-8
fi
xsession_start
xsession_start_a11y
xsession_start_dovecot "$fixture" "$out/dovecot.log" ann 'open sesame' 'Bob <bob@example.org>' 'Hi'
xsession_mail_settings "Simulated line" "$dovecot_port" </dev/null
xsession_spawn "$bvane" >"$out/bvane.log" 2>&1

failed=0
check=$(t 'Checking Mail' 'E-Mails werden abgerufen')
walker wait "$check" 30
sleep 1 # the headers arrive just after the window shows
walker walk "$check" || failed=1
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "^$check\$" | head -1)"
xdotool key Escape
xsession_wait_for "! xdotool search --onlyvisible --name '^$check\$'" 10 \
  || { echo "FAIL: Escape did not close the check window"; failed=1; }

# The Customize dialog from the tray icon, and the windows it opens.
xdotool mousemove --window "$(xsession_tray_icon)" 8 8 click --repeat 2 --delay 80 1
dialog=$(t 'Customize Brisvane' 'Brisvane anpassen')
walker wait "$dialog"
walker walk "$dialog" --tabs | tee "$out/dialog.txt" || failed=1
walker press "$dialog" 'page tab' "$(t 'Connection(s)' 'Verbindung(en)')"
sleep 0.5
import -window "$(xdotool search --onlyvisible --name "^$dialog\$" | head -1)" "$out/dialog.png"
open_walk() { # button, window, button that closes it
  walker press "$dialog" 'push button' "$1"
  walker walk "$2" || failed=1
  walker press "$2" 'push button' "$3"
}
open_walk "$(t Preferences Voreinstellungen)" "$(t Preferences Voreinstellungen)" "$(t Cancel Abbrechen)"
open_walk "$(t Usage... Nutzung...)" "$(t Usage Nutzung)" "$(t Close Schließen)"
# A Browse button works while its alert is ticked.
walker press "$dialog" 'check box' "$(t 'Alert when connected' 'Signal beim Verbinden')"
open_walk "$(t Browse Durchsuchen)" "$(t 'Sound Alerts' Klangsignale)" "$(t Cancel Abbrechen)"

if [ "$lang" = de ]; then
  for want in $'page tab\tE-Mail' $'page tab\tProgramme' $'push button\tHilfe' \
      $'push button\tAusgewählte Verbindung wählen' $'check box\tE-Mail-Abruf ausschalten' \
      $'check box\tBeim Start in die Taskleiste minimieren'; do
    grep -qxF "  $want" "$out/dialog.txt" || { echo "FAIL: not in German: $want"; failed=1; }
  done
fi
[ "$failed" = 0 ] || { echo "FAIL: see above"; exit 1; }
echo "PASS ($lang): no unnamed control in the check window, the dialog and its windows"

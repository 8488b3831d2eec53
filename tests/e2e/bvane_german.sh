#!/usr/bin/env bash
# The program in German: started with LANG=de_DE.UTF-8 on a first run, the Customize dialog
# and the reminder over it carry German captions, as a screen reader reads them through the
# accessibility bus. Saves a screenshot of each tab of the German dialog.
# Usage: bvane_german.sh BVANE ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/xsession.sh"
bvane=$1
out=$2
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log
python=/usr/bin/python3
walker() { "$python" "$here/atspi_walk.py" "$@"; }
xsession_fresh_home

# The German locale of the C library, compiled into the run's home: the machine needs none.
export LOCPATH=$xsession_home/locale
mkdir -p "$LOCPATH"
localedef -i de_DE -f UTF-8 "$LOCPATH/de_DE.UTF-8" 2>"$out/localedef.log" \
  || { echo "FAIL: localedef"; cat "$out/localedef.log"; exit 1; }
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=de_DE.UTF-8

xsession_start
xsession_start_a11y
xsession_spawn "$bvane" >"$out/bvane.log" 2>&1

# Expected captions: the window, then role and name of controls it must show.
expect() {
  local title=$1; shift
  local names
  names=$(walker names "$title" 'page tab' 'push button' 'check box' label)
  local missing=0 want
  for want in "$@"; do
    grep -qxF "$want" <<<"$names" || { echo "missing in $title: $want"; missing=1; }
  done
  return $missing
}

failed=0
walker wait 'Brisvane-Anpassungsdialog schließen' 30 || failed=1
expect 'Brisvane-Anpassungsdialog schließen' $'push button\tOK' \
  $'check box\tDiese Meldung künftig anzeigen' || failed=1
walker press 'Brisvane-Anpassungsdialog schließen' 'push button' 'OK'
walker wait 'Brisvane anpassen' 20
expect 'Brisvane anpassen' $'page tab\tVerbindung(en)' $'page tab\tE-Mail' \
  $'page tab\tProgramme' $'page tab\tEinstellungen' $'push button\tVoreinstellungen' \
  $'push button\tHilfe' $'push button\tInfo' $'push button\tAusgewählte Verbindung wählen' \
  || failed=1
dialog=$(xdotool search --onlyvisible --name '^Brisvane anpassen$' | head -1)
for tab in 'Verbindung(en)' 'E-Mail' 'Programme' 'Einstellungen'; do
  walker tab 'Brisvane anpassen' "$tab"
  sleep 0.5
  import -window "$dialog" "$out/dialog-de-${tab//[^A-Za-z-]/}.png"
done
expect 'Brisvane anpassen' $'check box\tBeim Start in die Taskleiste minimieren' || failed=1
walker tab 'Brisvane anpassen' 'Verbindung(en)'
sleep 0.5
import -window "$dialog" "$out/dialog-de.png"

[ "$failed" = 0 ] || { echo "FAIL: captions not in German (above)"; exit 1; }
echo "PASS: the dialog and the reminder speak German; screenshots in $out"

#!/bin/sh
# Every text the program shows has its translation in each catalogue: lupdate is run over the
# sources into copies of the catalogues, and a text that is new, or that moved to another
# class (and so lost its translation at run time), shows as unfinished there.
# Usage: translations_complete.sh LUPDATE SOURCE_DIR
set -eu
lupdate=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check() { # catalogue, list of sources
    cp "$1" "$work/catalogue.ts"
    "$lupdate" "@$2" -I "$source_dir/src" -ts "$work/catalogue.ts" -no-obsolete -locations none \
        -silent 2>"$work/lupdate.log"
    missing=$(grep -c 'type="unfinished"' "$work/catalogue.ts" || true)
    if [ "$missing" != 0 ]; then
        echo "$(basename "$1"): $missing text(s) without a translation:"
        grep -B2 'type="unfinished"' "$work/catalogue.ts" | grep '<source>' | sed 's/^ *//'
        failed=1
    fi
}

failed=0
find -L "$source_dir/src" -name '*.cpp' -o -name '*.h' -o -name '*.ui' | grep -v '/src/runtime/' \
    | sort >"$work/bvane.lst"
find -L "$source_dir/src/runtime" -name '*.cpp' -o -name '*.h' | sort >"$work/runtime.lst"
if [ ! -s "$work/bvane.lst" ] || [ ! -s "$work/runtime.lst" ]; then
    echo "No sources under $source_dir/src"
    exit 1
fi
for ts in "$source_dir"/translations/bvane_*.ts; do check "$ts" "$work/bvane.lst"; done
for ts in "$source_dir"/translations/runtime_*.ts; do check "$ts" "$work/runtime.lst"; done
exit $failed

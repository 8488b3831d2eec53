#!/usr/bin/env bash
# Installs the packages in DIST_DIR with apt, runs installed_bvane.sh on them, and purges them
# again however the run ends. Needs root. Usage: installed_packages.sh DIST_DIR ARTIFACT_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dist=$(cd "$1" && pwd)
out=$2
packages=(brisvane libpinlib6-1 libpinlib6-dev)
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 -q "$@"; }
purge() {
  apt_get purge -y "${packages[@]}" >/dev/null || echo "FAIL: the packages could not be purged"
  if dpkg-query -W "${packages[@]}" 2>/dev/null | grep -q .; then
    dpkg-query -W "${packages[@]}" 2>/dev/null | grep -v '\s$' && echo "FAIL: packages left behind"
  fi
  [ ! -e /usr/bin/bvane ] || echo "FAIL: /usr/bin/bvane left behind"
}
trap purge EXIT
apt_get install -y --no-install-recommends "$dist"/*.deb
for p in "${packages[@]}"; do
  echo "== $p"; dpkg-query -L "$p" | sort
done > "$out/installed-files.txt" 2>/dev/null || true
bash "$here/installed_bvane.sh" "$out"

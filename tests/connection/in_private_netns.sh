#!/bin/sh
# Runs a test in network and mount namespaces of its own: a private /run, the /sys of the new
# network namespace and a private /var/lib/NetworkManager, so the daemons it starts touch
# nothing of the machine's. Exits 77 (a skip for CTest) where the namespaces cannot be made.
# Usage: in_private_netns.sh TEST [ARGS...]
if ! unshare -n -m true 2>/dev/null; then
  echo "SKIP: network and mount namespaces cannot be created here (they need root or user" \
       "namespaces), so the real NetworkManager test does not run"
  exit 77
fi
exec unshare -n -m --propagation private sh -c '
  if ! { mount -t tmpfs -o mode=755 tmpfs /run && mount -t sysfs sysfs /sys &&
         { [ ! -d /var/lib/NetworkManager ] ||
           mount -t tmpfs -o mode=700 tmpfs /var/lib/NetworkManager; } &&
         ip link set lo up; }; then
    echo "SKIP: the private /run, /sys or loopback could not be set up in the new namespaces"
    exit 77
  fi
  BVANE_PRIVATE_NETNS=1 exec "$@"' sh "$@"

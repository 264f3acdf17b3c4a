#!/bin/bash
# Inside the simulated server and a session bus of its own: Xvfb, the
# accessibility bus and its registry, then the listener.
. "$(dirname "$0")/../comun.sh"
xvfb
trap 'kill ${bus:-} "$xvfb_pid" 2>/dev/null || true' EXIT
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
esperar 10 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress >/dev/null 2>&1 || saltar "el bus de accesibilidad no arranca"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1
/usr/bin/python3 "$fuente/tests/accesibilidad/oir.py" talvora

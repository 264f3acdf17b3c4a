#!/bin/bash
# What a screen reader reads of the installed program over the simulated
# server (demo/entorno): a private session bus, the AT-SPI registry, Xvfb,
# and oir.py listening as a screen reader does.
. "$(dirname "$0")/../comun.sh"
necesita root Xvfb xdotool dbus-run-session
[ -x /usr/libexec/at-spi-bus-launcher ] || saltar "falta at-spi2-core"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || saltar "falta python3-pyatspi"
raiz=$construccion/atspi-instalado
rm -rf "$raiz"
DESTDIR=$raiz cmake --install "$construccion" --prefix /usr/local >/dev/null
exec "$fuente/demo/entorno" --instalado "$raiz/usr/local" \
    dbus-run-session -- bash "$fuente/tests/accesibilidad/sesion.sh" "$construccion"

#!/bin/bash
# End-to-end test of the installed program: stages "cmake --install" of the
# build tree, starts Xvfb, and drives Talvora over the simulated server of
# demo/entorno with xdotool (recorrido.sh).
. "$(dirname "$0")/../comun.sh"
necesita root Xvfb xdotool import convert
raiz=$construccion/e2e-instalado
rm -rf "$raiz"
DESTDIR=$raiz cmake --install "$construccion" --prefix /usr/local >/dev/null
xvfb
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
# The program draws on that server, whatever platform the caller asked Qt for.
export QT_QPA_PLATFORM=xcb
"$fuente/demo/entorno" --instalado "$raiz/usr/local" "$fuente/tests/e2e/recorrido.sh"

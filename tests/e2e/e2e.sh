#!/bin/bash
# End-to-end test of the installed program: stages "cmake --install" of the
# build tree, starts an X server, and drives Talvora over the simulated
# server of demo/entorno with xdotool. Exit 77 means skipped.
set -euo pipefail
construccion=$(cd "$1" && pwd)
fuente=$(cd "$(dirname "$0")/../.." && pwd)

saltar() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || saltar "hace falta root para los espacios de nombres"
for herramienta in unshare Xvfb xdotool import convert; do
    command -v "$herramienta" >/dev/null || saltar "falta $herramienta"
done
unshare --mount --net true 2>/dev/null || saltar "no se pueden crear espacios de nombres"

raiz=$construccion/e2e-instalado
rm -rf "$raiz"
DESTDIR=$raiz cmake --install "$construccion" --prefix /usr/local >/dev/null

pantalla=
for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { pantalla=$n; break; }
done
[ -n "$pantalla" ] || saltar "no hay pantalla X libre"
# -noreset: the server must not reset when Talvora, its only client, quits
# before the second start.
Xvfb ":$pantalla" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$pantalla" ] && break; sleep 0.05; done

export DISPLAY=:$pantalla
# The program draws on that server, whatever platform the caller asked Qt for.
export QT_QPA_PLATFORM=xcb
export E2E_SALIDA=$construccion
"$fuente/demo/entorno" --instalado "$raiz/usr/local" "$fuente/tests/e2e/recorrido.sh"

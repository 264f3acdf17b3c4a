# shellcheck shell=bash disable=SC2034
# Helpers sourced by the shell tests, which take the build tree as their
# first argument. Exit status 77 means skipped; every test runs with
# errexit, nounset and pipefail.
set -euo pipefail
construccion=$(cd "${1:-.}" && pwd)
fuente=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
temporal() { tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT; }
saltar() { echo "SKIP: $*"; exit 77; }
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }
veredicto() { [ "$fallos" -eq 0 ] || { echo "$fallos fallos"; exit 1; }; echo "OK: $*"; }
necesita() { # tools..., and "root" for root with namespaces
    local h
    [[ " $* " != *" root "* ]] || { [ "$(id -u)" -eq 0 ] && unshare -m -n true 2>/dev/null; } ||
        saltar "hace falta root con espacios de nombres"
    for h; do [ "$h" = root ] || command -v "$h" >/dev/null || saltar "falta $h"; done
}
esperar() { # seconds command...: polls until the command succeeds
    local fin=$((SECONDS + $1))
    until "${@:2}"; do [ $SECONDS -lt $fin ] || return 1; sleep 0.1; done
}
xvfb() { # starts Xvfb on a free display and exports DISPLAY; its pid in xvfb_pid
    local n
    for n in $(seq 90 130); do [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break; done
    # -noreset: the server must outlive its only client between two starts.
    Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:$n
    esperar 5 test -e /tmp/.X11-unix/X$n && kill -0 $xvfb_pid 2>/dev/null ||
        saltar "Xvfb no arranca en :$n"
}
# The main window's title and the first-run question's, as xdotool patterns.
principal='^Talvora by Korvane$' pregunta='^Bienvenido a Talvora'
ventana() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
hay_ventana() { [ -n "$(ventana "$1")" ]; }
teclas() { xdotool windowfocus --sync "$1" 2>/dev/null || true; xdotool key --delay 30 "${@:2}"; }

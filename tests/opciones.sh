#!/bin/bash
# The command line of the built program, with no display at all: --help and
# --version answer on standard output before anything needs a display, an
# unknown option or a stray argument is an error (status 2, usage on
# standard error), and Qt's own options are left to Qt.
set -uo pipefail
programa=$(cd "$1" && pwd)/talvora
[ -x "$programa" ] || { echo "FALLO: compile talvora antes"; exit 1; }
fuente=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(talvora VERSION \([0-9.]*\).*/\1/p' "$fuente/CMakeLists.txt")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

correr() { # args...: runs the program without a display; sets estado, salida, errores
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XAUTHORITY \
        timeout 10 "$programa" "$@" >"$tmp/salida" 2>"$tmp/errores"
    estado=$?
    salida=$(cat "$tmp/salida")
    errores=$(cat "$tmp/errores")
}

# Our options, alone and after Qt options whose values must not be taken
# for stray arguments.
while read -r esperado argumentos; do
    # shellcheck disable=SC2086
    correr $argumentos
    case $esperado in
        ayuda) [[ $salida == "Uso: talvora "* && $salida == *--version* ]] ;;
        version) [ "$salida" = "talvora $version" ] ;;
    esac || falla "'$argumentos': salida '$salida'"
    [ "$estado" -eq 0 ] || falla "'$argumentos': estado $estado"
    [ -z "$errores" ] || falla "'$argumentos': error '$errores'"
done <<'CASOS'
ayuda --help
ayuda -h
version --version
version -v
version -platform offscreen --version
version --display :99 -v
version -style=fusion -geometry 640x480+0+0 -reverse --version
ayuda -platform xcb -h --no-llega
CASOS

# Errors: nothing on standard output, the usage and the culprit on
# standard error, status 2, and no window attempted.
while IFS='|' read -r culpable argumentos; do
    # shellcheck disable=SC2086
    correr $argumentos
    [ "$estado" -eq 2 ] || falla "'$argumentos': estado $estado, se esperaba 2"
    [ -z "$salida" ] || falla "'$argumentos': escribió en la salida estándar"
    [[ $errores == *"$culpable"* && $errores == *"Uso: talvora"* ]] ||
        falla "'$argumentos': error '$errores'"
done <<'CASOS'
'--ayuda'|--ayuda
'-x'|-x
'-'|-
'--'|--
'--version=2'|--version=2
'-reverse=1'|-reverse=1
'servidor'|servidor
'-platform'|-platform
'--bogus'|-platform offscreen --bogus --version
CASOS

# A Qt option reaches Qt: an unknown platform plugin is Qt's own error.
correr -platform no-existe 2>/dev/null # (Qt aborts; bash's note on it is noise)
[ "$estado" -ne 0 ] && [[ $errores == *'"no-existe"'* ]] ||
    falla "-platform no llega a Qt: estado $estado, '$errores'"

[ "$fallos" -eq 0 ] || { echo "$fallos fallos"; exit 1; }
echo "OK: opciones de la línea de órdenes"

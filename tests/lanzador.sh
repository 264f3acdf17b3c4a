#!/bin/bash
# The menu entry's launcher, data/talvora-root, with stand-ins for pkexec,
# xhost and the program that record how they are called: root runs the
# program itself; another user goes through pkexec with the program's
# absolute path; on a Wayland session root is let into the X display only
# for the run, and Qt is told to use xcb. The user cases run as nobody.
set -euo pipefail
fuente=$(cd "$(dirname "$0")/.." && pwd)
saltar() { echo "SKIP: $*"; exit 77; }
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
mkdir "$tmp/bin" "$tmp/falsos"
cp "$fuente/data/talvora-root" "$tmp/bin/"
registro=$tmp/registro
# The program beside the launcher, and pkexec and xhost on the PATH.
printf '#!/bin/sh\necho "talvora uid=$(id -u) $*" >>%s\n' "$registro" >"$tmp/bin/talvora"
cat >"$tmp/falsos/pkexec" <<FALSO
#!/bin/sh
echo "pkexec \$* DISPLAY=\${DISPLAY:-} XAUTHORITY=\${XAUTHORITY:-}" >>$registro
exit \${PKEXEC_ESTADO:-0}
FALSO
printf '#!/bin/sh\necho "xhost $*" >>%s\n' "$registro" >"$tmp/falsos/xhost"
chmod 755 "$tmp/bin/"* "$tmp/falsos/"*

usuario=()
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null || saltar "falta setpriv"
    usuario=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

caso() { # name expected-status expected-log env-assignments... -- args...
    local nombre=$1 esperado=$2 registro_esperado=$3
    shift 3
    local entorno=()
    while [ "$1" != -- ]; do entorno+=("$1"); shift; done
    shift
    rm -f "$registro"; touch "$registro"; chmod 666 "$registro"
    local estado=0
    ${como[@]+"${como[@]}"} env -i PATH="$tmp/falsos:/usr/bin:/bin" HOME=/nonexistent \
        "${entorno[@]}" "$tmp/bin/talvora-root" "$@" 2>"$tmp/errores" || estado=$?
    [ "$estado" = "$esperado" ] || falla "$nombre: estado $estado, se esperaba $esperado ($(cat "$tmp/errores"))"
    [ "$(cat "$registro")" = "$registro_esperado" ] ||
        falla "$nombre: llamadas
$(cat "$registro")
se esperaba
$registro_esperado"
}

if [ "$(id -u)" -eq 0 ]; then
    como=()
    caso "root" 0 "talvora uid=0 -style fusion" DISPLAY=:5 -- -style fusion
fi
como=(${usuario[@]+"${usuario[@]}"})
caso "usuario en X11" 0 "pkexec $tmp/bin/talvora -geometry 640x480 DISPLAY=:5 XAUTHORITY=/tmp/cookie" \
    DISPLAY=:5 XAUTHORITY=/tmp/cookie XDG_SESSION_TYPE=x11 -- -geometry 640x480
caso "Wayland" 0 "xhost +si:localuser:root
pkexec $tmp/bin/talvora -platform xcb DISPLAY=:1 XAUTHORITY=/tmp/cookie
xhost -si:localuser:root" \
    DISPLAY=:1 XAUTHORITY=/tmp/cookie WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland --
# A refused password: pkexec's status comes back, and the grant is undone.
caso "Wayland, contraseña rechazada" 126 "xhost +si:localuser:root
pkexec $tmp/bin/talvora -platform xcb DISPLAY=:1 XAUTHORITY=/tmp/cookie
xhost -si:localuser:root" \
    DISPLAY=:1 XAUTHORITY=/tmp/cookie WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland \
    PKEXEC_ESTADO=126 --
caso "X11 con WAYLAND_DISPLAY de otra sesión" 0 "pkexec $tmp/bin/talvora DISPLAY=:5 XAUTHORITY=/tmp/cookie" \
    DISPLAY=:5 XAUTHORITY=/tmp/cookie WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=x11 --
caso "Wayland sin Xwayland" 1 "" WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland --
# The user's cookie file is named for root when XAUTHORITY is unset.
mkdir -m 755 "$tmp/casa"; touch "$tmp/casa/.Xauthority"
caso "sin XAUTHORITY" 0 "pkexec $tmp/bin/talvora DISPLAY=:5 XAUTHORITY=$tmp/casa/.Xauthority" \
    DISPLAY=:5 HOME="$tmp/casa" --

[ "$fallos" -eq 0 ] || { echo "$fallos fallos"; exit 1; }
echo "OK: el lanzador talvora-root"

#!/bin/bash
# Started by nobody, the built program shows the "Atención" warning before
# the first-run question and the main window, and goes on once it is
# answered; started by root it shows none. Under Xvfb in private mount and
# network namespaces where the data directory and /tmp are empty in-memory
# ones, so each start is a first run and nothing reaches the machine.
. "$(dirname "$0")/comun.sh"
necesita root setpriv Xvfb xdotool
[ "${2:-}" = --dentro ] ||
    exec unshare --mount --net --fork --propagation private -- bash "$0" "$construccion" --dentro
# Mounted over, not created: mkdir would reach the machine's own disk.
datos=/usr/local/share/talvora
# Root's alone, as on a server: nobody cannot write the configuration there.
mount -t tmpfs -o mode=0755 talvora-sin-root "$([ -d $datos ] && echo $datos || echo ${datos%/*})"
mkdir -p $datos
# Copied before /tmp is covered, since the build tree may lie under it; to
# where nobody reaches it.
mount -t tmpfs -o mode=0755 talvora-programa /mnt
install -m 755 "$construccion/talvora" /mnt/
mount -t tmpfs -o mode=1777 talvora-tmp /tmp
xvfb
trap 'kill ${programa:-} $xvfb_pid 2>/dev/null || true' EXIT
iniciar() { # command prefix...
    [ -z "${programa:-}" ] || { kill "$programa" && wait "$programa" || true; }
    env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" HOME=/tmp LANG=C.UTF-8 XDG_RUNTIME_DIR=/tmp \
        "$@" /mnt/talvora >>/tmp/talvora.log 2>&1 &
    programa=$!
}

iniciar setpriv --reuid=65534 --regid=65534 --clear-groups
esperar 20 hay_ventana '^Atención$' || falla "como nobody no aparece el aviso «Atención»"
! hay_ventana "$principal|$pregunta" || falla "el aviso no es lo primero"
teclas "$(ventana '^Atención$')" Return
esperar 20 hay_ventana "$pregunta" || falla "tras el aviso no sigue la pregunta del primer inicio"
# The question and then the error of settings nobody cannot write, in turn.
for t in "$pregunta" '^Error$'; do
    esperar 5 hay_ventana "$t" && teclas "$(ventana "$t")" Return
    esperar 5 eval '! hay_ventana "$t"' || true
done
esperar 20 hay_ventana "$principal" || falla "como nobody no llega a la ventana principal"
[ ! -e $datos/conf ] || falla "nobody escribió la configuración"

iniciar
esperar 20 hay_ventana "$pregunta" || falla "como root no aparece la pregunta del primer inicio"
! hay_ventana '^Atención$' || falla "como root aparece el aviso"
[ "$fallos" -eq 0 ] || sed 's/^/talvora: /' /tmp/talvora.log
veredicto "como nobody, el aviso antes que nada; como root, sin aviso"

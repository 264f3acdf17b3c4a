#!/bin/bash
# The harness itself: inside it, each stand-in starts, restarts and stops
# through systemctl with its pid file coming and going; around it, a run,
# even one killed half-way, leaves the machine's /tmp, processes and cgroups
# as they were, and hands back the command's status, environment and working
# directory. Exit status 77 means skipped.
set -euo pipefail
aqui=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

estado() { # unit ActiveState
    local visto
    visto=$(systemctl show -p Id,LoadState,ActiveState "$1" | sort | tr '\n' ' ')
    [ "$visto" = "ActiveState=$2 Id=$1 LoadState=loaded " ] || falla "$1: «$visto», no $2"
}

if [ "${1:-}" = --dentro ]; then
    readlink /proc/self/ns/pid >espacio
    [ "${COMPROBAR_VARIABLE:-}" = "$2" ] || falla "el entorno no llega a la orden"
    [ ! -e "$3" ] || falla "la orden ve el /tmp de la máquina"
    for f in "$aqui"/unidades/*.service; do
        u=${f##*/}
        grep -qx DefaultDependencies=no "$f" || falla "$u arrastraría el arranque ordinario"
        [ "$(grep -c '^PIDFile=/' "$f")" -eq 1 ] || falla "$u: no tiene un solo PIDFile="
        pid=$(sed -n 's/^PIDFile=//p' "$f")
        estado "$u" inactive
        systemctl start "$u" || falla "$u no arranca"
        demonio=$(cat "$pid" 2>/dev/null) || { falla "$u no deja $pid"; continue; }
        kill -0 "$demonio" || falla "$u: el pid de $pid no vive"
        [ "$demonio" = "$(systemctl show -p MainPID --value "$u")" ] ||
            falla "$u: $pid no es el MainPID"
        estado "$u" active
        systemctl restart "$u" || falla "$u no se reinicia"
        [ "$(cat "$pid")" != "$demonio" ] && ! kill -0 "$demonio" 2>/dev/null ||
            falla "$u: restart no renueva el proceso"
        demonio=$(cat "$pid")
        systemctl stop "$u" || falla "$u no se detiene"
        [ ! -e "$pid" ] || falla "$u: $pid queda tras stop"
        ! kill -0 "$demonio" 2>/dev/null || falla "$u: el proceso sigue tras stop"
        estado "$u" inactive
    done
    # Several units in one call; a missing one is not-found, not an error.
    visto=$(systemctl show -p LoadState squid.service talvora-ninguna.service | tr '\n' ' ')
    [ "$visto" = "LoadState=loaded  LoadState=not-found " ] || falla "unidad inexistente: «$visto»"
    exit $((fallos > 0 ? 1 : 0))
fi

[ "$(id -u)" -eq 0 ] || { echo "SKIP: hace falta root"; exit 77; }
trabajo=$(mktemp -d /tmp/comprobar-systemd.XXXXXX)
marca=$(mktemp /tmp/comprobar-systemd-marca.XXXXXX)
vieja=$(mktemp /var/tmp/comprobar-systemd-vieja.XXXXXX)
trap 'rm -rf "$trabajo" "$marca" "$vieja"' EXIT
echo "$$" | tee "$marca" >"$vieja"
# The ordinary boot's cleaning would take a file this old first.
touch -d '-40 days' "$vieja"
cgroups() { find /sys/fs/cgroup -type d -name 'talvora-systemd-*' 2>/dev/null | sort; }
antes=$(cgroups)
quedan() { # pid namespace
    { stat -L -c '%i %n' /proc/[0-9]*/ns/pid 2>/dev/null || true; } |
        awk -v i="${1//[^0-9]/}" -F '[ /]' '$1 == i { print $4 }'
}

cd "$trabajo"
estado=0
COMPROBAR_VARIABLE=$$ "$aqui/arrancar" "$aqui/comprobar.sh" --dentro $$ "$marca" || estado=$?
[ $estado -ne 77 ] || exit 77
[ $estado -eq 0 ] || falla "dentro: estado $estado"
[ -s espacio ] || falla "la orden no corre en el directorio de trabajo"
[ -z "$(quedan "$(cat espacio)")" ] || falla "quedan procesos: $(quedan "$(cat espacio)")"

# Killed while the command runs, systemd and the command go with it: at
# once on TERM; on KILL, once the machine's init has reaped them. The run
# after a KILL removes the cgroup left behind.
for senal in KILL TERM; do
    "$aqui/arrancar" sh -c "readlink /proc/self/ns/pid >espacio-$senal; exec sleep 60" &
    arranque=$!
    for _ in $(seq 100); do [ ! -s espacio-$senal ] || break; sleep 0.1; done
    kill -$senal $arranque
    wait $arranque 2>/dev/null && estado=0 || estado=$?
    [ $senal = KILL ] || [ $estado -eq 143 ] || falla "con TERM sale con $estado"
    [ -s espacio-$senal ] || { falla "la orden a matar con $senal no llegó a correr"; continue; }
    for _ in $(seq 100); do [ -n "$(quedan "$(cat espacio-$senal)")" ] || break; sleep 0.1; done
    [ -z "$(quedan "$(cat espacio-$senal)")" ] || falla "tras $senal quedan procesos"
    "$aqui/arrancar" sh -c 'exit 3' && estado=0 || estado=$?
    [ $estado -eq 3 ] || falla "el estado de la orden se pierde: $estado"
done

[ "$(cat "$marca")" = $$ ] && [ "$(cat "$vieja")" = $$ ] || falla "se tocó /tmp o /var/tmp"
[ "$(cgroups)" = "$antes" ] || falla "quedan cgroups: $(cgroups)"
[ $fallos -eq 0 ] || { echo "$fallos fallos"; exit 1; }
echo "OK: unidades sustitutas y arnés de systemd"

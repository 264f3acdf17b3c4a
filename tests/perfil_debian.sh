#!/bin/bash
# The Debian column of settings/perfiles.h against Debian 12 and 13's own
# packages, kept in the build tree between runs (tools/comprobar-debian).
# Then a copy of the table with wrong values, and stand-ins with PID files of
# their own: the check must name each wrong one, for both releases.
. "$(dirname "$0")/comun.sh"
necesita apt-get dpkg-deb cpp python3
temporal
comprobar() { python3 "$fuente/tools/comprobar-debian" "$@" "$construccion/paquetes-debian"; }

estado=0
comprobar >"$tmp/salida" || estado=$?
cat "$tmp/salida"
[ $estado -ne 77 ] || saltar "no se alcanza el archivo de Debian"
[ $estado -eq 0 ] || falla "la columna Debian no se cumple (estado $estado)"

# Part of a Debian value | what replaces it (with no value: a stand-in unit and
# its PIDFile= line) | the state and the line the check prints, in 12 and 13.
casos=$(cat <<'FIN'
start smbd.service|start smb.service|FALLA|unidad smb.service (cIniciarSamba): samba: *
systemd:named|systemd:bind9|FALLA|unidad bind9.service (cEstadoDns): bind9: solo Alias=*
systemd:apache2|systemd:apache|FALLA|unidad apache.service (cEstadoHttpd): ningún paquete*
/etc/bind/named.conf|/etc/named.conf|FALLA|configuración /etc/named.conf (cEditarDns): ningún*
squid/access.log|squid/cache.log|FALLA|registro /var/log/squid/cache.log *squid/access.log*
apache2/access.log|apache2/error.log|FALLA|registro /var/log/apache2/error.log (cLogHttpd): *
log/samba|log/smb|FALLA|registro /var/log/smb (cLogSamba): *log file = /var/log/samba/log.%m*
-u xinetd.service|-u named.service|FALLA|diario named.service (cLogXinetd): no sé*
|squid.service PIDFile=/run/squid/squid.pid|FALLA|pid squid.service *escribe /run/squid.pid, no*
|smbd.service PIDFile=/var/run/samba/smbd.pid|ok|pid smbd.service *PIDFile=/run/samba/smbd.pid*
FIN
)
cp "$fuente/settings/perfiles.h" "$tmp/perfiles.h"
mkdir "$tmp/unidades"
while IFS='|' read -r parte errado _; do
    if [ -z "$parte" ]; then
        printf '[Service]\n%s\n' "${errado#* }" >"$tmp/unidades/${errado%% *}"
        continue
    fi
    # The Debian value is the first one on a continuation line.
    antes=$(md5sum <"$tmp/perfiles.h")
    sed -i "0,\#^\( *\"[^\"]*\)$parte#s##\1$errado#" "$tmp/perfiles.h"
    [ "$(md5sum <"$tmp/perfiles.h")" != "$antes" ] || falla "no se pudo poner «$errado»"
done <<<"$casos"

estado=0
comprobar --tabla "$tmp/perfiles.h" --unidades "$tmp/unidades" >"$tmp/salida" || estado=$?
[ $estado -eq 1 ] || falla "la tabla errada sale con $estado, no 1"
hay() { # pattern: some line of the output matches it
    local l
    # shellcheck disable=SC2053
    while IFS= read -r l; do [[ $l == $1 ]] && return 0; done <"$tmp/salida"
    return 1
}
for version in 12 13; do
    while IFS='|' read -r _ _ esperado linea; do
        hay "$version $(printf '%-6s' "$esperado") $linea" || falla "$version: falta «$linea»"
    done <<<"$casos"
done
# Nothing else fails: 9 wrong facts in each release.
hay "18 hechos fallan, 0 avisos." || { falla "otra cuenta de fallos"; cat "$tmp/salida"; }

# With no network and nothing cached, the check is skipped, not failed.
if [ "$(id -u)" -eq 0 ] && unshare -n true 2>/dev/null; then
    estado=0
    unshare -n python3 "$fuente/tools/comprobar-debian" "$tmp/vacia" >"$tmp/salida" || estado=$?
    if [ $estado -ne 77 ] || ! hay "No se alcanza el archivo de Debian*"; then
        falla "sin red sale con $estado: $(cat "$tmp/salida")"
    fi
fi
veredicto "la columna Debian se cumple y cada valor errado se nombra"

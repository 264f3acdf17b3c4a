#!/bin/bash
# Installs the DEB built from the build tree with apt-get, in a private
# mount and network namespace where /usr, /etc and /var are overlays on an
# in-memory file system, so the machine's own dpkg database and files are
# never touched. Checks the installed files and the command line without a
# display, then that "apt-get remove" keeps what the program wrote under
# /usr/local/share/talvora and "apt-get purge" removes it (and nothing
# else). Exit 77 means skipped.
set -euo pipefail
construccion=$(cd "$1" && pwd)
saltar() { echo "SKIP: $*"; exit 77; }

if [ "${2:-}" != --dentro ]; then
    [ "$(id -u)" -eq 0 ] || saltar "hace falta root (espacios de nombres)"
    for herramienta in unshare apt-get dpkg cpack; do
        command -v "$herramienta" >/dev/null || saltar "falta $herramienta"
    done
    unshare --mount --net --propagation private true 2>/dev/null ||
        saltar "no se pueden crear espacios de nombres"
    cmake --build "$construccion" --target talvora >/dev/null ||
        { echo "FALLO: no compila talvora"; exit 1; }
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    cpack -G DEB --config "$construccion/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
        { cat "$tmp/cpack.log"; exit 1; }
    deb=$(echo "$tmp"/talvora_*.deb)
    [ -f "$deb" ] || { echo "FALLO: cpack no hizo el DEB"; exit 1; }
    estado=0
    unshare --mount --net --fork --propagation private -- \
        bash "$0" "$construccion" --dentro "$deb" || estado=$?
    # The machine's own database must not know the package.
    if dpkg-query -W talvora >/dev/null 2>&1; then
        echo "FALLO: el paquete quedó en la base de datos de dpkg de la máquina"
        exit 1
    fi
    exit "$estado"
fi

deb=$3
base=$(dirname "$deb")/capas # inside the scratch directory the caller removes
mkdir "$base"
mount -t tmpfs -o mode=0755 talvora-instalacion "$base"
for dir in /usr /etc /var; do
    nombre=${dir#/}
    mkdir -p "$base/$nombre/arriba" "$base/$nombre/trabajo"
    mount -t overlay overlay \
        -o "lowerdir=$dir,upperdir=$base/$nombre/arriba,workdir=$base/$nombre/trabajo" "$dir"
done

fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }
export DEBIAN_FRONTEND=noninteractive
apt() { apt-get -q -y -o Dpkg::Use-Pty=0 --no-install-recommends "$@" >>"$base/apt.log" 2>&1; }
datos=/usr/local/share/talvora
estado_dpkg() { dpkg-query -W -f='${db:Status-Abbrev}' talvora 2>/dev/null | tr -d ' '; }

echo "== apt-get install $(basename "$deb")"
apt install "$deb" || { cat "$base/apt.log"; echo "FALLO: apt-get install"; exit 1; }
[ "$(estado_dpkg)" = ii ] || falla "dpkg no lo da por instalado: $(estado_dpkg)"

# No display of any kind: the command line still answers.
sin_pantalla() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XAUTHORITY "$@"; }
version=$(dpkg-query -W -f='${Version}' talvora)
[ "$(sin_pantalla talvora --version)" = "talvora ${version%-*}" ] ||
    falla "talvora --version: $(sin_pantalla talvora --version 2>&1)"
sin_pantalla talvora --help | grep -q '^Uso: talvora' || falla "talvora --help no muestra el uso"
[ "$(command -v talvora) $(command -v talvora-root)" = "/usr/bin/talvora /usr/bin/talvora-root" ] ||
    falla "talvora y talvora-root no están en /usr/bin"
for archivo in $datos/pordefecto/korv-gate $datos/pordefecto/ftpaccess \
    $datos/sounds/attack_detected.wav $datos/doc/talvora/index.html \
    /usr/share/applications/talvora.desktop /usr/share/metainfo/io.talvora.talvora.metainfo.xml \
    /usr/share/polkit-1/actions/io.talvora.pkexec.talvora.policy \
    /usr/share/doc/talvora/copyright /usr/share/doc/talvora/COPYING; do
    [ -f "$archivo" ] || falla "falta $archivo"
done
# talvora-root's page is a ".so" of talvora's, which man follows.
[ -f /usr/share/man/man8/talvora-root.8.gz ] &&
    [ "$(man -w talvora 2>/dev/null) $(man -w talvora-root 2>/dev/null)" = \
    "/usr/share/man/man8/talvora.8.gz /usr/share/man/man8/talvora.8.gz" ] ||
    falla "man -w: $(man -w talvora talvora-root 2>&1 | tr '\n' ' ')"
[ -x $datos/pordefecto/korv-gate ] || falla "korv-gate no es ejecutable"

# What the program writes on its first run, plus a file of the administrator's.
talvora_escribe() {
    printf 'kwrite\n' >$datos/conf
    printf '*filter\nCOMMIT\n' >$datos/firewall
    printf 'mío\n' >$datos/notas-del-admin
}
talvora_escribe

echo "== apt-get remove talvora"
apt remove talvora || { cat "$base/apt.log"; falla "apt-get remove"; }
[ "$(estado_dpkg)" = rc ] || falla "tras remove el estado es $(estado_dpkg), se esperaba rc"
[ ! -e /usr/bin/talvora ] && [ ! -e /usr/bin/talvora-root ] || falla "remove deja los programas"
[ ! -e $datos/pordefecto/korv-gate ] || falla "remove deja los archivos del paquete"
[ "$(cat $datos/conf 2>/dev/null)" = kwrite ] || falla "remove borró la configuración"
[ -s $datos/firewall ] || falla "remove borró la instantánea del cortafuegos"

echo "== apt-get purge talvora"
apt purge talvora || { cat "$base/apt.log"; falla "apt-get purge"; }
[ -z "$(estado_dpkg)" ] || [ "$(estado_dpkg)" = un ] || falla "tras purge el estado es $(estado_dpkg)"
[ ! -e $datos/conf ] || falla "purge deja la configuración"
[ ! -e $datos/firewall ] || falla "purge deja la instantánea del cortafuegos"
[ "$(cat $datos/notas-del-admin 2>/dev/null)" = mío ] || falla "purge borró un archivo que no era suyo"

echo "== purge sin nada más: el directorio desaparece"
apt install "$deb" || falla "segunda instalación"
talvora_escribe
rm $datos/notas-del-admin
apt purge talvora || falla "segunda purga"
[ ! -e $datos ] || falla "purge deja $datos: $(ls -A $datos | tr '\n' ' ')"

if [ "$fallos" -ne 0 ]; then
    sed 's/^/apt: /' "$base/apt.log"
    echo "$fallos fallos"
    exit 1
fi
echo "OK: instalado, probado sin pantalla, quitado (configuración guardada) y purgado"

#!/bin/bash
# Installs the DEB of the build tree with apt-get in private mount and
# network namespaces where /usr, /etc and /var are overlays on memory, so the
# machine's files and dpkg database stay as they were. The command line
# answers without a display; "remove" keeps what the program wrote under its
# data directory, "purge" removes that and nothing else.
. "$(dirname "$0")/comun.sh"
if [ "${2:-}" != --dentro ]; then
    necesita root apt-get dpkg cpack
    cmake --build "$construccion" --target talvora >/dev/null || { echo "FALLO: compilar"; exit 1; }
    temporal
    cpack -G DEB --config "$construccion/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
        { cat "$tmp/cpack.log"; echo "FALLO: cpack"; exit 1; }
    estado=0
    unshare -m -n -f --propagation private bash "$0" "$construccion" --dentro "$tmp" || estado=$?
    ! dpkg-query -W talvora 2>/dev/null || { echo "FALLO: dpkg de la máquina lo conoce"; exit 1; }
    exit "$estado"
fi

tmp=$3
mkdir "$tmp/capas"
mount -t tmpfs talvora-instalacion "$tmp/capas"
for d in usr etc var; do
    mkdir -p "$tmp/capas/$d/arriba" "$tmp/capas/$d/trabajo"
    mount -t overlay overlay -o \
        "lowerdir=/$d,upperdir=$tmp/capas/$d/arriba,workdir=$tmp/capas/$d/trabajo" "/$d"
done
export DEBIAN_FRONTEND=noninteractive
apt() {
    apt-get -qy -o Dpkg::Use-Pty=0 --no-install-recommends "$@" >>"$tmp/apt.log" 2>&1 ||
        { cat "$tmp/apt.log"; echo "FALLO: apt-get $*"; exit 1; }
}
datos=/usr/local/share/talvora
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XAUTHORITY

apt install "$tmp"/talvora_*.deb
[[ $(talvora --version) == "talvora "[0-9]* ]] || falla "talvora --version"
# What the program writes, and a file of the administrator's.
printf 'kwrite\n' >$datos/conf
printf '*filter\nCOMMIT\n' >$datos/firewall
echo mío >$datos/notas-del-admin
apt remove talvora
[ "$(ls $datos | paste -sd' ')" = "conf firewall notas-del-admin" ] ||
    falla "tras remove en $datos hay: $(ls $datos | paste -sd' ')"
apt purge talvora
[ "$(ls -A $datos)" = notas-del-admin ] || falla "tras purge en $datos hay: $(ls -A $datos)"
veredicto "instalado, probado sin pantalla, quitado (configuración guardada) y purgado"

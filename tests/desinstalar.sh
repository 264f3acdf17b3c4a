#!/bin/bash
# A source install and its removal as the README tells them: tools/instalar,
# then the test command with the tests that install (the packages, the
# staged install of the end-to-end walk), then the DEB over it, then tools/desinstalar. All of
# it in private mount and network namespaces where /usr, /etc, /var and the
# source tree are overlays on memory, so nothing of the machine changes.
# Exactly what tools/instalar installed must go, save what the package owns;
# the package's files and the configuration the program wrote stay.
. "$(dirname "$0")/comun.sh"
if [ "${2:-}" != --dentro ]; then
    necesita root apt-get dpkg cpack Xvfb xdotool import
    # The test command builds in build-pruebas; another tree (the sanitizers')
    # would make it build a whole second one.
    [ "$construccion" = "$fuente/build-pruebas" ] ||
        saltar "prueba la orden de pruebas, que construye en build-pruebas, no en $construccion"
    cmake --build "$construccion" --target talvora >/dev/null || { echo "FALLO: compilar"; exit 1; }
    temporal
    cpack -G DEB --config "$construccion/CPackConfig.cmake" -B "$tmp/deb" >"$tmp/cpack.log" 2>&1 ||
        { cat "$tmp/cpack.log"; echo "FALLO: cpack"; exit 1; }
    estado=0
    unshare -m -n -f --propagation private bash "$0" "$construccion" --dentro "$tmp" || estado=$?
    exit "$estado"
fi

tmp=$3
mkdir "$tmp/capas"
mount -t tmpfs talvora-desinstalar "$tmp/capas"
capa() { # directory, where to mount its overlay
    local c=$tmp/capas/$(echo "$1" | tr / _)
    mkdir -p "$c/arriba" "$c/trabajo" "$2"
    mount -t overlay overlay -o "lowerdir=$1,upperdir=$c/arriba,workdir=$c/trabajo" "$2"
}
# The source tree's overlay is made over the real tree and bound back once
# /var or /usr is covered (it may lie under them): an overlay over an
# overlay would leave the demo's sandbox no room for its own, as the kernel
# stacks them only two deep.
capa "$fuente" "$tmp/capas/fuente"
for d in /usr /etc /var; do capa $d $d; done
mount --bind "$tmp/capas/fuente" "$fuente"
export DEBIAN_FRONTEND=noninteractive PATH=/usr/local/sbin:/usr/local/bin:$PATH
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XAUTHORITY
cd "$fuente"
datos=/usr/local/share/talvora
raices=(/usr/local /usr/share/polkit-1/actions /usr/bin)
# The desktop's caches are rebuilt by the DEB's scripts and belong to no one.
foto() { find "${raices[@]}" \( -type f -o -type l \) ! -name '*.cache' | sort; }
paso() { # what it is, then the command; its output goes to a log shown on failure
    local que=$1
    shift
    local inicio=$SECONDS
    "$@" >"$tmp/paso.log" 2>&1 || { tail -n 40 "$tmp/paso.log"; echo "FALLO: $que"; exit 1; }
    echo "$que: $((SECONDS - inicio)) s"
}
# A fresh machine, whatever this one had of Talvora (only in the overlay).
find /usr/local /usr/share/polkit-1/actions -name '*talvora*' -prune -exec rm -rf {} +
foto >"$tmp/antes"

paso "tools/instalar" sh tools/instalar
[ -s build/instalados.txt ] || { echo "FALLO: tools/instalar no dejó su lista"; exit 1; }
cp build/instalados.txt "$tmp/instalados"
grep -qx /usr/local/bin/talvora "$tmp/instalados" || falla "la lista no tiene el programa"
# The tests that install (cpack, and cmake --install for the end-to-end
# walk): each writes an install_manifest.txt in the tree it installs from.
paso "la orden de pruebas" sh tools/probar -R '^(paquetes|e2e)$'
cmp -s build/instalados.txt "$tmp/instalados" || falla "las pruebas tocaron build/instalados.txt"
cmp -s build/install_manifest.txt "$tmp/instalados" ||
    falla "las pruebas tocaron build/install_manifest.txt"

paso "apt-get install del .deb" apt-get -qy -o Dpkg::Use-Pty=0 --no-install-recommends \
    install "$tmp"/deb/talvora_*.deb
printf 'kwrite\n' >$datos/conf
printf '*filter\nCOMMIT\n' >$datos/firewall
dpkg-query -L talvora | while read -r f; do [ -d "$f" ] || echo "$f"; done | sort >"$tmp/paquete"

paso "tools/desinstalar" sh tools/desinstalar
grep -q "se deja /usr/share/polkit-1/actions/io.talvora.pkexec.talvora.policy: es del paquete" \
    "$tmp/paso.log" || falla "no dice qué deja del paquete: $(cat "$tmp/paso.log")"
# What is left: what was there before, the package and the configuration.
sort -u "$tmp/antes" <(grep -E "^($(
    IFS='|'
    echo "${raices[*]}"
))/" "$tmp/paquete") <(printf '%s\n' $datos/conf $datos/firewall) >"$tmp/esperado"
foto >"$tmp/despues"
diff "$tmp/esperado" "$tmp/despues" >"$tmp/diferencia" ||
    falla "tras desinstalar, (< falta, > sobra): $(cat "$tmp/diferencia")"
while read -r f; do
    [ -e "$f" ] || falla "falta $f, del paquete"
done <"$tmp/paquete"
# Only what the package shares with the source install is left of the list.
comm -23 <(sort "$tmp/instalados") "$tmp/paquete" | while read -r f; do
    [ ! -e "$f" ] || echo "$f"
done >"$tmp/quedan"
[ ! -s "$tmp/quedan" ] || falla "quedan archivos de tools/instalar: $(cat "$tmp/quedan")"
[ "$(command -v talvora)" = /usr/bin/talvora ] || falla "talvora es $(command -v talvora)"
[ ! -e build/instalados.txt ] || falla "la lista sigue tras desinstalar"
estado=0
sh tools/desinstalar >"$tmp/otra" 2>&1 || estado=$?
[ $estado -eq 1 ] && grep -q "no existe build/instalados.txt" "$tmp/otra" ||
    falla "sin lista, desinstalar: estado $estado $(cat "$tmp/otra")"
veredicto "instalado, probado, con el .deb encima, quitado lo instalado y nada del paquete"

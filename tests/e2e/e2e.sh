#!/bin/bash
# End-to-end test of the installed program: stages "cmake --install" of the
# build tree, starts Xvfb, and drives Talvora over the simulated server of
# demo/entorno with xdotool (recorrido.sh).
. "$(dirname "$0")/../comun.sh"
necesita root Xvfb xdotool import convert
raiz=$construccion/e2e-instalado
rm -rf "$raiz"
DESTDIR=$raiz cmake --install "$construccion" --prefix /usr/local >/dev/null
xvfb
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
# The program draws on that server, whatever platform the caller asked Qt for.
export QT_QPA_PLATFORM=xcb
"$fuente/demo/entorno" --instalado "$raiz/usr/local" "$fuente/tests/e2e/recorrido.sh"

# In a chroot whose / is not a mount point the sandbox cannot make its
# mounts private: the capture of tools/instalar must say that first, not
# that no window appeared. The chroot is a plain directory with the
# machine's folders bound in, in a mount namespace of its own.
vacia=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null || true; rmdir "$vacia"' EXIT
unshare -m --propagation private bash -c '
    set -e
    mount -t tmpfs talvora-chroot "$3"
    r=$3/raiz
    for d in usr etc dev proc sys tmp "$1" "$2"; do mkdir -p "$r/$d"; mount --rbind "/$d" "$r/$d"; done
    for l in bin sbin lib lib64; do [ ! -L /$l ] || ln -s "$(readlink /$l)" "$r/$l"; done
    chroot "$r" env PATH="$2/e2e-instalado/usr/local/bin:/usr/bin:/bin" \
        "$1/demo/captura" /tmp/talvora-chroot-$$.png
' chroot "$fuente" "$construccion" "$vacia" >"$construccion/e2e-chroot.log" 2>&1 && estado=0 || estado=$?
[ $estado -eq 1 ] || falla "captura en un chroot: estado $estado"
head -n1 "$construccion/e2e-chroot.log" | grep -q "no es un punto de montaje" ||
    falla "captura en un chroot, primero: $(head -n1 "$construccion/e2e-chroot.log")"
grep -q "demo: no aparece ninguna ventana" "$construccion/e2e-chroot.log" ||
    falla "captura en un chroot: $(cat "$construccion/e2e-chroot.log")"
veredicto "captura en un chroot"

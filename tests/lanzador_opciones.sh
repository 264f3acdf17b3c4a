#!/bin/bash
# The command line of the built program with no display: --help and --version
# answer, an unknown option or a stray argument is an error (status 2, usage
# on standard error), Qt's options reach Qt, and with no display to open on
# the program says so in Spanish (status 3) unless another platform is asked. Then the menu entry's launcher,
# data/talvora-root, with stand-ins for pkexec, xhost and the program that
# record their calls; the user cases run as nobody when the test is root.
. "$(dirname "$0")/comun.sh"
version=$(sed -n 's/^project(talvora VERSION \([0-9.]*\).*/\1/p' "$fuente/CMakeLists.txt")
temporal

# Arguments | status | standard output | standard error (glob patterns)
while IFS='|' read -r argumentos esperado; do
    estado=0
    # shellcheck disable=SC2086
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XAUTHORITY \
        timeout 10 "$construccion/talvora" $argumentos >"$tmp/salida" 2>"$tmp/errores" || estado=$?
    hecho="$estado|$(cat "$tmp/salida")|$(cat "$tmp/errores")"
    # shellcheck disable=SC2053
    [[ $hecho == $esperado ]] || falla "talvora $argumentos: $hecho"
done 2>/dev/null <<CASOS
--help|0|Uso: talvora *--version*|
-h|0|Uso: talvora *|
--version|0|talvora $version|
-v|0|talvora $version|
--display :99 -v|0|talvora $version|
-style=fusion -geometry 640x480+0+0 -reverse --version|0|talvora $version|
-platform xcb -h --no-llega|0|Uso: talvora *|
--ayuda|2||*'--ayuda'*Uso: talvora *
-x|2||*'-x'*Uso: talvora *
--|2||*'--'*Uso: talvora *
--version=2|2||*'--version=2'*Uso: talvora *
-reverse=1|2||*'-reverse=1'*Uso: talvora *
servidor|2||*'servidor'*Uso: talvora *
-platform|2||*'-platform'*Uso: talvora *
-platform offscreen --bogus --version|2||*'--bogus'*Uso: talvora *
-platform no-existe|1[0-9][0-9]||*"no-existe"*
|3||talvora: no hay ninguna pantalla*DISPLAY*ssh -X -t usuario@servidor talvora-root*
-reverse -platform xcb|3||talvora: no hay ninguna pantalla*
--platform=xcb:nograb -style fusion|3||talvora: no hay ninguna pantalla*
-platform wayland;xcb|1[0-9][0-9]||*
CASOS

necesita setpriv
[ "$(id -u)" -eq 0 ] && usuario="setpriv --reuid=65534 --regid=65534 --clear-groups" || usuario=
chmod 755 "$tmp" && mkdir -m 755 "$tmp/bin" "$tmp/falsos" "$tmp/casa"

# Another platform needs no display: offscreen gets past the check and opens
# its window (the "needs root" box, as nobody, held until the timeout). A
# copy, since nobody may not reach the build tree.
install -m 755 "$construccion/talvora" "$tmp/bin/talvora-construido"
estado=0
# shellcheck disable=SC2086
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 3 \
    $usuario "$tmp/bin/talvora-construido" 2>"$tmp/errores" || estado=$?
[ $estado -eq 124 ] || falla "offscreen sin pantalla: estado $estado $(cat "$tmp/errores")"
cp "$fuente/data/talvora-root" "$tmp/bin/" && touch "$tmp/casa/.Xauthority"
r=$tmp/registro
printf '#!/bin/sh\necho "talvora uid=$(id -u) $*" >>%s\n' "$r" >"$tmp/bin/talvora"
printf '#!/bin/sh\necho "xhost $*" >>%s\n' "$r" >"$tmp/falsos/xhost"
printf '#!/bin/sh\necho "pkexec $* [$DISPLAY $XAUTHORITY]" >>%s\nexit ${PKEXEC_ESTADO:-0}\n' "$r" \
    >"$tmp/falsos/pkexec"
chmod 755 "$tmp/bin/"* "$tmp/falsos/"*
p=$tmp/bin/talvora x=si:localuser:root w="WAYLAND_DISPLAY=w XDG_SESSION_TYPE=wayland"
pw="pkexec $p -platform xcb"
# Who | case | environment | arguments | calls, ";"-joined | status
while IFS='|' read -r quien caso entorno argumentos esperado; do
    como=$usuario
    if [ "$quien" = root ]; then [ "$(id -u)" -eq 0 ] || continue; como=; fi
    install -m 666 /dev/null "$r"
    estado=0
    # shellcheck disable=SC2086
    $como env -i PATH="$tmp/falsos:/usr/bin:/bin" HOME=/nonexistent $entorno \
        "$tmp/bin/talvora-root" $argumentos 2>"$tmp/errores" || estado=$?
    [ "$(paste -sd';' "$r")|$estado" = "$esperado" ] ||
        falla "lanzador, $caso: $(paste -sd';' "$r")|$estado $(cat "$tmp/errores")"
done <<CASOS
root|root|DISPLAY=:5|-style fusion|talvora uid=0 -style fusion|0
usuario|X11|DISPLAY=:5 XAUTHORITY=/c XDG_SESSION_TYPE=x11|-reverse|pkexec $p -reverse [:5 /c]|0
usuario|sin XAUTHORITY|DISPLAY=:5 HOME=$tmp/casa||pkexec $p [:5 $tmp/casa/.Xauthority]|0
usuario|Wayland|DISPLAY=:1 XAUTHORITY=/c $w||xhost +$x;$pw [:1 /c];xhost -$x|0
usuario|contraseña rechazada|DISPLAY=:1 $w PKEXEC_ESTADO=126||xhost +$x;$pw [:1 ];xhost -$x|126
usuario|Wayland sin Xwayland|$w|||1
usuario|X11 con WAYLAND_DISPLAY|DISPLAY=:5 WAYLAND_DISPLAY=w XDG_SESSION_TYPE=x11||pkexec $p [:5 ]|0
CASOS
veredicto "la línea de órdenes y el lanzador"

#!/bin/bash
# Runs inside demo/entorno: drives the installed talvora as a person would.
set -euo pipefail

paso() { echo "== $*"; }
falla() {
    echo "FALLO: $*" >&2
    [ -s /var/log/talvora-e2e.log ] && sed 's/^/talvora: /' /var/log/talvora-e2e.log >&2
    exit 1
}
esperar() { # seconds command...: poll until the command succeeds
    local limite=$1; shift
    local fin=$((SECONDS + limite))
    until "$@"; do
        [ $SECONDS -lt $fin ] || return 1
        sleep 0.1
    done
}
ventana() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
clic() { # window x y (relative to the window)
    xdotool mousemove --window "$1" "$2" "$3" click 1
}
teclas() { xdotool windowfocus --sync "$1" 2>/dev/null || true; shift; xdotool key --delay 30 "$@"; }
# Colour of a status label: looks for the markup's own colour in its pixels.
color_de() { # window x y
    import -window "$1" -crop "50x20+$(($2))+$(($3))" +repage png:- 2>/dev/null \
        | convert png:- -format %c histogram:info:- 2>/dev/null \
        | awk '/#006400/{v=1} /#FF0000/{r=1} END{if(v)print "verde"; else if(r)print "rojo"; else print "nada"}'
}
es_color() { [ "$(color_de "$1" "$2" "$3")" = "$4" ]; }
hay_ventana() { [ -n "$(ventana "$1")" ]; }

deny_antes=$(md5sum < /etc/hosts.deny)

paso "primer inicio: la pregunta, respondida con Enter (no escribir)"
talvora >/var/log/talvora-e2e.log 2>&1 &
programa=$!
esperar 20 hay_ventana "^Bienvenido a Talvora" || falla "no aparece la pregunta del primer inicio"
teclas "$(ventana '^Bienvenido a Talvora')" Return
esperar 20 hay_ventana "^Talvora by Korvane$" || falla "no aparece la ventana principal"
W=$(ventana "^Talvora by Korvane$")
[ "$(wc -l < /usr/local/share/talvora/conf)" -eq 44 ] || falla "el archivo de configuracion no tiene 44 lineas"
[ "$(head -n1 /usr/local/share/talvora/conf)" = kwrite ] || falla "configuracion por defecto incorrecta"
[ "$(md5sum < /etc/hosts.deny)" = "$deny_antes" ] || falla "Enter en la pregunta cambio /etc/hosts.deny"

paso "Squid: Iniciar crea el pid, la etiqueta pasa a ON; Detener lo borra, OFF"
esperar 5 es_color "$W" 355 65 rojo || falla "Squid no empieza en OFF"
clic "$W" 175 75
esperar 5 test -e /var/run/squid.pid || falla "Iniciar Squid no creo el pid"
esperar 5 es_color "$W" 355 65 verde || falla "la etiqueta de Squid no paso a ON"
clic "$W" 240 75
esperar 5 test ! -e /var/run/squid.pid || falla "Detener Squid no borro el pid"
esperar 5 es_color "$W" 355 65 rojo || falla "la etiqueta de Squid no volvio a OFF"

paso "Telnet: Iniciar y Detener reescriben el archivo de xinetd"
grep -q "disable[[:space:]]*= yes" /etc/xinetd.d/telnet || falla "telnet no empieza deshabilitado"
clic "$W" 240 257
esperar 5 grep -qP '^\tdisable\t= no$' /etc/xinetd.d/telnet || falla "Iniciar Telnet no escribio disable = no"
esperar 5 test -e /var/run/xinetd.pid || falla "xinetd no quedo en marcha"
clic "$W" 305 257
esperar 5 grep -qP '^\tdisable\t= yes$' /etc/xinetd.d/telnet || falla "Detener Telnet no escribio disable = yes"

paso "hosts.allow: texto editado y Aplicar"
clic "$W" 300 460
xdotool key --delay 20 ctrl+End Return
xdotool type --delay 20 "in.telnetd: 10.0.0.1"
clic "$W" 60 420
esperar 5 grep -q "^in.telnetd: 10.0.0.1$" /etc/hosts.allow || falla "Aplicar no guardo hosts.allow"
[ "$(tail -c 2 /etc/hosts.allow | od -An -c | tr -d ' ')" = '\n\n' ] || falla "hosts.allow no termina en linea vacia"

paso "Configuracion: un ajuste cambiado y guardado se usa en la accion siguiente"
teclas "$W" alt+a
xdotool key --delay 60 Down Down Down Down Return
esperar 10 hay_ventana "^Configuracion de Talvora" || falla "no se abrio la configuracion"
C=$(ventana "^Configuracion de Talvora")
# Focus order: cEditor, cAbrirManual, the tabs, then cIniciarGate.
teclas "$C" Tab Tab Tab ctrl+a
xdotool type --delay 20 "echo usado > /etc/e2e-gate"
clic "$C" 452 379
esperar 5 grep -qx "echo usado > /etc/e2e-gate" /usr/local/share/talvora/conf || falla "Aceptar no guardo el ajuste"
[ "$(sed -n 3p /usr/local/share/talvora/conf)" = "echo usado > /etc/e2e-gate" ] || falla "el ajuste no quedo en la linea 3"
clic "$W" 175 45
esperar 5 test -e /etc/e2e-gate || falla "Iniciar Gate no uso el comando nuevo"

if [ -n "${E2E_SALIDA:-}" ]; then
    import -window "$W" "$E2E_SALIDA/e2e-pantalla.png" 2>/dev/null || true
fi

paso "Ctrl+Q guarda lo escrito sin Aplicar"
clic "$W" 300 460
xdotool key --delay 20 ctrl+End Return
xdotool type --delay 20 "sshd: 10.0.0.2"
teclas "$W" ctrl+q
esperar 10 bash -c "! kill -0 $programa 2>/dev/null" || falla "Ctrl+Q no termino el programa"
wait $programa || falla "talvora termino con estado $? (ver /var/log/talvora-e2e.log)"
grep -q "^sshd: 10.0.0.2$" /etc/hosts.allow || falla "Ctrl+Q no guardo lo escrito"

paso "segundo inicio: sin pregunta, con la configuracion guardada"
talvora >>/var/log/talvora-e2e.log 2>&1 &
programa=$!
esperar 20 hay_ventana "^Talvora by Korvane$" || falla "no aparece la ventana en el segundo inicio"
! hay_ventana "^Bienvenido a Talvora" || falla "la pregunta aparecio otra vez"
teclas "$(ventana '^Talvora by Korvane$')" ctrl+q
esperar 10 bash -c "! kill -0 $programa 2>/dev/null" || falla "Ctrl+Q no termino el segundo inicio"
wait $programa || falla "el segundo inicio termino con estado $?"

echo "e2e: todo correcto"

#!/bin/bash
# Runs inside demo/entorno: drives the installed talvora as a person would.
. "$(dirname "$0")/../comun.sh"
registro=/var/log/talvora-e2e.log
falla() { echo "FALLO: $*" >&2; sed 's/^/talvora: /' $registro >&2; exit 1; }
clic() { xdotool mousemove --window "$1" "$2" "$3" click 1; } # window x y, relative
escribir() { xdotool key --delay 20 ctrl+End Return; xdotool type --delay 20 "$1"; }
color() { # window x y colour: the status label at x,y shows its markup's colour
    import -window "$1" -crop "50x20+$2+$3" +repage png:- 2>/dev/null |
        convert png:- -format %c histogram:info:- 2>/dev/null | grep -i "#$4" >/dev/null
}
terminado() { ! kill -0 "$programa" 2>/dev/null; }
deny=$(md5sum </etc/hosts.deny)
conf=/usr/local/share/talvora/conf

# First start: the question, answered with Enter (which does not write).
talvora >$registro 2>&1 &
programa=$!
esperar 20 hay_ventana "$pregunta" || falla "no aparece la pregunta del primer inicio"
teclas "$(ventana "$pregunta")" Return
esperar 20 hay_ventana "$principal" || falla "no aparece la ventana principal"
W=$(ventana "$principal")
[ "$(wc -l <$conf) $(head -n1 $conf)" = "44 kwrite" ] || falla "la configuración por defecto no es"
[ "$(md5sum </etc/hosts.deny)" = "$deny" ] || falla "Enter en la pregunta cambió /etc/hosts.deny"

# Squid: Iniciar creates the pid and turns the label green; Detener, back.
esperar 5 color "$W" 355 65 FF0000 || falla "Squid no empieza en OFF"
clic "$W" 175 75
esperar 5 test -e /var/run/squid.pid || falla "Iniciar Squid no creó el pid"
esperar 5 color "$W" 355 65 006400 || falla "la etiqueta de Squid no pasó a ON"
clic "$W" 240 75
esperar 5 test ! -e /var/run/squid.pid || falla "Detener Squid no borró el pid"
esperar 5 color "$W" 355 65 FF0000 || falla "la etiqueta de Squid no volvió a OFF"

# Ctrl+Q saves what was typed but not applied, and ends the run cleanly
# with a configuration dialog still open.
teclas "$W" alt+a
xdotool key --delay 60 Down Down Down Down Return
esperar 10 hay_ventana "^Configuracion de Talvora" || falla "no se abrió la configuración"
clic "$W" 300 460
escribir "sshd: 10.0.0.2"
teclas "$W" ctrl+q
esperar 10 terminado || falla "Ctrl+Q no terminó el programa"
wait $programa || falla "talvora terminó con estado $?"
grep -qx "sshd: 10.0.0.2" /etc/hosts.allow || falla "Ctrl+Q no guardó lo escrito"

echo "e2e: todo correcto"

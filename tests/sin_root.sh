#!/bin/bash
# Started by hand as a user other than root (nobody), the built program
# first shows the "Atención" warning, before the first-run question and the
# main window, and goes on once it is answered; started as root it shows no
# such box. Runs under Xvfb in a private mount namespace whose
# /usr/local/share/talvora is an empty in-memory directory, so each start is
# a first run and nothing is written to the machine. Exit 77 means skipped.
set -euo pipefail
construccion=$(cd "$1" && pwd)
saltar() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || saltar "hace falta root (espacio de montaje y cambio de usuario)"
for herramienta in unshare setpriv Xvfb xdotool; do
    command -v "$herramienta" >/dev/null || saltar "falta $herramienta"
done
[ -x "$construccion/talvora" ] || { echo "FALLO: compile talvora antes"; exit 1; }

if [ "${2:-}" != --dentro ]; then
    unshare --mount --propagation private true 2>/dev/null || saltar "no se pueden crear espacios de nombres"
    exec unshare --mount --fork --propagation private -- bash "$0" "$construccion" --dentro
fi

# (mkdir would reach the machine's own disk: only mounts are private here)
if [ -d /usr/local/share/talvora ]; then
    mount -t tmpfs -o mode=0755 talvora-sin-root /usr/local/share/talvora
else
    mount -t tmpfs -o mode=0755 talvora-sin-root /usr/local/share
    mkdir /usr/local/share/talvora
fi
# A private /tmp: the X socket and nobody's scratch files go there.
mount -t tmpfs -o mode=1777 talvora-tmp /tmp
mkdir -m 1777 /tmp/.X11-unix
# The program must be reachable by nobody wherever the build tree is.
mkdir -m 755 /tmp/prog
cp "$construccion/talvora" /tmp/prog/
chmod 755 /tmp/prog/talvora

Xvfb :77 -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
programa=
trap 'kill $programa $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -e /tmp/.X11-unix/X77 ] && break; sleep 0.05; done
export DISPLAY=:77

visibles() { # the titles of talvora's visible windows, one a line
    local w
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        xdotool getwindowname "$w" 2>/dev/null
    done
}
esperar_titulo() { # regex: waits up to 20 s for one visible window so titled
    local fin=$((SECONDS + 20))
    until visibles | grep -qE "$1"; do
        [ $SECONDS -lt $fin ] || return 1
        kill -0 "$programa" 2>/dev/null || return 1
        sleep 0.1
    done
}
responder() { # regex: Return on the window so titled
    local w
    w=$(xdotool search --onlyvisible --name "$1" | head -n1)
    xdotool windowfocus --sync "$w" 2>/dev/null || true
    xdotool key Return
}
fallos=0
falla() { echo "FALLO: $*"; fallos=$((fallos + 1)); }

iniciar() { # command prefix...
    env -i PATH=/usr/bin:/bin DISPLAY=:77 HOME=/tmp LANG=C.UTF-8 XDG_RUNTIME_DIR=/tmp \
        "$@" /tmp/prog/talvora >>/tmp/talvora.log 2>&1 &
    programa=$!
}
terminar() {
    kill "$programa" 2>/dev/null || true
    wait "$programa" 2>/dev/null || true
    programa=
}

principal='^Talvora by Korvane$'
pregunta='^Bienvenido a Talvora'

# --- As nobody: the warning first, alone.
iniciar setpriv --reuid=65534 --regid=65534 --clear-groups
if esperar_titulo '^Atención$'; then
    titulos=$(visibles)
    if grep -qE "$principal|$pregunta" <<<"$titulos"; then
        falla "el aviso no es lo primero: $(tr '\n' ',' <<<"$titulos")"
    fi
    # Answered, the program goes on to the first-run question (the data
    # directory is empty), and past it to the main window; as nobody the
    # settings cannot be written, which it also says.
    responder '^Atención$'
    esperar_titulo "$pregunta" || falla "tras el aviso no sigue la pregunta del primer inicio"
    for _ in 1 2 3; do
        visibles | grep -qE "$principal" && break
        w=$(visibles | grep -E "$pregunta|^Error$" | head -n1) || true
        [ -n "$w" ] && responder "^$w\$"
        esperar_titulo "$principal|$pregunta|^Error$" || break
        sleep 0.3
    done
    esperar_titulo "$principal" || falla "como nobody no llega a la ventana principal"
    [ ! -e /usr/local/share/talvora/conf ] || falla "nobody escribió la configuración"
else
    falla "como nobody no aparece el aviso «Atención»: $(visibles | tr '\n' ',')"
fi
terminar

# --- As root: no warning; the first-run question comes straight away.
iniciar
esperar_titulo "$pregunta" || falla "como root no aparece la pregunta del primer inicio"
if visibles | grep -q '^Atención$'; then falla "como root aparece el aviso"; fi
terminar

if [ "$fallos" -ne 0 ]; then
    sed 's/^/talvora: /' /tmp/talvora.log
    echo "$fallos fallos"
    exit 1
fi
echo "OK: como nobody, el aviso antes que nada; como root, sin aviso"

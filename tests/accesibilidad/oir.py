#!/usr/bin/python3
"""Runs the program and hears it as a screen reader does, over AT-SPI: the
start-up summed up, the administrator's action and a change from outside
announced, and a status read with its state. What the program names and
tells, F10 and the Error box are tst_form1's and tst_formularios'; here,
that it reaches AT-SPI. Exit 0, 1 on a fault, 77 when AT-SPI says nothing."""
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

contexto = GLib.MainContext.default()
fallos = []
anuncios = []  # what was announced, in order


def fallar(texto):
    print("FALLO:", texto, flush=True)
    fallos.append(texto)


def al_evento(e):
    try:
        if e.type.startswith("object:announcement"):
            anuncios.append(str(e.any_data))
        elif e.detail1 and e.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            anuncios.append(e.source.name)
    except Exception:  # the source may be gone already
        pass


def esperar(condicion, segundos, que):
    fin = time.monotonic() + segundos
    while time.monotonic() < fin:
        while contexto.pending():
            contexto.iteration(False)
        r = condicion()
        if r:
            return r
        time.sleep(0.05)
    fallar("%s: nada en %d s" % (que, segundos))
    return None


def buscar(raiz, rol, nombre=None):
    return [o for o in pyatspi.findAllDescendants(
        raiz, lambda o: o.getRole() == rol and (nombre is None or re.fullmatch(nombre, o.name)))]


def uno(raiz, rol, nombre, que, segundos=10):
    r = esperar(lambda: (buscar(raiz(), rol, nombre) if raiz() else None), segundos, que)
    return r[0] if r else None


def anunciado(patron):
    return lambda: any(re.search(patron, a) for a in anuncios)


def aplicacion():
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and a.name.lower() == "talvora":
            return a
    return None


pyatspi.Registry.registerEventListener(al_evento, "object:state-changed:showing")
try:  # Qt 6.8's announcements
    pyatspi.Registry.registerEventListener(al_evento, "object:announcement")
except Exception:
    pass

programa = subprocess.Popen([sys.argv[1]], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    if not esperar(aplicacion, 30, "la aplicacion en el registro"):
        print("SKIP: el programa no aparece en AT-SPI")
        sys.exit(77)
    # The first-run question, answered with its default.
    no = uno(aplicacion, pyatspi.ROLE_PUSH_BUTTON, r"No Escribir.*", "la primera pregunta")
    if no:
        no.queryAction().doAction(0)
    ventana = uno(aplicacion, pyatspi.ROLE_DIALOG, "Talvora by Korvane", "la ventana")
    v = lambda: ventana

    # The start-up burst is said once, summed up.
    esperar(anunciado(r"^1[01] servicios: "), 10, "el resumen del arranque")
    if len(anuncios) != 1:
        fallar("al abrir se anuncio %r" % anuncios)

    # The administrator's own action, then a service that goes down by itself.
    uno(v, pyatspi.ROLE_PUSH_BUTTON, "Iniciar Squid", "Iniciar Squid").queryAction().doAction(0)
    esperar(anunciado(r"^Squid: ON$"), 10, "el anuncio de Iniciar Squid")
    uno(v, pyatspi.ROLE_LABEL, "Estado de Squid: ON", "el estado de Squid, por su nombre")
    os.remove("/var/run/httpd.pid")
    esperar(anunciado(r"^Httpd: OFF$"), 10, "el anuncio de Httpd caido")
finally:
    programa.terminate()
    try:
        programa.wait(10)
    except subprocess.TimeoutExpired:
        programa.kill()

print("anuncios:", anuncios)
if fallos:
    print("%d fallos" % len(fallos))
    sys.exit(1)
print("OK: anuncios y un estado leidos por AT-SPI")

#!/usr/bin/python3
"""Runs the program and reads it as a screen reader does, over AT-SPI: each
status's state, the announcement of a change (the administrator's and one
from outside), a launcher that cannot start, F10, and the configuration
fields as they are spoken. Exit 0, 1 on a fault, 77 when AT-SPI says nothing."""
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


def pulsar(boton):
    boton.queryAction().doAction(0)


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
        pulsar(no)
    ventana = uno(aplicacion, pyatspi.ROLE_DIALOG, "Talvora by Korvane", "la ventana")
    v = lambda: ventana

    # Each status says its state in its name, the name a label is read by.
    def estados():
        e = {o.name for o in buscar(ventana, pyatspi.ROLE_LABEL, r"Estado de .*: (ON|OFF|Error)")}
        return e if len(e) == 11 else None
    e = esperar(estados, 15, "los once estados")
    for esperado in ("Estado de Httpd: ON", "Estado de Squid: OFF", "Estado de Telnet: OFF",
                     "Estado de Ftp: ON"):
        if e and esperado not in e:
            fallar("falta %r entre %s" % (esperado, sorted(e)))
    marcos = buscar(ventana, pyatspi.ROLE_FRAME)
    if marcos:
        fallar("%d objetos dentro de la ventana dicen ser ventanas" % len(marcos))
    # The start-up burst is said once, summed up.
    esperar(anunciado(r"^1[01] servicios: "), 10, "el resumen del arranque")
    if len(anuncios) != 1:
        fallar("al abrir se anuncio %r" % anuncios)

    # The administrator's own action, then a service that goes down by itself.
    pulsar(uno(v, pyatspi.ROLE_PUSH_BUTTON, "Iniciar Squid", "Iniciar Squid"))
    esperar(anunciado(r"^Squid: ON$"), 10, "el anuncio de Iniciar Squid")
    uno(v, pyatspi.ROLE_LABEL, "Estado de Squid: ON", "el estado de Squid tras Iniciar")
    os.remove("/var/run/httpd.pid")
    esperar(anunciado(r"^Httpd: OFF$"), 10, "el anuncio de Httpd caido")

    # An editor that is not installed: the Error box, as for a failed command.
    pulsar(uno(v, pyatspi.ROLE_PUSH_BUTTON, "Editar Squid", "Editar Squid"))
    error = esperar(lambda: [o for o in buscar(aplicacion(), pyatspi.ROLE_LABEL, r"(?s).*kwrite.*")],
                    10, "la caja Error del editor que falta")
    if error:
        pulsar(uno(aplicacion, pyatspi.ROLE_PUSH_BUTTON, "OK|Aceptar", "el boton de la caja"))

    # F10 opens the first menu.
    subprocess.run(["xdotool", "search", "--name", "^Talvora by Korvane$", "windowfocus", "--sync",
                    "key", "F10"], check=False)
    esperar(lambda: [m for m in buscar(ventana, pyatspi.ROLE_MENU, "Archivo")
                     if m.getState().contains(pyatspi.STATE_SHOWING)
                     and m.getState().contains(pyatspi.STATE_SELECTED)]
            or [m for m in buscar(aplicacion(), pyatspi.ROLE_MENU_ITEM, r"Configurar .*")
                if m.getState().contains(pyatspi.STATE_SHOWING)], 10, "el menu con F10")
    subprocess.run(["xdotool", "key", "Escape"], check=False)

    # The configuration fields, spoken by the label each is tied to.
    pulsar(uno(aplicacion, pyatspi.ROLE_MENU_ITEM, r"Configurar .*", "Configurar"))
    dialogo = uno(aplicacion, pyatspi.ROLE_DIALOG, r"(?i).*config.*", "el dialogo de configuracion")

    def hablado(o):
        for r in o.getRelationSet():
            if r.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                return r.getTarget(0).name
        return o.name
    if dialogo:
        campos = {hablado(o) for o in buscar(dialogo, pyatspi.ROLE_TEXT)}
        for esperado in ("Iniciar, Squid", "Detener, Named", "Editor / Visor"):
            if esperado not in campos:
                fallar("ningun campo se dice %r" % esperado)
        perfil = [hablado(o) for o in buscar(dialogo, pyatspi.ROLE_COMBO_BOX)]
        if perfil != ["Perfil de Por Defecto"]:
            fallar("el perfil se dice %r" % perfil)
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
print("OK: estados, anuncios, caja Error, F10 y campos leidos por AT-SPI")

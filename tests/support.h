#pragma once
// What the window tests share besides the core's: a main window over a
// temporary root, and an answerer of the windows it opens.

#include "mainwindow/form1impl.h"
#include "mainwindow/monitor.h"
#include "nucleo.h"

#include <QtWidgets>

// A main window over a root whose configuration puts every status file and
// the xinetd directory inside it. 'antes' prepares the root first.
struct Ventana {
    Raiz raiz;
    Grabador grabador;
    Ajustes ajustes;
    std::unique_ptr<form1> w;
    explicit Ventana(const std::function<void(Ventana &)> &antes = {});
    Sistema sistema() const { return raiz.sistema(grabador.ejecutor); }
    bool llamar(const char *slot) { return QMetaObject::invokeMethod(w.get(), slot); }
    void cambiarAjuste(Ajustes::Clave clave, const QByteArray &valor)
    {
        ::cambiarAjuste(ajustes, clave, valor);
    }
};

// The entries of a list, as shown.
QStringList entradas(const QListWidget *lista);

// The failure box on screen that holds nothing up, if there is one.
QMessageBox *caja();

// What a status label shows, as text: "ON", "OFF", "Error", "---", or "".
QString palabra(const QLabel *etiqueta);

// Runs 'accion', answering in turn each modal window it opens, and each
// message box it shows without holding the window up: "=text" types
// into an input dialog and enters it, "<Escape>" and "<Return>" press the
// key, "<Cerrar>" closes it, any other answer clicks the button with that
// text. A window beyond the answers is ended, so a stray box fails a test
// instead of hanging it.
// Returns "title|text|button|..." for each window seen, waiting after
// 'accion' until at least 'esperadas' were: those a job off the window's
// thread brings when it ends.
QStringList contestar(const QStringList &respuestas, const std::function<void()> &accion,
                      int esperadas = 0);

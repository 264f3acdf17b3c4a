#pragma once
// What the tests share: a temporary root, a recorder of commands, a main
// window over them, and an answerer of modal windows.

#include "mainwindow/form1impl.h"
#include "platform/sistema.h"
#include "rutas.h"
#include "settings/ajustes.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

// A temporary directory standing in for "/": the Sistema it gives maps fixed
// paths under it.
struct Raiz {
    QTemporaryDir dir;
    ~Raiz();
    Sistema sistema(Sistema::Ejecutor ejecutor = {}) const { return Sistema(dir.path(), ejecutor); }
    QString ruta(const QString &absoluta) const { return dir.path() + absoluta; }
    bool existe(const QString &absoluta) const { return QFileInfo::exists(ruta(absoluta)); }
    void escribir(const QString &absoluta, const QByteArray &contenido) const;
    QByteArray leer(const QString &absoluta) const; // empty if unreadable
};

// Records every command line and argument vector instead of running it;
// 'accion' may fake a command's effect (and give its exit status).
struct Grabador {
    QStringList comandos;           // shell lines, as UTF-8
    QByteArrayList crudos;          // the same, byte for byte
    QList<QByteArrayList> vectores; // programs run without a shell, byte for byte
    std::function<int(const QString &)> accion;
    std::function<int(const QByteArrayList &)> accionVector;
    bool deVerdad = false;      // shell lines run for real too (their paths lie in the root)
    Sistema::Ejecutor ejecutor; // hands each command to this recorder
    Grabador();
};

// A sample file from tests/datos.
QByteArray muestra(const QString &nombre);

// The lines of a settings file, written independently of the code under test.
QByteArray lineas(const QByteArrayList &valores);

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
    void cambiarAjuste(Ajustes::Clave clave, const QByteArray &valor); // as a saved dialog does
};

// What a status label shows, as text: "ON", "OFF", "Error", "---", or "".
QString palabra(const QLabel *etiqueta);

// Runs 'accion', answering in turn each modal window it opens: "=text" types
// into an input dialog and enters it, "<Escape>" and "<Return>" press the
// key, "<Cerrar>" closes it, any other answer clicks the button with that
// text. A window beyond the answers is ended, so a stray box fails a test
// instead of hanging it.
// Returns "title|text|button|..." for each window seen.
QStringList contestar(const QStringList &respuestas, const std::function<void()> &accion);

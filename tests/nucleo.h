#pragma once
// What the core tests and the window tests share: a temporary root, a
// recorder of commands, and the sample files.

#include "platform/sistema.h"
#include "rutas.h"
#include "settings/ajustes.h"

#include <QTemporaryDir>
#include <QtTest>

#include <mutex>

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

// Records every command line and argument vector instead of running it,
// from whatever thread runs it; 'accion' may fake a command's effect (and
// give its exit status).
class Grabador
{
public:
    Grabador();
    QStringList comandos() const;           // shell lines, as UTF-8
    QByteArrayList crudos() const;          // the same, byte for byte
    QList<QByteArrayList> vectores() const; // programs run without a shell, byte for byte
    void limpiar();

    std::function<int(const QString &)> accion;
    std::function<int(const QByteArrayList &)> accionVector;
    bool deVerdad = false;      // shell lines run for real too (their paths lie in the root)
    Sistema::Ejecutor ejecutor; // hands each command to this recorder

private:
    mutable std::mutex cerrojo_;
    QByteArrayList crudos_;
    QList<QByteArrayList> vectores_;
};

// A sample file from tests/datos.
QByteArray muestra(const QString &nombre);

// The lines of a settings file, written independently of the code under test.
QByteArray lineas(const QByteArrayList &valores);

// One value changed, as a saved dialog leaves it.
void cambiarAjuste(Ajustes &ajustes, Ajustes::Clave clave, const QByteArray &valor);

// The Clásico settings with every status file and the xinetd directory
// inside the root.
QByteArrayList ajustesEnRaiz(const Raiz &raiz);

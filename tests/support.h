#pragma once

#include "platform/host.h"

#include <QDir>
#include <QMetaMethod>
#include <QMetaObject>
#include <QTemporaryDir>

class QAbstractButton;
class QMessageBox;

// A temporary directory standing in for "/": Host::path maps fixed paths
// under it for as long as the object lives.
struct RaizTemporal {
    QTemporaryDir dir_;
    RaizTemporal() { Host::setRoot(dir_.path()); }
    ~RaizTemporal() { Host::setRoot(QString()); }
    QString raiz() const { return dir_.path(); }
    QString ruta(const QString &absoluta) const { return dir_.path() + absoluta; } // as Host::path maps it
    void crearDirectorio(const QString &absoluta) const { QDir().mkpath(ruta(absoluta)); }
    bool existe(const QString &absoluta) const { return QFileInfo::exists(ruta(absoluta)); }
    void escribir(const QString &absoluta, const QByteArray &contenido) const
    {
        crearDirectorio(QFileInfo(absoluta).path());
        QFile f(ruta(absoluta));
        if (!f.open(QIODevice::WriteOnly) || f.write(contenido) != contenido.size())
            qFatal("cannot write test file %s", qPrintable(f.fileName()));
    }
    QByteArray leer(const QString &absoluta) const // empty if unreadable
    {
        QFile f(ruta(absoluta));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// The lines of a settings file, each ending in "\n": written independently
// of the code under test.
inline QByteArray lineas(const QStringList &valores) { return (valores.join('\n') + '\n').toUtf8(); }

// Records every command line instead of running it. 'accion', if set, is
// called with each command (to fake its effect or run it for real).
struct Grabador {
    QStringList comandos;
    QList<QStringList> vectores;
    std::function<int(const QString &)> accion;
    std::function<int(const QStringList &)> accionVector;
    Grabador()
    {
        Host::setRunner([this](const QString &c) { return comandos << c, accion ? accion(c) : 0; });
        Host::setArgvRunner([this](const QStringList &v) { return vectores << v, accionVector ? accionVector(v) : 0; });
    }
    ~Grabador() { Host::setRunner(nullptr), Host::setArgvRunner(nullptr); }
};

// Answers the next message box or input dialog that no earlier call has
// taken: types "=text" into an input dialog and enters it, clicks the button
// with that text, presses "<Escape>" or "<Return>", or closes the window
// ("<Cerrar>"). A box without that button ends with done(-1), so the test
// fails instead of hanging. 'vista' receives what was shown.
struct CajaVista {
    QString titulo, texto;
    QStringList botones;
    bool vista = false;
};
std::shared_ptr<CajaVista> responderCaja(const QString &respuesta);
int descartarRespuestas(); // drops the answers no box took; returns how many

// While it lives, modal windows take these answers in turn, and any window
// beyond them is closed, so a stray box fails the test instead of hanging it.
class Contestador
{
public:
    explicit Contestador(const QStringList &respuestas = {});
    ~Contestador();
    QStringList vistas() const; // "caption|text|button|..." of each window shown
private:
    QList<std::shared_ptr<CajaVista>> propias_, resto_;
};
inline QStringList contestar(const QStringList &respuestas, const std::function<void()> &accion)
{
    Contestador c(respuestas);
    return accion(), c.vistas();
}

QAbstractButton *botonConTexto(QMessageBox *caja, const QString &texto);


// A class's own slots in meta-object order, without "_Click()" or "()";
// anything that is not a slot is marked with "?".
inline QStringList slotsPropios(const QMetaObject &mo)
{
    QStringList nombres;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
        nombres << QString::fromLatin1(mo.method(i).methodSignature().replace("_Click()", "").replace("()", ""))
                + (mo.method(i).methodType() == QMetaMethod::Slot ? "" : "?");
    return nombres;
}

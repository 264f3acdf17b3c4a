#ifndef TALVORA_TEST_VENTANA_H
#define TALVORA_TEST_VENTANA_H

// A main window over a temporary root, for the tests of its actions.

#include "mainwindow/form1impl.h"
#include "settings/ajustes.h"
#include "support.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>

using Ajuste = QPair<QString, QString>;

// The configuration file holds the defaults with every status path and the
// xinetd directory moved under the root (so probes read only test files),
// then 'cambios'. 'antes' prepares the root before the window is built.
struct Ventana {
    RaizTemporal raiz;
    Grabador grabador;
    std::unique_ptr<form1> w;

    explicit Ventana(const QList<Ajuste> &cambios = {}, const std::function<void(Ventana &)> &antes = {})
    {
        const QStringList &claves = Ajustes::claves();
        QStringList valores = Ajustes::valoresPorDefecto();
        for (int i = 0; i < claves.size(); ++i)
            if (claves[i].startsWith(QLatin1String("cEstado")) || claves[i] == QLatin1String("cDirectorioXinetd"))
                valores[i] = raiz.ruta(valores[i]);
        for (const Ajuste &c : cambios)
            valores[claves.indexOf(c.first)] = c.second;
        raiz.escribir(QStringLiteral("/usr/local/share/talvora/conf"), Ajustes::componer(valores));
        for (const char *d : {"/etc/xinetd.d", "/var/run"})
            raiz.crearDirectorio(QLatin1String(d));
        if (antes)
            antes(*this);
        w = std::make_unique<form1>();
    }
    bool llamar(const char *slot) { return QMetaObject::invokeMethod(w.get(), slot); }
    // Runs the recorded commands for real; their fixed paths are under the root.
    void ejecutarDeVerdad()
    {
        grabador.accion = [](const QString &c) { return std::system(c.toLocal8Bit().constData()); };
    }
};

// Closes any modal window that shows up while it lives, and keeps its text.
struct SinCajas {
    QTimer timer;
    QStringList vistas;
    SinCajas()
    {
        QObject::connect(&timer, &QTimer::timeout, [this]() {
            if (QWidget *m = QApplication::activeModalWidget()) {
                auto *caja = qobject_cast<QMessageBox *>(m);
                vistas << (caja ? caja->text() : m->windowTitle());
                m->close();
            }
        });
        timer.start(10);
    }
};

// chattr +i on paths, undone when it goes.
struct Inmutable {
    QStringList rutas;
    bool poner(const QString &ruta)
    {
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), ruta}) != 0)
            return false;
        rutas << ruta;
        return true;
    }
    ~Inmutable()
    {
        for (const QString &r : rutas)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), r});
    }
};

#endif

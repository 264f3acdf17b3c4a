// A main window over a temporary root, for the tests of its actions.
#pragma once
#include "mainwindow/form1impl.h"
#include "mainwindow/marcas.h"
#include "settings/ajustes.h"
#include "support.h"
#include <QtTest>
#include <QtWidgets>

using Ajuste = QPair<QString, QString>;

// Changes settings in memory, as a saved configuration dialog does.
inline void cambiarAjustes(const QList<Ajuste> &cambios)
{
    QStringList valores = Ajustes::valores();
    for (const Ajuste &c : cambios)
        valores[Ajustes::claves().indexOf(c.first)] = c.second;
    Ajustes::asignar(valores);
}

// The configuration file holds the defaults with the status paths (all under
// /var) and the xinetd directory moved under the root, so probes read only
// test files. 'antes' prepares the root before the window is built.
struct Ventana {
    RaizTemporal raiz;
    Grabador grabador;
    std::unique_ptr<form1> w;
    explicit Ventana(const std::function<void(Ventana &)> &antes = {})
    {
        QStringList valores = Ajustes::valoresPorDefecto();
        for (QString &valor : valores)
            if (valor.startsWith("/var/") || valor == "/etc/xinetd.d")
                valor = raiz.ruta(valor);
        raiz.escribir("/usr/local/share/talvora/conf", Ajustes::componer(valores));
        if (antes)
            antes(*this);
        w = std::make_unique<form1>();
    }
    bool llamar(const char *slot) { return QMetaObject::invokeMethod(w.get(), slot); }
    // Runs the recorded commands for real; their fixed paths are under the root.
    void ejecutarDeVerdad() { grabador.accion = [](const QString &c) { return std::system(c.toLocal8Bit().constData()); }; }
};

// Closes every message box that shows up while it lives, keeping "caption|text".
struct SinCajas : QTimer {
    QStringList vistas;
    SinCajas()
    {
        connect(this, &QTimer::timeout, [this] {
            if (auto *caja = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                vistas << caja->windowTitle() + '|' + caja->text(), caja->close();
        });
        start(10);
    }
};

// chattr +i on a path while it lives; 'puesto' is false where chattr cannot.
struct Inmutable {
    QString ruta;
    bool puesto = QProcess::execute("chattr", {"+i", ruta}) == 0;
    ~Inmutable() { QProcess::execute("chattr", {"-i", ruta}); }
};

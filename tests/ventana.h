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

// Writes a configuration file of the defaults with the status paths (all
// under /var) and the xinetd directory moved under the root, so probes read
// only test files; returns its values.
inline QStringList escribirAjustesEnRaiz(const RaizTemporal &raiz)
{
    QStringList valores = Ajustes::valoresPorDefecto();
    for (QString &valor : valores)
        if (valor.startsWith("/var/") || valor == "/etc/xinetd.d")
            valor = raiz.ruta(valor);
    raiz.escribir("/usr/local/share/talvora/conf", Ajustes::componer(valores));
    return valores;
}

// A window over such a configuration; 'antes' prepares the root before the window is built.
struct Ventana {
    RaizTemporal raiz;
    Grabador grabador;
    std::unique_ptr<form1> w;
    explicit Ventana(const std::function<void(Ventana &)> &antes = {})
    {
        escribirAjustesEnRaiz(raiz);
        if (antes)
            antes(*this);
        w = std::make_unique<form1>();
    }
    bool llamar(const char *slot) { return QMetaObject::invokeMethod(w.get(), slot); }
    // Runs the recorded commands for real; their fixed paths are under the root.
    void ejecutarDeVerdad() { grabador.accion = [](const QString &c) { return std::system(c.toLocal8Bit().constData()); }; }
};

// chattr +i on a path while it lives; 'puesto' is false where chattr cannot.
struct Inmutable {
    QString ruta;
    bool puesto = QProcess::execute("chattr", {"+i", ruta}) == 0;
    ~Inmutable() { QProcess::execute("chattr", {"-i", ruta}); }
};

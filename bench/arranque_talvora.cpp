// Talvora's start-up, from process start to the main window's first paint,
// over a temporary root given as the only argument (prepared by
// bench/arranque.py: configuration file, xinetd files, hosts.allow).
#include "mainwindow/form1impl.h"
#include "platform/formularios.h"
#include "platform/sistema.h"
#include "primer_pintado.h"
#include "settings/ajustes.h"

#include <QApplication>

int main(int argc, char **argv)
{
    PrecargaFuentes fuentes; // the same start-up sequence as app/main.cpp
    QApplication app(argc, argv);
    fuentes.esperar();
    Formularios::prepararAplicacion();
    const Sistema sistema(argc > 1 ? QString::fromLocal8Bit(argv[argc - 1]) : QString(), {});
    Ajustes ajustes;
    auto *ventana = new form1(sistema, ajustes);
    PrimerPintado espia;
    ventana->installEventFilter(&espia);
    ventana->show();
    const int resultado = app.exec();
    delete ventana;
    return resultado;
}

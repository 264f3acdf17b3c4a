#include "app/arranque.h"
#include "mainwindow/form1impl.h"
#include "platform/formularios.h"

#include <QApplication>
#include <QDialog>

int main(int argc, char **argv)
{
    // --help and --version answer without a display.
    const int salida = Arranque::leerOpciones(argc, argv);
    if (salida != Arranque::seguir)
        return salida;
    PrecargaFuentes fuentes; // overlaps the connection to the display
    QApplication app(argc, argv);
    fuentes.esperar();
    Formularios::prepararAplicacion();
    // Before the main window, whose constructor may ask the first-run question.
    Arranque::avisarSiNoEsRoot();
    auto *ventana = new form1();
    // Closing the main window (its close box, Escape) ends the run even
    // while configuration or firewall dialogs are still open.
    QObject::connect(ventana, &QDialog::finished, &app, &QCoreApplication::quit);
    ventana->show();
    const int resultado = app.exec();
    delete ventana; // saves unapplied hosts.allow edits
    const auto restantes = QApplication::topLevelWidgets();
    for (QWidget *w : restantes) {
        if (!w->parent() && qobject_cast<QDialog *>(w))
            delete w;
    }
    return resultado;
}

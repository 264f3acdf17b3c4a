#include "app/arranque.h"
#include "mainwindow/form1impl.h"
#include "platform/formularios.h"
#include "platform/sistema.h"
#include "settings/ajustes.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

int main(int argc, char **argv)
{
    Sistema::prepararPrograma(); // before any write to a stream that may be gone
    // --help and --version answer without a display.
    const int salida = Arranque::leerOpciones(argc, argv);
    if (salida != Arranque::seguir)
        return salida;
    // Said in Spanish, before QApplication would abort without a display.
    if (const int estado = Arranque::comprobarPantalla(argc, argv); estado != Arranque::seguir)
        return estado;
    PrecargaFuentes fuentes; // overlaps the connection to the display
    QApplication app(argc, argv);
    fuentes.esperar();
    Formularios::prepararAplicacion();
    // Before the main window, whose constructor may ask the first-run question.
    Arranque::avisarSiNoEsRoot();
    // This machine, and the settings every window shares: both outlive the windows.
    const Sistema sistema;
    Ajustes ajustes;
    auto *ventana = new form1(sistema, ajustes);
    // Closing the main window (its close box, Escape) ends the run even
    // while configuration or firewall dialogs are still open.
    QObject::connect(ventana, &QDialog::finished, &app, &QCoreApplication::quit);
    ventana->show();
    const int resultado = app.exec();
    delete ventana; // saves unapplied hosts.allow edits
    // The dialogs still open. Deleting one deletes the windows it owns (a
    // combo box's popup is a top-level widget too), so each is held by a
    // guard that knows when it is gone.
    QList<QPointer<QDialog>> restantes;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->parent())
            if (auto *d = qobject_cast<QDialog *>(w))
                restantes.append(d);
    }
    for (const QPointer<QDialog> &d : restantes)
        delete d.data();
    return resultado;
}

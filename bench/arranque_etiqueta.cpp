// The floor for any window that shows text: the bare dialog with one label.
// Its extra start-up over the bare dialog is the cost of loading the font
// configuration and a first font, which every such window pays.
#include "primer_pintado.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QDialog dialogo;
    QLabel etiqueta(QStringLiteral("Servidor"), &dialogo);
    PrimerPintado espia;
    dialogo.installEventFilter(&espia);
    dialogo.resize(526, 481);
    dialogo.show();
    return app.exec();
}

// The reference: a bare dialog, built and shown the same way as Talvora.
#include "primer_pintado.h"

#include <QApplication>
#include <QDialog>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QDialog dialogo;
    PrimerPintado espia;
    dialogo.installEventFilter(&espia);
    dialogo.resize(526, 481);
    dialogo.show();
    return app.exec();
}

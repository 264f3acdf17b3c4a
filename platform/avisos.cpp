#include "platform/avisos.h"

#include "mainwindow/comandos.h"

#include <QMessageBox>

namespace Avisos {

void noSePudoEscribir(QWidget *padre)
{
    QMessageBox::warning(padre, QStringLiteral("Error"),
                         QStringLiteral("No se pudo escribir el Archivo"));
}

void siFallo(QWidget *padre, const QByteArray &comando, const Sistema::Resultado &resultado)
{
    if (!resultado.bien())
        QMessageBox::warning(padre, QStringLiteral("Error"),
                             Comandos::describirFallo(comando, resultado));
}

} // namespace Avisos

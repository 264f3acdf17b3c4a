// The manual, the about box and the two secondary dialogs.
#include "configdialog/confimpl.h"
#include "firewalldialog/firewallimpl.h"
#include "mainwindow/comandos.h"
#include "mainwindow/form1impl.h"
#include "settings/ajustes.h"

#include <QMessageBox>

void form1::VerManual()
{
    ejecutarComando(Ajustes::valor(QStringLiteral("cAbrirManual")) + QStringLiteral(" &"));
}

void form1::VerAcercade()
{
    QMessageBox::information(this, QStringLiteral("Acerca de..."),
                             QStringLiteral("Talvora by Korvane\nVersion 1.5\n\n"
                                            "Panel de control de los servicios de red\n"
                                            "de un servidor Linux.\n\n"
                                            "Hecho por el equipo de Talvora."));
}

// The dialogs have no parent: each is a window of its own, deleted when closed.
void form1::Configuracion()
{
    auto *dialogo = new confimpl();
    dialogo->setAttribute(Qt::WA_DeleteOnClose);
    dialogo->show();
}

void form1::bFirewall_Click()
{
    auto *dialogo = new firewallimpl();
    dialogo->setAttribute(Qt::WA_DeleteOnClose);
    dialogo->show();
}

#include "firewalldialog/firewall.h"

#include "firewalldialog/firewall_icono.xpm"
#include "platform/formularios.h"
#include "platform/sinhacer.h"

firewall::firewall(QWidget *parent, const char *name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setModal(modal);
    if (name)
        setObjectName(QString::fromLatin1(name));
    setupUi(this);
    Formularios::preparar(this, firewall_icono);
}

firewall::~firewall() = default;

TALVORA_SIN_HACER(firewall, bAgregar)
TALVORA_SIN_HACER(firewall, bEliminar)
TALVORA_SIN_HACER(firewall, bBloquearIp)

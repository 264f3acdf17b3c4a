#include "firewalldialog/firewall.h"

#include "firewalldialog/firewall_icono.xpm"
#include "platform/formularios.h"
#include "platform/sinhacer.h"

firewall::firewall(QWidget *parent, const char *name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    Formularios::armar<Ui::firewall>(this, this, name, modal, firewall_icono);
}

firewall::~firewall() = default;

TALVORA_SIN_HACER(firewall, bAgregar)
TALVORA_SIN_HACER(firewall, bEliminar)
TALVORA_SIN_HACER(firewall, bBloquearIp)
TALVORA_SIN_HACER(firewall, bGuardar)

#include "configdialog/conf.h"

#include "configdialog/conf_icono.xpm"
#include "platform/formularios.h"
#include "platform/sinhacer.h"

conf::conf(QWidget *parent, const char *name, bool modal, Qt::WindowFlags fl) : QDialog(parent, fl)
{
    Formularios::armar<Ui::conf>(this, this, name, modal, conf_icono);
}

conf::~conf() = default;

TALVORA_SIN_HACER(conf, bAplicar_Click)
TALVORA_SIN_HACER(conf, bCancelar_Click)
TALVORA_SIN_HACER(conf, bPordefecto_Click)

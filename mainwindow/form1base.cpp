#include "mainwindow/form1base.h"

#include "mainwindow/form1base_icono.xpm"
#include "platform/formularios.h"
#include "platform/sinhacer.h"

form1Base::form1Base(QWidget *parent, const char *name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    Formularios::armar<Ui::form1Base>(this, this, name, modal, form1base_icono);
}

form1Base::~form1Base() = default;

TALVORA_SIN_HACER(form1Base, bAplicarHostsAllow_Click)
TALVORA_SIN_HACER(form1Base, bDetenerDns_Click)
TALVORA_SIN_HACER(form1Base, bDetenerFtp_Click)
TALVORA_SIN_HACER(form1Base, bDetenerGate_Click)
TALVORA_SIN_HACER(form1Base, bDetenerHttpd_Click)
TALVORA_SIN_HACER(form1Base, bDetenerPop3_Click)
TALVORA_SIN_HACER(form1Base, bDetenerSamba_Click)
TALVORA_SIN_HACER(form1Base, bDetenerSendmail_Click)
TALVORA_SIN_HACER(form1Base, bDetenerSquid_Click)
TALVORA_SIN_HACER(form1Base, bDetenerSwat_Click)
TALVORA_SIN_HACER(form1Base, bDetenerTelnet_Click)
TALVORA_SIN_HACER(form1Base, bDetenerXinetd_Click)
TALVORA_SIN_HACER(form1Base, bEditarDns_Click)
TALVORA_SIN_HACER(form1Base, bEditarFtp_Click)
TALVORA_SIN_HACER(form1Base, bEditarGate_Click)
TALVORA_SIN_HACER(form1Base, bEditarHttpd_Click)
TALVORA_SIN_HACER(form1Base, bEditarSamba_Click)
TALVORA_SIN_HACER(form1Base, bEditarSendmail_Click)
TALVORA_SIN_HACER(form1Base, bEditarSquid_Click)
TALVORA_SIN_HACER(form1Base, bEditarTelnet_Click)
TALVORA_SIN_HACER(form1Base, bEditarXinetd_Click)
TALVORA_SIN_HACER(form1Base, bIniciarDns_Click)
TALVORA_SIN_HACER(form1Base, bIniciarFtp_Click)
TALVORA_SIN_HACER(form1Base, bIniciarGate_Click)
TALVORA_SIN_HACER(form1Base, bIniciarHttpd_Click)
TALVORA_SIN_HACER(form1Base, bIniciarPop3_Click)
TALVORA_SIN_HACER(form1Base, bIniciarSamba_Click)
TALVORA_SIN_HACER(form1Base, bIniciarSendmail_Click)
TALVORA_SIN_HACER(form1Base, bIniciarSquid_Click)
TALVORA_SIN_HACER(form1Base, bIniciarSwat_Click)
TALVORA_SIN_HACER(form1Base, bIniciarTelnet_Click)
TALVORA_SIN_HACER(form1Base, bIniciarXinetd_Click)
TALVORA_SIN_HACER(form1Base, bLogDns_Click)
TALVORA_SIN_HACER(form1Base, bLogFtp_Click)
TALVORA_SIN_HACER(form1Base, bLogGate_Click)
TALVORA_SIN_HACER(form1Base, bLogHostsAllow_Click)
TALVORA_SIN_HACER(form1Base, bLogHttpd_Click)
TALVORA_SIN_HACER(form1Base, bLogSamba_Click)
TALVORA_SIN_HACER(form1Base, bLogSendmail_Click)
TALVORA_SIN_HACER(form1Base, bLogSquid_Click)
TALVORA_SIN_HACER(form1Base, bLogTelnet_Click)
TALVORA_SIN_HACER(form1Base, bLogXinetd_Click)
TALVORA_SIN_HACER(form1Base, bReiniciarDns_Click)
TALVORA_SIN_HACER(form1Base, bReiniciarGate_Click)
TALVORA_SIN_HACER(form1Base, bReiniciarHttpd_Click)
TALVORA_SIN_HACER(form1Base, bReiniciarSamba_Click)
TALVORA_SIN_HACER(form1Base, bReiniciarSendmail_Click)
TALVORA_SIN_HACER(form1Base, bReiniciarSquid_Click)
TALVORA_SIN_HACER(form1Base, bReiniciarXinetd_Click)
TALVORA_SIN_HACER(form1Base, bFirewall_Click)

#ifndef TALVORA_FORM1BASE_H
#define TALVORA_FORM1BASE_H

// The main window's form, laid out in form1base.ui: every widget at its
// fixed place and the button connections. Its slots only warn until form1
// gives them a body; they are declared here so that their order, and so
// the meta-object's, stays the form's own.

#include "ui_form1base.h"

#include <QDialog>

class form1Base : public QDialog, public Ui::form1Base
{
    Q_OBJECT

public:
    explicit form1Base(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                       Qt::WindowFlags fl = Qt::WindowFlags());
    ~form1Base() override;

public slots:
    virtual void bAplicarHostsAllow_Click();
    virtual void bDetenerDns_Click();
    virtual void bDetenerFtp_Click();
    virtual void bDetenerGate_Click();
    virtual void bDetenerHttpd_Click();
    virtual void bDetenerPop3_Click();
    virtual void bDetenerSamba_Click();
    virtual void bDetenerSendmail_Click();
    virtual void bDetenerSquid_Click();
    virtual void bDetenerSwat_Click();
    virtual void bDetenerTelnet_Click();
    virtual void bDetenerXinetd_Click();
    virtual void bEditarDns_Click();
    virtual void bEditarFtp_Click();
    virtual void bEditarGate_Click();
    virtual void bEditarHttpd_Click();
    virtual void bEditarSamba_Click();
    virtual void bEditarSendmail_Click();
    virtual void bEditarSquid_Click();
    virtual void bEditarTelnet_Click();
    virtual void bEditarXinetd_Click();
    virtual void bIniciarDns_Click();
    virtual void bIniciarFtp_Click();
    virtual void bIniciarGate_Click();
    virtual void bIniciarHttpd_Click();
    virtual void bIniciarPop3_Click();
    virtual void bIniciarSamba_Click();
    virtual void bIniciarSendmail_Click();
    virtual void bIniciarSquid_Click();
    virtual void bIniciarSwat_Click();
    virtual void bIniciarTelnet_Click();
    virtual void bIniciarXinetd_Click();
    virtual void bLogDns_Click();
    virtual void bLogFtp_Click();
    virtual void bLogGate_Click();
    virtual void bLogHostsAllow_Click();
    virtual void bLogHttpd_Click();
    virtual void bLogSamba_Click();
    virtual void bLogSendmail_Click();
    virtual void bLogSquid_Click();
    virtual void bLogTelnet_Click();
    virtual void bLogXinetd_Click();
    virtual void bReiniciarDns_Click();
    virtual void bReiniciarGate_Click();
    virtual void bReiniciarHttpd_Click();
    virtual void bReiniciarSamba_Click();
    virtual void bReiniciarSendmail_Click();
    virtual void bReiniciarSquid_Click();
    virtual void bReiniciarXinetd_Click();
    virtual void bFirewall_Click();
};

#endif

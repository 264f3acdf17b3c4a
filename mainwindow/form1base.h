#ifndef TALVORA_FORM1BASE_H
#define TALVORA_FORM1BASE_H

// The main window's form: every widget at its fixed place, the button
// connections, and slots whose default body only warns. form1 fills them.

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class form1Base : public QDialog
{
    Q_OBJECT

public:
    explicit form1Base(QWidget *parent = nullptr, const char *name = nullptr,
                       bool modal = false, Qt::WindowFlags fl = Qt::WindowFlags());
    ~form1Base() override;

    // Push buttons
    QPushButton *bIniciarGate;
    QPushButton *bDetenerGate;
    QPushButton *bReiniciarGate;
    QPushButton *bEditarGate;
    QPushButton *bIniciarSquid;
    QPushButton *bDetenerSquid;
    QPushButton *bReiniciarSquid;
    QPushButton *bEditarSquid;
    QPushButton *bLogSquid;
    QPushButton *bIniciarHttpd;
    QPushButton *bDetenerHttpd;
    QPushButton *bReiniciarHttpd;
    QPushButton *bEditarHttpd;
    QPushButton *bLogHttpd;
    QPushButton *bIniciarSamba;
    QPushButton *bDetenerSamba;
    QPushButton *bReiniciarSamba;
    QPushButton *bEditarSamba;
    QPushButton *bLogSamba;
    QPushButton *bIniciarSendmail;
    QPushButton *bDetenerSendmail;
    QPushButton *bReiniciarSendmail;
    QPushButton *bEditarSendmail;
    QPushButton *bLogSendmail;
    QPushButton *bIniciarDns;
    QPushButton *bDetenerDns;
    QPushButton *bReiniciarDns;
    QPushButton *bEditarDns;
    QPushButton *bIniciarXinetd;
    QPushButton *bDetenerXinetd;
    QPushButton *bReiniciarXinetd;
    QPushButton *bEditarXinetd;
    QPushButton *bLogXinetd;
    QPushButton *bIniciarTelnet;
    QPushButton *bDetenerTelnet;
    QPushButton *bIniciarFtp;
    QPushButton *bDetenerFtp;
    QPushButton *bEditarFtp;
    QPushButton *bIniciarPop3;
    QPushButton *bDetenerPop3;
    QPushButton *bIniciarSwat;
    QPushButton *bDetenerSwat;
    QPushButton *bAplicarHostsAllow;
    QPushButton *bLogHostsDeny;
    QPushButton *PushButton45;

    // Title labels
    QLabel *TextLabel1;
    QLabel *TextLabel2;
    QLabel *TextLabel2_2;
    QLabel *TextLabel2_3;
    QLabel *TextLabel2_2_3;
    QLabel *TextLabel2_2_3_2;
    QLabel *TextLabel2_2_2;
    QLabel *TextLabel2_2_2_2;
    QLabel *TextLabel34;
    QLabel *TextLabel35;
    QLabel *TextLabel35_2;
    QLabel *TextLabel2_2_2_3;

    // Status frames and the status labels inside them
    QFrame *Frame1;
    QFrame *Frame2;
    QFrame *Frame2_2;
    QFrame *Frame2_3;
    QFrame *Frame2_2_3;
    QFrame *Frame2_2_3_2;
    QFrame *Frame2_2_2;
    QFrame *Frame2_2_2_2;
    QFrame *Frame2_2_2_2_2;
    QFrame *Frame2_2_2_2_2_2;
    QFrame *Frame2_2_2_2_2_2_2;
    QLabel *tGate;
    QLabel *tSquid;
    QLabel *tHttpd;
    QLabel *tSamba;
    QLabel *tSendmail;
    QLabel *tDns;
    QLabel *tXinetd;
    QLabel *tTelnet;
    QLabel *tFtp;
    QLabel *tPop3;
    QLabel *tSwat;

    QPlainTextEdit *mlHostsAllow;

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

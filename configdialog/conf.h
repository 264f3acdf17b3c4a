#ifndef TALVORA_CONF_H
#define TALVORA_CONF_H

// The configuration dialog's form: the 44 setting fields at their fixed
// places, the buttons and their connections, and slots whose default body
// only warns. confimpl fills them.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class conf : public QDialog
{
    Q_OBJECT

public:
    explicit conf(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                  Qt::WindowFlags fl = Qt::WindowFlags());
    ~conf() override;

    QLabel *TextLabel1;
    QLineEdit *cEditor;
    QLabel *TextLabel1_2;
    QLineEdit *cAbrirManual;
    QTabWidget *Solapas;

    QWidget *Korv_Gate;
    QLabel *TextLabel1_4;
    QLineEdit *cIniciarGate;
    QLabel *TextLabel1_2_3;
    QLineEdit *cDetenerGate;
    QLabel *TextLabel1_3_2;
    QLineEdit *cReiniciarGate;
    QLabel *TextLabel1_2_3_2;
    QLineEdit *cEstadoGate;
    QLabel *TextLabel1_3_2_2;
    QLineEdit *cEditarGate;

    QWidget *Squid;
    QLabel *TextLabel1_4_2;
    QLineEdit *cIniciarSquid;
    QLabel *TextLabel1_2_3_3;
    QLineEdit *cDetenerSquid;
    QLabel *TextLabel1_3_2_3;
    QLineEdit *cReiniciarSquid;
    QLabel *TextLabel1_2_3_2_3;
    QLineEdit *cEstadoSquid;
    QLabel *TextLabel1_3_2_2_3;
    QLineEdit *cEditarSquid;
    QLabel *TextLabel1_3_2_2_2_2;
    QLineEdit *cLogSquid;

    QWidget *Httpd;
    QLabel *TextLabel1_4_3;
    QLineEdit *cIniciarHttpd;
    QLabel *TextLabel1_2_3_4;
    QLineEdit *cDetenerHttpd;
    QLabel *TextLabel1_3_2_4;
    QLineEdit *cReiniciarHttpd;
    QLabel *TextLabel1_2_3_2_4;
    QLineEdit *cEstadoHttpd;
    QLabel *TextLabel1_3_2_2_4;
    QLineEdit *cEditarHttpd;
    QLabel *TextLabel1_3_2_2_2_3;
    QLineEdit *cLogHttpd;

    QWidget *Samba;
    QLabel *TextLabel1_4_4;
    QLineEdit *cIniciarSamba;
    QLabel *TextLabel1_2_3_4_2;
    QLineEdit *cDetenerSamba;
    QLabel *TextLabel1_3_2_5;
    QLineEdit *cReiniciarSamba;
    QLabel *TextLabel1_2_3_2_5;
    QLineEdit *cEstadoSamba;
    QLabel *TextLabel1_3_2_2_5;
    QLineEdit *cEditarSamba;
    QLabel *TextLabel1_3_2_2_2_4;
    QLineEdit *cLogSamba;

    QWidget *Sendmail;
    QLabel *TextLabel1_4_5;
    QLineEdit *cIniciarSendmail;
    QLabel *TextLabel1_2_3_5;
    QLineEdit *cDetenerSendmail;
    QLabel *TextLabel1_3_2_6;
    QLineEdit *cReiniciarSendmail;
    QLabel *TextLabel1_2_3_2_6;
    QLineEdit *cEstadoSendmail;
    QLabel *TextLabel1_3_2_2_6;
    QLineEdit *cEditarSendmail;
    QLabel *TextLabel1_3_2_2_2_5;
    QLineEdit *cLogSendmail;

    QWidget *Named;
    QLabel *TextLabel1_4_6;
    QLineEdit *cIniciarDns;
    QLabel *TextLabel1_2_3_6;
    QLineEdit *cDetenerDns;
    QLabel *TextLabel1_3_2_7;
    QLineEdit *cReiniciarDns;
    QLabel *TextLabel1_2_3_2_7;
    QLineEdit *cEstadoDns;
    QLabel *TextLabel1_3_2_2_7;
    QLineEdit *cEditarDns;

    QWidget *Xinetd;
    QLabel *TextLabel1_4_7;
    QLineEdit *cIniciarXinetd;
    QLabel *TextLabel1_2_3_7;
    QLineEdit *cDetenerXinetd;
    QLabel *TextLabel1_3_2_8;
    QLineEdit *cReiniciarXinetd;
    QLabel *TextLabel1_2_3_2_8;
    QLineEdit *cEstadoXinetd;
    QLabel *TextLabel1_3_2_2_8;
    QLineEdit *cEditarXinetd;
    QLabel *TextLabel1_3_2_2_2_7;
    QLineEdit *cLogXinetd;
    QLabel *TextLabel1_3_2_2_2_7_2;
    QLineEdit *cDirectorioXinetd;
    QLabel *TextLabel1_3_2_2_2_7_2_2;
    QLineEdit *cEditarFtp;

    QPushButton *bCancelar_2;
    QPushButton *bCancelar;
    QPushButton *bAplicar;

public slots:
    virtual void bAplicar_Click();
    virtual void bCancelar_Click();
    virtual void bPordefecto_Click();
};

#endif

// Start, stop, restart, edit and log actions of the init-script services.
#include "mainwindow/comandos.h"
#include "mainwindow/form1impl.h"
#include "mainwindow/marcas.h"
#include "platform/host.h"
#include "settings/ajustes.h"

#include <QLabel>
#include <QMessageBox>
#include <QTimer>

void ejecutarComando(const QString &comando)
{
    Host::run(comando);
}

QString expandirEditor(const QString &comando, const QString &editor)
{
    QString resultado = comando;
    resultado.replace(QStringLiteral("%editor"), editor);
    return resultado + QStringLiteral(" &");
}

namespace {

QString ajuste(const char *clave)
{
    return Ajustes::valor(QString::fromLatin1(clave));
}

// Runs the setting's command, then probes again 2 s after it returned.
void ejecutarYSondear(QObject *ventana, const char *clave, const char *sondeo)
{
    ejecutarComando(ajuste(clave));
    QTimer::singleShot(2000, ventana, sondeo);
}

void editar(const char *clave)
{
    ejecutarComando(expandirEditor(ajuste(clave), ajuste("cEditor")));
}

} // namespace

void form1::bIniciarGate_Click()
{
    ejecutarYSondear(this, "cIniciarGate", SLOT(LeerEstadoGate()));
}

void form1::bIniciarSquid_Click()
{
    ejecutarYSondear(this, "cIniciarSquid", SLOT(LeerEstadoSquid()));
}

void form1::bIniciarHttpd_Click()
{
    ejecutarYSondear(this, "cIniciarHttpd", SLOT(LeerEstadoHttpd()));
    // httpd can take a while to write its pid file
    QTimer::singleShot(5000, this, SLOT(LeerEstadoHttpd()));
}

void form1::bIniciarSamba_Click()
{
    ejecutarYSondear(this, "cIniciarSamba", SLOT(LeerEstadoSamba()));
}

void form1::bIniciarSendmail_Click()
{
    ejecutarYSondear(this, "cIniciarSendmail", SLOT(LeerEstadoSendmail()));
}

void form1::bIniciarDns_Click()
{
    ejecutarYSondear(this, "cIniciarDns", SLOT(LeerEstadoDns()));
}

void form1::bIniciarXinetd_Click()
{
    ejecutarYSondear(this, "cIniciarXinetd", SLOT(LeerEstadoXinetd()));
}

void form1::bDetenerGate_Click()
{
    ejecutarYSondear(this, "cDetenerGate", SLOT(LeerEstadoGate()));
}

void form1::bDetenerSquid_Click()
{
    ejecutarYSondear(this, "cDetenerSquid", SLOT(LeerEstadoSquid()));
}

void form1::bDetenerHttpd_Click()
{
    ejecutarYSondear(this, "cDetenerHttpd", SLOT(LeerEstadoHttpd()));
}

void form1::bDetenerSamba_Click()
{
    ejecutarYSondear(this, "cDetenerSamba", SLOT(LeerEstadoSamba()));
}

void form1::bDetenerSendmail_Click()
{
    ejecutarYSondear(this, "cDetenerSendmail", SLOT(LeerEstadoSendmail()));
}

void form1::bDetenerDns_Click()
{
    ejecutarYSondear(this, "cDetenerDns", SLOT(LeerEstadoDns()));
}

void form1::bDetenerXinetd_Click()
{
    ejecutarYSondear(this, "cDetenerXinetd", SLOT(LeerEstadoXinetd()));
}

void form1::bReiniciarGate_Click()
{
    // The router script is restarted as a stop and a start; cReiniciarGate
    // is kept in the settings but not run.
    ejecutarComando(ajuste("cDetenerGate"));
    ejecutarYSondear(this, "cIniciarGate", SLOT(LeerEstadoGate()));
}

void form1::bReiniciarSquid_Click()
{
    ejecutarYSondear(this, "cReiniciarSquid", SLOT(LeerEstadoSquid()));
}

void form1::bReiniciarHttpd_Click()
{
    ejecutarYSondear(this, "cReiniciarHttpd", SLOT(LeerEstadoHttpd()));
    QTimer::singleShot(5000, this, SLOT(LeerEstadoHttpd()));
}

void form1::bReiniciarSamba_Click()
{
    ejecutarYSondear(this, "cReiniciarSamba", SLOT(LeerEstadoSamba()));
}

void form1::bReiniciarSendmail_Click()
{
    ejecutarYSondear(this, "cReiniciarSendmail", SLOT(LeerEstadoSendmail()));
}

void form1::bReiniciarDns_Click()
{
    ejecutarYSondear(this, "cReiniciarDns", SLOT(LeerEstadoDns()));
}

void form1::bReiniciarXinetd_Click()
{
    tXinetd->setText(MarcaPendiente);
    ejecutarYSondear(this, "cReiniciarXinetd", SLOT(LeerEstadoXinetd()));
}

void form1::bEditarGate_Click()
{
    editar("cEditarGate");
}

void form1::bEditarSquid_Click()
{
    editar("cEditarSquid");
}

void form1::bEditarHttpd_Click()
{
    editar("cEditarHttpd");
}

void form1::bEditarSamba_Click()
{
    // Samba is configured through swat, which only runs under xinetd.
    if (tXinetd->text() != MarcaOn) {
        QMessageBox::warning(this, QStringLiteral("Error"), QStringLiteral("Debe estar iniciado el servicio XINETD"));
        return;
    }
    if (tSwat->text() != MarcaOn) {
        QMessageBox::warning(this, QStringLiteral("Error"), QStringLiteral("Debe estar iniciado el servicio SWAT"));
        return;
    }
    editar("cEditarSamba");
}

void form1::bEditarSendmail_Click()
{
    editar("cEditarSendmail");
}

void form1::bEditarDns_Click()
{
    editar("cEditarDns");
}

void form1::bEditarXinetd_Click()
{
    editar("cEditarXinetd");
}

void form1::bEditarFtp_Click()
{
    editar("cEditarFtp");
}

void form1::bLogSquid_Click()
{
    editar("cLogSquid");
}

void form1::bLogHttpd_Click()
{
    editar("cLogHttpd");
}

void form1::bLogSamba_Click()
{
    editar("cLogSamba");
}

void form1::bLogSendmail_Click()
{
    editar("cLogSendmail");
}

void form1::bLogXinetd_Click()
{
    editar("cLogXinetd");
}

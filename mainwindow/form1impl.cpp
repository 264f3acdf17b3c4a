#include "mainwindow/form1impl.h"

#include "settings/ajustes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

// The first-run question. Enter, Escape and the close box all answer "No":
// replacing /etc/hosts.deny takes a deliberate click on "Escribir".
bool preguntarPrimeraVez(QWidget *padre)
{
    QMessageBox caja(QMessageBox::Warning, QStringLiteral("Bienvenido a Talvora by Korvane 1.0"),
                     QStringLiteral("Por primera vez se ejecuta el programa\n\n"
                                    "Desea escribir el archivo /etc/hosts.deny ?\n"
                                    "(Se agrega la linea ALL:ALL) por defecto.\n"
                                    "Esto permitira optimizar el uso de xinetd \n"
                                    "y loguear los accesos no autorizados al sistema.\n"
                                    "--- Se creara una copia de seguridad de su archivo original\n"
                                    "en /etc/hosts.deny.viejo ---\n"),
                     QMessageBox::NoButton, padre);
    // Same role for both keeps them in this order, negative answer first.
    QPushButton *no = caja.addButton(QStringLiteral("No Escribir(Cancelar)"), QMessageBox::ActionRole);
    QPushButton *si = caja.addButton(QStringLiteral("Escribir (Recomendado)"), QMessageBox::ActionRole);
    caja.setDefaultButton(no);
    caja.setEscapeButton(no);
    caja.exec();
    return caja.clickedButton() == si;
}

} // namespace

form1::form1(QWidget *parent, const char *name, bool modal, Qt::WindowFlags fl)
    : form1Base(parent, name, modal, fl)
{
    switch (Ajustes::cargar()) {
    case Ajustes::Carga::Cargado:
        break;
    case Ajustes::Carga::NoSePuedeLeer:
        QMessageBox::warning(this, QStringLiteral("Error"),
                             QStringLiteral("No se puede Leer el Archivo de Configuracion"));
        break;
    case Ajustes::Carga::NoExiste:
        if (preguntarPrimeraVez(this))
            EscribirHostsDeny();
        if (!Ajustes::guardar(Ajustes::valoresPorDefecto())) {
            QMessageBox::warning(this, QStringLiteral("Error"),
                                 QStringLiteral("No se pudo escribir el Archivo"));
            return;
        }
        break;
    }

    LeerEstadoGate();
    LeerEstadoSquid();
    LeerEstadoHttpd();
    LeerEstadoXinetd();
    LeerEstadoTelnet();
    LeerEstadoFtp();
    LeerEstadoHostsAllow();
    LeerEstadoPop3();
    LeerEstadoSwat();
    LeerEstadoSendmail();
    LeerEstadoSamba();
    LeerEstadoDns();

    construirMenus();
}

form1::~form1()
{
    // Only edits the administrator has not applied yet: never an editor that
    // was not loaded, nor the error text of a failed load, nor a file that
    // another program changed while the editor sat untouched.
    if (mlHostsAllow->document()->isModified())
        bAplicarHostsAllow_Click();
}

void form1::construirMenus()
{
    auto *barra = new QMenuBar(this);
    // The menu bar spans the top strip; the layout places nothing else.
    auto *disposicion = new QVBoxLayout(this);
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->setMenuBar(barra);

    const QKeySequence ninguna;

    auto *archivo = new QMenu(this);
    archivo->addAction(QStringLiteral("Crear /etc/hosts.deny Por Defecto"), ninguna, this, SLOT(EscribirHostsDeny()));
    archivo->addAction(QStringLiteral("Crear /etc/hosts.allow Por Defecto"), ninguna, this, SLOT(EscribirHostsAllow()));
    archivo->addSeparator();
    archivo->addAction(QStringLiteral("Crear korv-gate Por Defecto"), ninguna, this, SLOT(EscribirKorvgate()));
    archivo->addAction(QStringLiteral("Crear /etc/ftpaccess Por Defecto"), ninguna, this, SLOT(EscribirFtp()));
    archivo->addSeparator();
    archivo->addAction(QStringLiteral("Configurar ..."), ninguna, this, SLOT(Configuracion()));
    archivo->addSeparator();
    archivo->addAction(QStringLiteral("S&alir"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp, SLOT(quit()));
    archivo->setTitle(QStringLiteral("&Archivo"));
    barra->addMenu(archivo);

    auto *servicios = new QMenu(this);
    struct Servicio {
        const char *titulo;
        const char *iniciar, *detener, *reiniciar, *editar, *logs;
    };
    const Servicio lista[] = {
        {"Korv-&Gate", SLOT(bIniciarGate_Click()), SLOT(bDetenerGate_Click()), SLOT(bReiniciarGate_Click()),
         SLOT(bEditarGate_Click()), nullptr},
        {"Squid", SLOT(bIniciarSquid_Click()), SLOT(bDetenerSquid_Click()), SLOT(bReiniciarSquid_Click()),
         SLOT(bEditarSquid_Click()), SLOT(bLogSquid_Click())},
        {"Httpd", SLOT(bIniciarHttpd_Click()), SLOT(bDetenerHttpd_Click()), SLOT(bReiniciarHttpd_Click()),
         SLOT(bEditarHttpd_Click()), SLOT(bLogHttpd_Click())},
        {"Samba", SLOT(bIniciarSamba_Click()), SLOT(bDetenerSamba_Click()), SLOT(bReiniciarSamba_Click()),
         SLOT(bEditarSamba_Click()), SLOT(bLogSamba_Click())},
        {"Sendmail", SLOT(bIniciarSendmail_Click()), SLOT(bDetenerSendmail_Click()),
         SLOT(bReiniciarSendmail_Click()), SLOT(bEditarSendmail_Click()), SLOT(bLogSendmail_Click())},
        {"Dns", SLOT(bIniciarDns_Click()), SLOT(bDetenerDns_Click()), SLOT(bReiniciarDns_Click()),
         SLOT(bEditarDns_Click()), nullptr},
        {"Xinetd", SLOT(bIniciarXinetd_Click()), SLOT(bDetenerXinetd_Click()), SLOT(bReiniciarXinetd_Click()),
         SLOT(bEditarXinetd_Click()), SLOT(bLogXinetd_Click())},
    };
    for (const Servicio &s : lista) {
        auto *sub = new QMenu(this);
        Q_CHECK_PTR(sub);
        sub->addAction(QStringLiteral("Iniciar"), ninguna, this, s.iniciar);
        sub->addAction(QStringLiteral("Detener"), ninguna, this, s.detener);
        sub->addAction(QStringLiteral("Reiniciar"), ninguna, this, s.reiniciar);
        sub->addSeparator();
        sub->addAction(QStringLiteral("Editar"), ninguna, this, s.editar);
        if (s.logs)
            sub->addAction(QStringLiteral("Logs"), ninguna, this, s.logs);
        sub->setTitle(QString::fromLatin1(s.titulo));
        servicios->addMenu(sub);
    }
    servicios->setTitle(QStringLiteral("&Servicios"));
    barra->addMenu(servicios);

    auto *xinetd = new QMenu(this);
    struct ServicioXinetd {
        const char *titulo;
        const char *iniciar, *detener, *editar;
    };
    const ServicioXinetd listaX[] = {
        {"Telnet", SLOT(bIniciarTelnet_Click()), SLOT(bDetenerTelnet_Click()), nullptr},
        {"Ftp", SLOT(bIniciarFtp_Click()), SLOT(bDetenerFtp_Click()), SLOT(bEditarFtp_Click())},
        {"Pop3", SLOT(bIniciarPop3_Click()), SLOT(bDetenerPop3_Click()), nullptr},
        {"Swat", SLOT(bIniciarSwat_Click()), SLOT(bDetenerSwat_Click()), nullptr},
    };
    for (const ServicioXinetd &s : listaX) {
        auto *sub = new QMenu(this);
        Q_CHECK_PTR(sub);
        sub->addAction(QStringLiteral("Iniciar"), ninguna, this, s.iniciar);
        sub->addAction(QStringLiteral("Detener"), ninguna, this, s.detener);
        if (s.editar) {
            sub->addSeparator();
            sub->addAction(QStringLiteral("Editar"), ninguna, this, s.editar);
        }
        sub->setTitle(QString::fromLatin1(s.titulo));
        xinetd->addMenu(sub);
    }
    xinetd->setTitle(QStringLiteral("&Xinetd Serv"));
    barra->addMenu(xinetd);

    auto *ayuda = new QMenu(this);
    ayuda->addAction(QStringLiteral("Manual..."), ninguna, this, SLOT(VerManual()));
    ayuda->addSeparator();
    ayuda->addAction(QStringLiteral("Acerca de ..."), ninguna, this, SLOT(VerAcercade()));
    ayuda->setTitle(QStringLiteral("A&yuda"));
    barra->addMenu(ayuda);
}

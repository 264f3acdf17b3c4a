#include "mainwindow/form1impl.h"

#include "configdialog/confimpl.h"
#include "firewalldialog/firewallimpl.h"
#include "mainwindow/accesos.h"
#include "mainwindow/comandos.h"
#include "mainwindow/estado.h"
#include "mainwindow/xinetd.h"

#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int SondaComando = 2000; // after a start, stop or restart returned
constexpr int SondaXinetd = 1000;  // after a service file was rewritten

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
    QPushButton *no
        = caja.addButton(QStringLiteral("No Escribir(Cancelar)"), QMessageBox::ActionRole);
    QPushButton *si
        = caja.addButton(QStringLiteral("Escribir (Recomendado)"), QMessageBox::ActionRole);
    caja.setDefaultButton(no);
    caja.setEscapeButton(no);
    caja.exec();
    return caja.clickedButton() == si;
}

} // namespace

using C = Ajustes::Clave;

// clang-format off
const form1::Servicio form1::servicios[] = {
    {"Korv-&Gate", &form1::tGate, C::cEstadoGate, nullptr, C::cIniciarGate, C::cDetenerGate,
     {C::cDetenerGate, C::cIniciarGate}, C::cEditarGate, {}, 0, false,
     &form1::bIniciarGate_Click, &form1::bDetenerGate_Click, &form1::bReiniciarGate_Click,
     &form1::bEditarGate_Click, nullptr, &form1::LeerEstadoGate},
    {"Squid", &form1::tSquid, C::cEstadoSquid, nullptr, C::cIniciarSquid, C::cDetenerSquid,
     {C::cReiniciarSquid, {}}, C::cEditarSquid, C::cLogSquid, 0, false,
     &form1::bIniciarSquid_Click, &form1::bDetenerSquid_Click, &form1::bReiniciarSquid_Click,
     &form1::bEditarSquid_Click, &form1::bLogSquid_Click, &form1::LeerEstadoSquid},
    // httpd can take a while to write its pid file
    {"Httpd", &form1::tHttpd, C::cEstadoHttpd, nullptr, C::cIniciarHttpd, C::cDetenerHttpd,
     {C::cReiniciarHttpd, {}}, C::cEditarHttpd, C::cLogHttpd, 5000, false,
     &form1::bIniciarHttpd_Click, &form1::bDetenerHttpd_Click, &form1::bReiniciarHttpd_Click,
     &form1::bEditarHttpd_Click, &form1::bLogHttpd_Click, &form1::LeerEstadoHttpd},
    {"Samba", &form1::tSamba, C::cEstadoSamba, nullptr, C::cIniciarSamba, C::cDetenerSamba,
     {C::cReiniciarSamba, {}}, C::cEditarSamba, C::cLogSamba, 0, false,
     &form1::bIniciarSamba_Click, &form1::bDetenerSamba_Click, &form1::bReiniciarSamba_Click,
     &form1::bEditarSamba_Click, &form1::bLogSamba_Click, &form1::LeerEstadoSamba},
    {"Sendmail", &form1::tSendmail, C::cEstadoSendmail, nullptr, C::cIniciarSendmail,
     C::cDetenerSendmail, {C::cReiniciarSendmail, {}}, C::cEditarSendmail, C::cLogSendmail, 0,
     false, &form1::bIniciarSendmail_Click, &form1::bDetenerSendmail_Click,
     &form1::bReiniciarSendmail_Click, &form1::bEditarSendmail_Click, &form1::bLogSendmail_Click,
     &form1::LeerEstadoSendmail},
    {"Dns", &form1::tDns, C::cEstadoDns, nullptr, C::cIniciarDns, C::cDetenerDns,
     {C::cReiniciarDns, {}}, C::cEditarDns, {}, 0, false,
     &form1::bIniciarDns_Click, &form1::bDetenerDns_Click, &form1::bReiniciarDns_Click,
     &form1::bEditarDns_Click, nullptr, &form1::LeerEstadoDns},
    {"Xinetd", &form1::tXinetd, C::cEstadoXinetd, nullptr, C::cIniciarXinetd, C::cDetenerXinetd,
     {C::cReiniciarXinetd, {}}, C::cEditarXinetd, C::cLogXinetd, 0, true,
     &form1::bIniciarXinetd_Click, &form1::bDetenerXinetd_Click, &form1::bReiniciarXinetd_Click,
     &form1::bEditarXinetd_Click, &form1::bLogXinetd_Click, &form1::LeerEstadoXinetd},
    {"Telnet", &form1::tTelnet, {}, "telnet", {}, {}, {}, {}, {}, 0, false,
     &form1::bIniciarTelnet_Click, &form1::bDetenerTelnet_Click, nullptr, nullptr, nullptr,
     &form1::LeerEstadoTelnet},
    {"Ftp", &form1::tFtp, {}, "wu-ftpd", {}, {}, {}, C::cEditarFtp, {}, 0, false,
     &form1::bIniciarFtp_Click, &form1::bDetenerFtp_Click, nullptr, &form1::bEditarFtp_Click,
     nullptr, &form1::LeerEstadoFtp},
    {"Pop3", &form1::tPop3, {}, "ipop3", {}, {}, {}, {}, {}, 0, false,
     &form1::bIniciarPop3_Click, &form1::bDetenerPop3_Click, nullptr, nullptr, nullptr,
     &form1::LeerEstadoPop3},
    {"Swat", &form1::tSwat, {}, "swat", {}, {}, {}, {}, {}, 0, false,
     &form1::bIniciarSwat_Click, &form1::bDetenerSwat_Click, nullptr, nullptr, nullptr,
     &form1::LeerEstadoSwat},
};
// clang-format on

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
            noSePudoEscribir();
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
    auto entrada = [&](QMenu *menu, const char *texto, Ranura ranura) {
        menu->addAction(QString::fromLatin1(texto), ninguna, this, ranura);
    };

    auto *archivo = new QMenu(this);
    entrada(archivo, "Crear /etc/hosts.deny Por Defecto", &form1::EscribirHostsDeny);
    entrada(archivo, "Crear /etc/hosts.allow Por Defecto", &form1::EscribirHostsAllow);
    archivo->addSeparator();
    entrada(archivo, "Crear korv-gate Por Defecto", &form1::EscribirKorvgate);
    entrada(archivo, "Crear /etc/ftpaccess Por Defecto", &form1::EscribirFtp);
    archivo->addSeparator();
    entrada(archivo, "Configurar ...", &form1::Configuracion);
    archivo->addSeparator();
    archivo->addAction(QStringLiteral("S&alir"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp,
                       &QCoreApplication::quit);
    archivo->setTitle(QStringLiteral("&Archivo"));
    barra->addMenu(archivo);

    // Init-script services under "Servicios", xinetd-run ones under "Xinetd Serv".
    auto *servicios_ = new QMenu(this);
    auto *xinetd = new QMenu(this);
    for (const Servicio &s : servicios) {
        auto *sub = new QMenu(this);
        Q_CHECK_PTR(sub);
        entrada(sub, "Iniciar", s.bIniciar);
        entrada(sub, "Detener", s.bDetener);
        if (s.bReiniciar)
            entrada(sub, "Reiniciar", s.bReiniciar);
        if (s.bEditar) {
            sub->addSeparator();
            entrada(sub, "Editar", s.bEditar);
        }
        if (s.bLog)
            entrada(sub, "Logs", s.bLog);
        sub->setTitle(QString::fromLatin1(s.menu));
        (s.archivoXinetd ? xinetd : servicios_)->addMenu(sub);
    }
    servicios_->setTitle(QStringLiteral("&Servicios"));
    barra->addMenu(servicios_);
    xinetd->setTitle(QStringLiteral("&Xinetd Serv"));
    barra->addMenu(xinetd);

    auto *ayuda = new QMenu(this);
    entrada(ayuda, "Manual...", &form1::VerManual);
    ayuda->addSeparator();
    entrada(ayuda, "Acerca de ...", &form1::VerAcercade);
    ayuda->setTitle(QStringLiteral("A&yuda"));
    barra->addMenu(ayuda);
}

QLabel *form1::etiqueta(Indice i) { return this->*servicios[i].etiqueta; }

void form1::noSePudoEscribir()
{
    QMessageBox::warning(this, QStringLiteral("Error"),
                         QStringLiteral("No se pudo escribir el Archivo"));
}

// Status probes -------------------------------------------------------------

void form1::LeerEstadoArchivo(const QByteArray &ruta, QLabel *etiqueta)
{
    etiqueta->setText(Sonda::porArchivo(ruta));
}

void form1::LeerArchivoXinetd(const QByteArray &ruta, QLabel *etiqueta)
{
    etiqueta->setText(Sonda::porXinetd(ruta));
}

QByteArray form1::archivoXinetd(Indice i) const
{
    return Ajustes::valor(C::cDirectorioXinetd) + '/' + servicios[i].archivoXinetd;
}

void form1::sondear(Indice i)
{
    const Servicio &s = servicios[i];
    if (s.archivoXinetd)
        LeerArchivoXinetd(archivoXinetd(i), etiqueta(i));
    else
        LeerEstadoArchivo(Ajustes::valor(*s.estado), etiqueta(i));
}

void form1::LeerEstadoGate() { sondear(Gate); }
void form1::LeerEstadoSquid() { sondear(Squid); }
void form1::LeerEstadoHttpd() { sondear(Httpd); }
void form1::LeerEstadoSamba() { sondear(Samba); }
void form1::LeerEstadoSendmail() { sondear(Sendmail); }
void form1::LeerEstadoDns() { sondear(Dns); }
void form1::LeerEstadoXinetd() { sondear(Xinetd); }
void form1::LeerEstadoTelnet() { sondear(Telnet); }
void form1::LeerEstadoFtp() { sondear(Ftp); }
void form1::LeerEstadoPop3() { sondear(Pop3); }
void form1::LeerEstadoSwat() { sondear(Swat); }

// Service commands ----------------------------------------------------------

// Probes again once the command has returned, never at once.
void form1::sondearDespues(Indice i, bool tardia)
{
    QTimer::singleShot(SondaComando, this, servicios[i].sondeo);
    if (tardia && servicios[i].sondaTardia)
        QTimer::singleShot(servicios[i].sondaTardia, this, servicios[i].sondeo);
}

void form1::iniciar(Indice i)
{
    Comandos::ejecutar(Ajustes::valor(*servicios[i].iniciar));
    sondearDespues(i, true);
}

void form1::detener(Indice i)
{
    Comandos::ejecutar(Ajustes::valor(*servicios[i].detener));
    sondearDespues(i, false);
}

void form1::reiniciar(Indice i)
{
    if (servicios[i].pendiente)
        etiqueta(i)->setText(MarcaPendiente);
    for (const std::optional<Clave> &clave : servicios[i].reiniciar) {
        if (clave)
            Comandos::ejecutar(Ajustes::valor(*clave));
    }
    sondearDespues(i, true);
}

void form1::editar(std::optional<Clave> clave)
{
    Comandos::ejecutar(
        Comandos::expandirEditor(Ajustes::valor(*clave), Ajustes::valor(C::cEditor)));
}

void form1::bIniciarGate_Click() { iniciar(Gate); }
void form1::bIniciarSquid_Click() { iniciar(Squid); }
void form1::bIniciarHttpd_Click() { iniciar(Httpd); }
void form1::bIniciarSamba_Click() { iniciar(Samba); }
void form1::bIniciarSendmail_Click() { iniciar(Sendmail); }
void form1::bIniciarDns_Click() { iniciar(Dns); }
void form1::bIniciarXinetd_Click() { iniciar(Xinetd); }
void form1::bDetenerGate_Click() { detener(Gate); }
void form1::bDetenerSquid_Click() { detener(Squid); }
void form1::bDetenerHttpd_Click() { detener(Httpd); }
void form1::bDetenerSamba_Click() { detener(Samba); }
void form1::bDetenerSendmail_Click() { detener(Sendmail); }
void form1::bDetenerDns_Click() { detener(Dns); }
void form1::bDetenerXinetd_Click() { detener(Xinetd); }
void form1::bReiniciarGate_Click() { reiniciar(Gate); }
void form1::bReiniciarSquid_Click() { reiniciar(Squid); }
void form1::bReiniciarHttpd_Click() { reiniciar(Httpd); }
void form1::bReiniciarSamba_Click() { reiniciar(Samba); }
void form1::bReiniciarSendmail_Click() { reiniciar(Sendmail); }
void form1::bReiniciarDns_Click() { reiniciar(Dns); }
void form1::bReiniciarXinetd_Click() { reiniciar(Xinetd); }
void form1::bEditarGate_Click() { editar(servicios[Gate].editar); }
void form1::bEditarSquid_Click() { editar(servicios[Squid].editar); }
void form1::bEditarHttpd_Click() { editar(servicios[Httpd].editar); }
void form1::bEditarSendmail_Click() { editar(servicios[Sendmail].editar); }
void form1::bEditarDns_Click() { editar(servicios[Dns].editar); }
void form1::bEditarXinetd_Click() { editar(servicios[Xinetd].editar); }
void form1::bEditarFtp_Click() { editar(servicios[Ftp].editar); }
void form1::bLogSquid_Click() { editar(servicios[Squid].log); }
void form1::bLogHttpd_Click() { editar(servicios[Httpd].log); }
void form1::bLogSamba_Click() { editar(servicios[Samba].log); }
void form1::bLogSendmail_Click() { editar(servicios[Sendmail].log); }
void form1::bLogXinetd_Click() { editar(servicios[Xinetd].log); }

void form1::bEditarSamba_Click()
{
    // Samba is configured through swat, which only runs under xinetd.
    for (Indice necesario : {Xinetd, Swat}) {
        if (etiqueta(necesario)->text() != MarcaOn) {
            QMessageBox::warning(this, QStringLiteral("Error"),
                                 necesario == Xinetd
                                     ? QStringLiteral("Debe estar iniciado el servicio XINETD")
                                     : QStringLiteral("Debe estar iniciado el servicio SWAT"));
            return;
        }
    }
    editar(servicios[Samba].editar);
}

// xinetd switching ----------------------------------------------------------

void form1::CambiarArchivoXinetd(const QByteArray &ruta, QLabel *etiqueta, int direccion,
                                 Ranura sondeo)
{
    if (!Xinetd::cambiarArchivo(ruta, direccion == 1)) {
        etiqueta->setText(MarcaError);
        return;
    }
    if (tXinetd->text() == MarcaOn)
        bReiniciarXinetd_Click();
    QTimer::singleShot(SondaXinetd, this, sondeo);
}

void form1::cambiar(Indice i, int direccion)
{
    CambiarArchivoXinetd(archivoXinetd(i), etiqueta(i), direccion, servicios[i].sondeo);
}

void form1::bIniciarTelnet_Click() { cambiar(Telnet, 1); }
void form1::bIniciarFtp_Click() { cambiar(Ftp, 1); }
void form1::bIniciarPop3_Click() { cambiar(Pop3, 1); }
void form1::bIniciarSwat_Click() { cambiar(Swat, 1); }
void form1::bDetenerTelnet_Click() { cambiar(Telnet, 0); }
void form1::bDetenerFtp_Click() { cambiar(Ftp, 0); }
void form1::bDetenerPop3_Click() { cambiar(Pop3, 0); }
void form1::bDetenerSwat_Click() { cambiar(Swat, 0); }

// Access-control and default files ------------------------------------------

void form1::LeerEstadoHostsAllow()
{
    const std::optional<Accesos::ArchivoHostsAllow> archivo = Accesos::leerHostsAllow();
    mlHostsAllow->setPlainText(archivo ? archivo->texto : MarcaError);
    codificacionHostsAllow = archivo ? archivo->codificacion : Texto::Codificacion::Utf8;
    mlHostsAllow->document()->setModified(false);
}

// toPlainText() turns no-break spaces into blanks, which would rewrite every
// line holding one (byte A0 in ISO-8859-1); the raw text keeps them.
QString form1::textoHostsAllow() const
{
    QString texto = mlHostsAllow->document()->toRawText();
    texto.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return texto;
}

void form1::bAplicarHostsAllow_Click()
{
    if (!Accesos::guardarHostsAllow(textoHostsAllow(), codificacionHostsAllow)) {
        noSePudoEscribir();
        return;
    }
    mlHostsAllow->document()->setModified(false);
}

void form1::bLogHostsAllow_Click()
{
    Comandos::ejecutar(Accesos::comandoLogHostsDeny(Ajustes::valor(C::cEditor)));
}

void form1::EscribirHostsDeny()
{
    if (!Accesos::escribirHostsDeny()) {
        noSePudoEscribir();
        return;
    }
    QMessageBox::information(this, QStringLiteral("Listo"),
                             QStringLiteral("Se modifico /etc/hosts.deny"));
}

void form1::EscribirHostsAllow()
{
    // The editor shows the default list even when the file cannot take it.
    mlHostsAllow->setPlainText(QString::fromLatin1(Accesos::HostsAllowPorDefecto));
    codificacionHostsAllow = Texto::Codificacion::Utf8;
    mlHostsAllow->document()->setModified(false);
    if (!Accesos::escribirHostsAllow()) {
        noSePudoEscribir();
        return;
    }
    QMessageBox::information(this, QStringLiteral("Listo"),
                             QStringLiteral("Se modifico /etc/hosts.allow"));
}

void form1::EscribirFtp() { Accesos::instalarFtp(); }
void form1::EscribirKorvgate() { Accesos::instalarKorvgate(); }

// Manual, about box and dialogs ---------------------------------------------

void form1::VerManual() { Comandos::ejecutar(Ajustes::valor(C::cAbrirManual) + " &"); }

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

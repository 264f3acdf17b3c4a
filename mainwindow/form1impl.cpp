#include "mainwindow/form1impl.h"

#include "configdialog/confimpl.h"
#include "firewalldialog/firewallimpl.h"
#include "mainwindow/accesos.h"
#include "mainwindow/comandos.h"
#include "mainwindow/marcas.h"
#include "mainwindow/xinetd.h"
#include "platform/avisos.h"
#include "platform/confianza.h"
#include "talvora_version.h"

#include <algorithm>

#include <QApplication>
#include <QEvent>
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

// A row's button: "b", one capitalised word, the service's id (bIniciarSquid).
bool esBotonDe(QStringView boton, QLatin1String id)
{
    if (boton.size() < id.size() + 3 || !boton.startsWith(u'b') || !boton.endsWith(id))
        return false;
    const QStringView palabra = boton.sliced(1, boton.size() - 1 - id.size());
    return palabra.front() >= u'A' && palabra.front() <= u'Z'
           && std::all_of(palabra.begin() + 1, palabra.end(),
                          [](QChar c) { return c >= u'a' && c <= u'z'; });
}

} // namespace

using C = Ajustes::Clave;

form1::form1(const Sistema &sistema, Ajustes &ajustes, QWidget *parent, const char *name,
             bool modal, Qt::WindowFlags fl)
    : form1Base(parent, name, modal, fl), sistema_(sistema), ajustes_(&ajustes)
{
    // A screen reader says whose each button and status is. One pass over
    // the buttons: a regular expression per service costs start-up time.
    const QList<QPushButton *> botones = findChildren<QPushButton *>();
    for (const Servicio s : Servicios) {
        const QString nombre = QString::fromLatin1(datos(s).nombre);
        etiqueta(s)->setAccessibleName(QStringLiteral("Estado de ") + nombre);
        for (QPushButton *b : botones) {
            if (esBotonDe(b->objectName(), QLatin1String(datos(s).id)))
                b->setAccessibleName(b->text() + QLatin1Char(' ') + nombre);
        }
    }
    bAplicarHostsAllow->setAccessibleName(QStringLiteral("Aplicar Hosts Allow"));

    switch (ajustes_->cargar(sistema_)) {
    case Ajustes::Carga::Cargado:
        break;
    case Ajustes::Carga::NoSePuedeLeer:
        QMessageBox::warning(this, QStringLiteral("Error"),
                             QStringLiteral("No se puede Leer el Archivo de Configuracion"));
        break;
    case Ajustes::Carga::NoExiste: {
        if (preguntarPrimeraVez(this))
            EscribirHostsDeny();
        const QByteArrayList &valores = Ajustes::valoresDe(Ajustes::perfilDelSistema(sistema_));
        if (!Ajustes::guardar(sistema_, valores)) {
            Avisos::noSePudoEscribir(this);
            return;
        }
        ajustes_->asignar(valores);
        break;
    }
    }
    confiable(); // told now; the rows are still probed

    // One question to systemd for every row whose status is a unit.
    QByteArrayList unidades;
    QList<Servicio> porUnidad;
    for (const Servicio s : Servicios) {
        const DatosServicio::Clave &clave = datos(s).estado;
        if (const auto unidad
            = clave ? Sondas::unidadSystemd(ajustes_->valor(*clave)) : std::nullopt) {
            unidades.append(*unidad);
            porUnidad.append(s);
        }
    }
    const QList<Estado> estados
        = unidades.isEmpty() ? QList<Estado>() : Sondas::porSystemd(sistema_, unidades);
    for (qsizetype i = 0; i < porUnidad.size(); ++i)
        deSystemd_.insert(porUnidad[i], estados.value(i, Estado::Error));

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
    deSystemd_.clear();
    avisarSinTcpWrappers();

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
    using Ranura = void (form1::*)();
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
    auto *servicios = new QMenu(this);
    auto *xinetd = new QMenu(this);
    for (const Servicio s : Servicios) {
        const DatosServicio &d = datos(s);
        auto *sub = new QMenu(this);
        Q_CHECK_PTR(sub);
        auto accion = [&](const char *texto, Accion a) {
            sub->addAction(QString::fromLatin1(texto), ninguna, this,
                           [this, s, a] { actuar(s, a); });
        };
        accion("Iniciar", Accion::Iniciar);
        accion("Detener", Accion::Detener);
        if (d.reiniciar[0])
            accion("Reiniciar", Accion::Reiniciar);
        if (d.editar) {
            sub->addSeparator();
            accion("Editar", Accion::Editar);
        }
        if (d.log)
            accion("Logs", Accion::Log);
        sub->setTitle(QString::fromLatin1(d.menu));
        (d.archivoXinetd ? xinetd : servicios)->addMenu(sub);
    }
    servicios->setTitle(QStringLiteral("&Servicios"));
    barra->addMenu(servicios);
    xinetd->setTitle(QStringLiteral("&Xinetd Serv"));
    barra->addMenu(xinetd);

    auto *ayuda = new QMenu(this);
    entrada(ayuda, "Manual...", &form1::VerManual);
    ayuda->addSeparator();
    entrada(ayuda, "Acerca de ...", &form1::VerAcercade);
    ayuda->setTitle(QStringLiteral("A&yuda"));
    barra->addMenu(ayuda);
}

// A switch without a default: the compiler names any row left out.
QLabel *form1::etiqueta(Servicio servicio) const
{
    switch (servicio) {
    case Servicio::Gate:
        return tGate;
    case Servicio::Squid:
        return tSquid;
    case Servicio::Httpd:
        return tHttpd;
    case Servicio::Samba:
        return tSamba;
    case Servicio::Sendmail:
        return tSendmail;
    case Servicio::Dns:
        return tDns;
    case Servicio::Xinetd:
        return tXinetd;
    case Servicio::Telnet:
        return tTelnet;
    case Servicio::Ftp:
        return tFtp;
    case Servicio::Pop3:
        return tPop3;
    case Servicio::Swat:
        return tSwat;
    }
    return nullptr;
}

std::optional<Estado> form1::estado(Servicio servicio) const
{
    return estados_[static_cast<size_t>(servicio)];
}

void form1::mostrar(Servicio servicio, Estado estado)
{
    estados_[static_cast<size_t>(servicio)] = estado;
    QLabel *l = etiqueta(servicio);
    l->setText(Marcas::texto(estado, palette())); // the labels take the window's palette
    l->setAccessibleDescription(Marcas::palabra(estado));
}

// A new palette (a dark desktop theme, say) redraws the states in it.
void form1::changeEvent(QEvent *evento)
{
    form1Base::changeEvent(evento);
    if (evento->type() != QEvent::PaletteChange)
        return;
    for (const Servicio s : Servicios) {
        if (const std::optional<Estado> e = estado(s))
            mostrar(s, *e);
    }
}

// Status probes -------------------------------------------------------------

void form1::LeerEstadoArchivo(const QByteArray &ruta, Servicio servicio)
{
    mostrar(servicio, Sondas::porArchivo(ruta));
}

void form1::LeerArchivoXinetd(const QByteArray &ruta, Servicio servicio)
{
    mostrar(servicio, Sondas::porXinetd(ruta));
}

QByteArray form1::archivoXinetd(Servicio servicio) const
{
    return ajustes_->valor(C::cDirectorioXinetd) + '/' + datos(servicio).archivoXinetd;
}

void form1::sondear(Servicio servicio)
{
    const DatosServicio &d = datos(servicio);
    if (d.archivoXinetd) {
        LeerArchivoXinetd(archivoXinetd(servicio), servicio);
        return;
    }
    const QByteArray ajuste = ajustes_->valor(*d.estado);
    if (const std::optional<QByteArray> unidad = Sondas::unidadSystemd(ajuste))
        mostrar(servicio, deSystemd_.contains(servicio)
                              ? deSystemd_.value(servicio)
                              : Sondas::porSystemd(sistema_, {*unidad}).first());
    else
        LeerEstadoArchivo(ajuste, servicio);
}

void form1::LeerEstadoGate() { sondear(Servicio::Gate); }
void form1::LeerEstadoSquid() { sondear(Servicio::Squid); }
void form1::LeerEstadoHttpd() { sondear(Servicio::Httpd); }
void form1::LeerEstadoSamba() { sondear(Servicio::Samba); }
void form1::LeerEstadoSendmail() { sondear(Servicio::Sendmail); }
void form1::LeerEstadoDns() { sondear(Servicio::Dns); }
void form1::LeerEstadoXinetd() { sondear(Servicio::Xinetd); }
void form1::LeerEstadoTelnet() { sondear(Servicio::Telnet); }
void form1::LeerEstadoFtp() { sondear(Servicio::Ftp); }
void form1::LeerEstadoPop3() { sondear(Servicio::Pop3); }
void form1::LeerEstadoSwat() { sondear(Servicio::Swat); }

void form1::sondearDespues(Servicio servicio, int ms)
{
    QTimer::singleShot(ms, this, [this, servicio] { sondear(servicio); });
}

// Service actions -----------------------------------------------------------

void form1::actuar(Servicio servicio, Accion accion)
{
    if (!confiable())
        return;
    const DatosServicio &d = datos(servicio);
    if (d.archivoXinetd && (accion == Accion::Iniciar || accion == Accion::Detener)) {
        CambiarArchivoXinetd(archivoXinetd(servicio), servicio, accion == Accion::Iniciar);
        return;
    }
    switch (accion) {
    case Accion::Iniciar:
        correr(servicio, {d.iniciar, {}}, true);
        break;
    case Accion::Detener:
        correr(servicio, {d.detener, {}}, false);
        break;
    case Accion::Reiniciar:
        if (d.pendiente)
            mostrar(servicio, Estado::Pendiente);
        correr(servicio, d.reiniciar, true);
        break;
    case Accion::Editar:
        if (!d.editarPideSwat || !Comandos::abreSwat(ajustes_->valor(*d.editar))
            || puedeEditarSamba())
            abrir(d.editar);
        break;
    case Accion::Log:
        abrir(d.log);
        break;
    }
}

// Runs the commands in turn, then probes the row again once they have
// returned, never at once. A failure is told after the probes are set.
void form1::correr(Servicio servicio, const std::array<DatosServicio::Clave, 2> &claves,
                   bool tardia)
{
    QList<QPair<QByteArray, Sistema::Resultado>> fallos;
    for (const DatosServicio::Clave &clave : claves) {
        if (!clave)
            continue;
        const QByteArray comando = ajustes_->valor(*clave);
        const Sistema::Resultado r = sistema_.ejecutar(comando);
        if (!r.bien())
            fallos.append({comando, r});
    }
    sondearDespues(servicio, SondaComando);
    if (tardia && datos(servicio).sondaTardia)
        sondearDespues(servicio, datos(servicio).sondaTardia);
    for (const auto &[comando, r] : fallos)
        Avisos::siFallo(this, comando, r);
}

void form1::abrir(const DatosServicio::Clave &clave)
{
    sistema_.lanzar(Comandos::expandirEditor(ajustes_->valor(*clave), ajustes_->valor(C::cEditor)));
}

// SWAT only runs under xinetd: both rows must read ON, xinetd asked first.
bool form1::puedeEditarSamba()
{
    const std::pair<Servicio, const char *> necesarios[]
        = {{Servicio::Xinetd, "Debe estar iniciado el servicio XINETD"},
           {Servicio::Swat, "Debe estar iniciado el servicio SWAT"}};
    for (const auto &[servicio, aviso] : necesarios) {
        if (estado(servicio) != Estado::On) {
            QMessageBox::warning(this, QStringLiteral("Error"), QString::fromLatin1(aviso));
            return false;
        }
    }
    return true;
}

void form1::bIniciarGate_Click() { actuar(Servicio::Gate, Accion::Iniciar); }
void form1::bIniciarSquid_Click() { actuar(Servicio::Squid, Accion::Iniciar); }
void form1::bIniciarHttpd_Click() { actuar(Servicio::Httpd, Accion::Iniciar); }
void form1::bIniciarSamba_Click() { actuar(Servicio::Samba, Accion::Iniciar); }
void form1::bIniciarSendmail_Click() { actuar(Servicio::Sendmail, Accion::Iniciar); }
void form1::bIniciarDns_Click() { actuar(Servicio::Dns, Accion::Iniciar); }
void form1::bIniciarXinetd_Click() { actuar(Servicio::Xinetd, Accion::Iniciar); }
void form1::bIniciarTelnet_Click() { actuar(Servicio::Telnet, Accion::Iniciar); }
void form1::bIniciarFtp_Click() { actuar(Servicio::Ftp, Accion::Iniciar); }
void form1::bIniciarPop3_Click() { actuar(Servicio::Pop3, Accion::Iniciar); }
void form1::bIniciarSwat_Click() { actuar(Servicio::Swat, Accion::Iniciar); }
void form1::bDetenerGate_Click() { actuar(Servicio::Gate, Accion::Detener); }
void form1::bDetenerSquid_Click() { actuar(Servicio::Squid, Accion::Detener); }
void form1::bDetenerHttpd_Click() { actuar(Servicio::Httpd, Accion::Detener); }
void form1::bDetenerSamba_Click() { actuar(Servicio::Samba, Accion::Detener); }
void form1::bDetenerSendmail_Click() { actuar(Servicio::Sendmail, Accion::Detener); }
void form1::bDetenerDns_Click() { actuar(Servicio::Dns, Accion::Detener); }
void form1::bDetenerXinetd_Click() { actuar(Servicio::Xinetd, Accion::Detener); }
void form1::bDetenerTelnet_Click() { actuar(Servicio::Telnet, Accion::Detener); }
void form1::bDetenerFtp_Click() { actuar(Servicio::Ftp, Accion::Detener); }
void form1::bDetenerPop3_Click() { actuar(Servicio::Pop3, Accion::Detener); }
void form1::bDetenerSwat_Click() { actuar(Servicio::Swat, Accion::Detener); }
void form1::bReiniciarGate_Click() { actuar(Servicio::Gate, Accion::Reiniciar); }
void form1::bReiniciarSquid_Click() { actuar(Servicio::Squid, Accion::Reiniciar); }
void form1::bReiniciarHttpd_Click() { actuar(Servicio::Httpd, Accion::Reiniciar); }
void form1::bReiniciarSamba_Click() { actuar(Servicio::Samba, Accion::Reiniciar); }
void form1::bReiniciarSendmail_Click() { actuar(Servicio::Sendmail, Accion::Reiniciar); }
void form1::bReiniciarDns_Click() { actuar(Servicio::Dns, Accion::Reiniciar); }
void form1::bReiniciarXinetd_Click() { actuar(Servicio::Xinetd, Accion::Reiniciar); }
void form1::bEditarGate_Click() { actuar(Servicio::Gate, Accion::Editar); }
void form1::bEditarSquid_Click() { actuar(Servicio::Squid, Accion::Editar); }
void form1::bEditarHttpd_Click() { actuar(Servicio::Httpd, Accion::Editar); }
void form1::bEditarSamba_Click() { actuar(Servicio::Samba, Accion::Editar); }
void form1::bEditarSendmail_Click() { actuar(Servicio::Sendmail, Accion::Editar); }
void form1::bEditarDns_Click() { actuar(Servicio::Dns, Accion::Editar); }
void form1::bEditarXinetd_Click() { actuar(Servicio::Xinetd, Accion::Editar); }
void form1::bEditarFtp_Click() { actuar(Servicio::Ftp, Accion::Editar); }
void form1::bLogSquid_Click() { actuar(Servicio::Squid, Accion::Log); }
void form1::bLogHttpd_Click() { actuar(Servicio::Httpd, Accion::Log); }
void form1::bLogSamba_Click() { actuar(Servicio::Samba, Accion::Log); }
void form1::bLogSendmail_Click() { actuar(Servicio::Sendmail, Accion::Log); }
void form1::bLogXinetd_Click() { actuar(Servicio::Xinetd, Accion::Log); }

// xinetd switching ----------------------------------------------------------

// A running xinetd (as its row shows) rereads the files only when restarted.
void form1::CambiarArchivoXinetd(const QByteArray &ruta, Servicio servicio, bool encender)
{
    if (!Xinetd::cambiarArchivo(ruta, encender)) {
        mostrar(servicio, Estado::Error);
        return;
    }
    if (estado(Servicio::Xinetd) == Estado::On)
        actuar(Servicio::Xinetd, Accion::Reiniciar);
    sondearDespues(servicio, SondaXinetd);
}

// Access-control and default files ------------------------------------------

void form1::LeerEstadoHostsAllow()
{
    const std::optional<Accesos::ArchivoHostsAllow> archivo = Accesos::leerHostsAllow(sistema_);
    mlHostsAllow->setPlainText(archivo ? archivo->texto : Marcas::clasica(Estado::Error));
    codificacionHostsAllow = archivo ? archivo->codificacion : Texto::Codificacion::Utf8;
    mlHostsAllow->document()->setModified(false);
}

// An administrator must not believe that a rule here protects anything.
void form1::avisarSinTcpWrappers()
{
    if (Accesos::hayTcpWrappers(sistema_))
        return;
    const QString nota = QStringLiteral("Nada en este sistema lee /etc/hosts.allow: no hay TCP "
                                        "wrappers (libwrap ni tcpd), asi que sus reglas no "
                                        "protegen ningun servicio.");
    TextLabel2_2_2_3->setText(
        QStringLiteral("<b>Hosts Allow:</b> <font color=\"#c00000\">sin efecto</font>"));
    TextLabel2_2_2_3->setToolTip(nota);
    mlHostsAllow->setToolTip(nota);
    mlHostsAllow->setAccessibleDescription(nota);
}

// toPlainText() turns no-break spaces into blanks, which would rewrite every
// line holding one (byte A0 in ISO-8859-1); the raw text keeps them. A line
// break typed with Shift+Enter (U+2028) shows as one in the editor, so it is
// one in the file too: TCP wrappers would read it as part of a malformed rule.
QString form1::textoDelEditor() const
{
    QString texto = mlHostsAllow->document()->toRawText();
    texto.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    texto.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return texto;
}

void form1::bAplicarHostsAllow_Click()
{
    if (!Accesos::guardarHostsAllow(sistema_, textoDelEditor(), codificacionHostsAllow)) {
        Avisos::noSePudoEscribir(this);
        return;
    }
    mlHostsAllow->document()->setModified(false);
}

void form1::bLogHostsAllow_Click()
{
    if (!confiable())
        return;
    sistema_.lanzar(Accesos::comandoLogHostsDeny(sistema_, ajustes_->valor(C::cEditor)));
}

void form1::EscribirHostsDeny()
{
    if (!Accesos::escribirHostsDeny(sistema_)) {
        Avisos::noSePudoEscribir(this);
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
    if (!Accesos::escribirHostsAllow(sistema_)) {
        Avisos::noSePudoEscribir(this);
        return;
    }
    QMessageBox::information(this, QStringLiteral("Listo"),
                             QStringLiteral("Se modifico /etc/hosts.allow"));
}

void form1::EscribirFtp()
{
    if (confiable())
        Accesos::instalarFtp(sistema_);
}

void form1::EscribirKorvgate()
{
    if (!confiable())
        return;
    if (const std::optional<Accesos::Fallo> fallo = Accesos::instalarKorvgate(sistema_)) {
        if (fallo->comando.isEmpty())
            Avisos::noSePudoEscribir(this);
        else
            Avisos::siFallo(this, fallo->comando, fallo->resultado);
    }
}

// Nothing from the settings or the default files runs or is copied while
// someone but root could have changed them; each refusal says so again.
bool form1::confiable()
{
    const std::optional<Confianza::Fallo> fallo = Confianza::comprobar(sistema_);
    if (fallo)
        QMessageBox::warning(this, QStringLiteral("Error"), fallo->mensaje);
    return !fallo;
}

// Manual, about box and dialogs ---------------------------------------------

void form1::VerManual()
{
    if (confiable())
        sistema_.lanzar(ajustes_->valor(C::cAbrirManual) + " &");
}

void form1::VerAcercade()
{
    QMessageBox::information(this, QStringLiteral("Acerca de..."),
                             QStringLiteral("Talvora by Korvane\nVersion " TALVORA_VERSION "\n\n"
                                            "Panel de control de los servicios de red\n"
                                            "de un servidor Linux.\n\n"
                                            "Hecho por el equipo de Talvora."));
}

// The dialogs have no parent: each is a window of its own, deleted when closed.
void form1::Configuracion()
{
    auto *dialogo = new confimpl(sistema_, *ajustes_);
    dialogo->setAttribute(Qt::WA_DeleteOnClose);
    dialogo->show();
}

void form1::bFirewall_Click()
{
    auto *dialogo = new firewallimpl(sistema_);
    dialogo->setAttribute(Qt::WA_DeleteOnClose);
    dialogo->show();
}

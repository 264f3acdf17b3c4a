#include "mainwindow/form1impl.h"

#include "configdialog/confimpl.h"
#include "firewalldialog/firewallimpl.h"
#include "mainwindow/accesos.h"
#include "mainwindow/anuncios.h"
#include "mainwindow/comandos.h"
#include "mainwindow/corredor.h"
#include "mainwindow/marcas.h"
#include "mainwindow/xinetd.h"
#include "platform/avisos.h"
#include "platform/confianza.h"
#include "talvora_version.h"

#include <algorithm>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// What a marked U+2028 in the hosts.allow editor stands for.
constexpr int Original = QTextFormat::UserProperty;

// The editor would make a U+2029 or a lone carriage return from the file a
// line of its own, and so a line break in the file: a comment would end and
// what follows it become a rule. Each stays in its line as a U+2028 marked
// with what it was.
void cargarEditor(QPlainTextEdit *editor, const QString &texto)
{
    if (!texto.contains(QChar::ParagraphSeparator) && !texto.contains(QLatin1Char('\r'))) {
        editor->setPlainText(texto);
        return;
    }
    editor->clear();
    QTextCursor c(editor->document());
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        if (i > 0)
            c.insertBlock();
        QString tramo;
        for (const QChar ch : lineas[i]) {
            if (ch != QChar::ParagraphSeparator && ch != QLatin1Char('\r')) {
                tramo += ch;
                continue;
            }
            c.insertText(std::exchange(tramo, {}), QTextCharFormat());
            QTextCharFormat marcado;
            marcado.setProperty(Original, int(ch.unicode()));
            c.insertText(QString(QChar::LineSeparator), marcado);
        }
        c.insertText(tramo, QTextCharFormat());
    }
    editor->document()->clearUndoRedoStacks();
    editor->moveCursor(QTextCursor::Start); // where setPlainText leaves it
}

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

// The frame around a status is only a border; Qt gives a QFrame the role a
// screen reader takes for a window of its own.
constexpr char Contenedor[] = "talvora-contenedor";
// The object whose appearance a screen reader speaks (see form1::anunciar).
constexpr char Anuncio[] = "talvora-anuncio";

QAccessibleInterface *fabrica(const QString &, QObject *objeto)
{
    auto *w = qobject_cast<QWidget *>(objeto);
    if (w && w->property(Contenedor).toBool())
        return new QAccessibleWidget(w, QAccessible::Pane);
    if (w && w->property(Anuncio).toBool())
        return new QAccessibleWidget(w, QAccessible::Notification);
    return nullptr;
}

} // namespace

using C = Ajustes::Clave;

form1::form1(const Sistema &sistema, Ajustes &ajustes, QWidget *parent, const char *name,
             bool modal, Qt::WindowFlags fl)
    : form1Base(parent, name, modal, fl), sistema_(sistema), ajustes_(&ajustes)
{
    // A screen reader says whose each button and status is; a row's start,
    // stop and restart wait while its commands run. One pass over the
    // buttons, each name split once: building names to compare costs
    // start-up time.
    for (const Servicio s : Servicios)
        etiqueta(s)->parentWidget()->setProperty(Contenedor, true);
    for (QPushButton *b : findChildren<QPushButton *>()) {
        const QString boton = b->objectName();
        for (const Servicio s : Servicios) {
            const QLatin1String id(datos(s).id);
            if (!esBotonDe(boton, id))
                continue;
            b->setAccessibleName(b->text() + QLatin1Char(' ') + QLatin1String(datos(s).nombre));
            const QStringView accion = QStringView(boton).sliced(1, boton.size() - 1 - id.size());
            if (accion == u"Iniciar" || accion == u"Detener" || accion == u"Reiniciar")
                botones_[static_cast<size_t>(s)].append(b);
        }
    }
    bAplicarHostsAllow->setAccessibleName(QStringLiteral("Aplicar Hosts Allow"));
    static const bool fabricaInstalada = (QAccessible::installFactory(fabrica), true);
    (void)fabricaInstalada;
    // Changes that come together are said together, once they stop coming.
    pausaAnuncio_.setSingleShot(true);
    pausaAnuncio_.setInterval(400);
    connect(&pausaAnuncio_, &QTimer::timeout, this, [this] {
        if (!resumen_.vacio())
            anunciar(resumen_.texto(), resumen_.urgente());
        resumen_.vaciar();
    });

    trabajos_ = new Corredor(sistema_, this);
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

    // The rows follow the server from here on; the window only draws them.
    tablero_ = new Tablero(sistema_, ajustes, this);
    connect(tablero_, &Tablero::fila, this, &form1::dibujarFila);
    connect(tablero_, &Tablero::fallo, this, &form1::avisarFallo);
    connect(tablero_, &Tablero::aviso, this, [this](const QString &texto) {
        QMessageBox::warning(this, QStringLiteral("Error"), texto);
    });
    hostsAllow_ = new Accesos::HostsAllow(sistema_, this);
    // Another program changed the file: an editor nobody touched shows it.
    connect(hostsAllow_, &Accesos::HostsAllow::cambio, this, [this] {
        if (!mlHostsAllow->document()->isModified())
            LeerEstadoHostsAllow();
    });
    mlHostsAllow->installEventFilter(this);

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
    // Units answer later, from systemd: their rows wait meanwhile.
    for (const Servicio s : Servicios) {
        if (!estado(s))
            mostrar(s, Estado::Pendiente);
    }
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
    // Commands still running finish on their own; their answers go nowhere.
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
            QAction *entrada = sub->addAction(QString::fromLatin1(texto), ninguna, this,
                                              [this, s, a] { actuar(s, a); });
            if (a == Accion::Iniciar || a == Accion::Detener || a == Accion::Reiniciar)
                entradas_[static_cast<size_t>(s)].append(entrada);
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

    // As on most desktops: F10 opens the first menu, the arrows go on from there.
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, barra,
            [barra] { barra->setActiveAction(barra->actions().constFirst()); });
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

// While a row's commands run it shows "---" and its start, stop and restart
// wait; every other row goes on as usual.
void form1::dibujarFila(Servicio servicio, Estado estado, bool ocupada)
{
    // Said once the row has its answer: the result of the administrator's
    // action even when it is the state it had, any other change when it is new.
    const size_t i = static_cast<size_t>(servicio);
    if (ocupada) {
        pedidos_[i] = true;
    } else if (estado != Estado::Pendiente && (pedidos_[i] || dichos_[i] != estado)) {
        resumen_.anotar(servicio, estado, pedidos_[i]);
        pedidos_[i] = false;
        dichos_[i] = estado;
        if (!pausaAnuncio_.isActive())
            pausaAnuncio_.start();
    }
    mostrar(servicio, estado);
    for (QPushButton *b : botones_[static_cast<size_t>(servicio)])
        b->setEnabled(!ocupada);
    for (QAction *a : entradas_[static_cast<size_t>(servicio)])
        a->setEnabled(!ocupada);
}

// Told in a box of its own that holds nothing up: other rows' commands go
// on, and their boxes may come while this one is open.
void form1::avisarFallo(const QByteArray &comando, const Sistema::Resultado &resultado)
{
    auto *caja
        = new QMessageBox(QMessageBox::Warning, QStringLiteral("Error"),
                          Comandos::describirFallo(comando, resultado), QMessageBox::Ok, this);
    caja->setAttribute(Qt::WA_DeleteOnClose);
    caja->setWindowModality(Qt::NonModal);
    caja->show();
}

void form1::mostrar(Servicio servicio, Estado estado)
{
    estados_[static_cast<size_t>(servicio)] = estado;
    QLabel *l = etiqueta(servicio);
    l->setText(Marcas::texto(estado, palette())); // the labels take the window's palette
    // Read where a screen reader reads a label, its name: labels take no focus.
    l->setAccessibleName(Anuncios::nombreDeEstado(servicio, estado));
}

// Spoken without moving the focus. Qt 6.8 has an event for it; before it, a
// screen reader speaks an object of the notification role as it appears,
// so the phrase is such an object, shown anew each time. It draws nothing.
void form1::anunciar(const QString &texto, bool urgente)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent evento(this, texto);
    evento.setPoliteness(urgente ? QAccessible::AnnouncementPoliteness::Assertive
                                 : QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&evento);
#else
    (void)urgente; // Orca says a notification as it comes
    if (!anuncio_) {
        anuncio_ = new QWidget(this);
        anuncio_->setProperty(Anuncio, true);
        anuncio_->setGeometry(0, 0, 1, 1);
    }
    anuncio_->hide();
    anuncio_->setAccessibleName(texto);
    anuncio_->show();
#endif
    ultimoAnuncio_ = texto;
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

// Status probes: the board asks the row's source and draws the answer -----

void form1::LeerEstadoGate() { tablero_->sondear(Servicio::Gate); }
void form1::LeerEstadoSquid() { tablero_->sondear(Servicio::Squid); }
void form1::LeerEstadoHttpd() { tablero_->sondear(Servicio::Httpd); }
void form1::LeerEstadoSamba() { tablero_->sondear(Servicio::Samba); }
void form1::LeerEstadoSendmail() { tablero_->sondear(Servicio::Sendmail); }
void form1::LeerEstadoDns() { tablero_->sondear(Servicio::Dns); }
void form1::LeerEstadoXinetd() { tablero_->sondear(Servicio::Xinetd); }
void form1::LeerEstadoTelnet() { tablero_->sondear(Servicio::Telnet); }
void form1::LeerEstadoFtp() { tablero_->sondear(Servicio::Ftp); }
void form1::LeerEstadoPop3() { tablero_->sondear(Servicio::Pop3); }
void form1::LeerEstadoSwat() { tablero_->sondear(Servicio::Swat); }

// Service actions -----------------------------------------------------------

void form1::actuar(Servicio servicio, Accion accion)
{
    if (!confiable())
        return;
    tablero_->actuar(servicio, accion);
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

// Access-control and default files ------------------------------------------

void form1::LeerEstadoHostsAllow()
{
    const std::optional<Accesos::ArchivoHostsAllow> archivo = hostsAllow_->leer();
    cargarEditor(mlHostsAllow, archivo ? archivo->texto : Marcas::clasica(Estado::Error));
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

// The text as it goes back to the file. A block is a line; inside one, a
// U+2028 came from the file (Shift+Enter makes a new block, see
// eventFilter), and one marked by cargarEditor stands for the character it
// replaced. Fragments keep no-break spaces, which toPlainText() would turn
// into blanks (byte A0 in ISO-8859-1), rewriting every line holding one.
QString form1::textoDelEditor() const
{
    QString texto;
    const QTextDocument *documento = mlHostsAllow->document();
    for (QTextBlock b = documento->begin(); b.isValid(); b = b.next()) {
        if (b != documento->begin())
            texto += QLatin1Char('\n');
        for (auto i = b.begin(); !i.atEnd(); ++i) {
            QString tramo = i.fragment().text();
            const QVariant original = i.fragment().charFormat().property(Original);
            if (original.isValid())
                tramo.replace(QChar::LineSeparator, QChar(char16_t(original.toInt())));
            texto += tramo;
        }
    }
    return texto;
}

bool form1::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == mlHostsAllow && evento->type() == QEvent::KeyPress) {
        auto *tecla = static_cast<QKeyEvent *>(evento);
        if ((tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter)
            && (tecla->modifiers() & Qt::ShiftModifier)) {
            mlHostsAllow->textCursor().insertBlock();
            return true;
        }
    }
    return form1Base::eventFilter(objeto, evento);
}

// Another program changed the file since the editor loaded it: overwrite
// only on the administrator's word, negative answer first.
bool form1::puedeSobrescribir()
{
    QMessageBox caja(QMessageBox::Warning, QStringLiteral("Confirmacion"),
                     QStringLiteral("/etc/hosts.allow cambió en el disco desde que se abrió: "
                                    "¿Sobrescribir?"),
                     QMessageBox::NoButton, this);
    QPushButton *no = caja.addButton(QStringLiteral("No (Cancelar)"), QMessageBox::ActionRole);
    QPushButton *si = caja.addButton(QStringLiteral("Si (Sobrescribir)"), QMessageBox::ActionRole);
    caja.setDefaultButton(no);
    caja.setEscapeButton(no);
    caja.exec();
    return caja.clickedButton() == si;
}

void form1::bAplicarHostsAllow_Click()
{
    const QString texto = textoDelEditor();
    Accesos::HostsAllow::Guardado g = hostsAllow_->guardar(texto, codificacionHostsAllow, false);
    if (g == Accesos::HostsAllow::Guardado::CambioEnDisco) {
        if (!puedeSobrescribir())
            return; // the file and the edits both stay
        g = hostsAllow_->guardar(texto, codificacionHostsAllow, true);
    }
    if (g == Accesos::HostsAllow::Guardado::NoSePudo) {
        Avisos::noSePudoEscribir(this);
        return;
    }
    mlHostsAllow->document()->setModified(false);
    anunciar(QStringLiteral("/etc/hosts.allow guardado"), false);
}

void form1::bLogHostsAllow_Click()
{
    if (!confiable())
        return;
    const QByteArray linea = Accesos::comandoLogHostsDeny(sistema_, ajustes_->valor(C::cEditor));
    sistema_.lanzar(linea, tablero_->siNoArranca(linea));
}

// The backups are copies made by cp: done off the window's thread, then told.
void form1::EscribirHostsDeny()
{
    const Sistema sistema = sistema_;
    trabajos_->enHilo<bool>([sistema] { return Accesos::escribirHostsDeny(sistema); }, false,
                            [this](bool escrito) {
                                if (!escrito) {
                                    Avisos::noSePudoEscribir(this);
                                    return;
                                }
                                QMessageBox::information(
                                    this, QStringLiteral("Listo"),
                                    QStringLiteral("Se modifico /etc/hosts.deny"));
                            });
}

void form1::EscribirHostsAllow()
{
    // The editor shows the default list even when the file cannot take it.
    mlHostsAllow->setPlainText(QString::fromLatin1(Accesos::HostsAllowPorDefecto));
    codificacionHostsAllow = Texto::Codificacion::Utf8;
    mlHostsAllow->document()->setModified(false);
    const bool escrito = Accesos::escribirHostsAllow(sistema_);
    hostsAllow_->leer(); // what the editor now stands for
    if (!escrito) {
        Avisos::noSePudoEscribir(this);
        return;
    }
    QMessageBox::information(this, QStringLiteral("Listo"),
                             QStringLiteral("Se modifico /etc/hosts.allow"));
}

void form1::EscribirFtp()
{
    if (!confiable())
        return;
    const Sistema sistema = sistema_;
    trabajos_->enHilo<bool>(
        [sistema] {
            Accesos::instalarFtp(sistema);
            return true;
        },
        false, [](bool) {});
}

void form1::EscribirKorvgate()
{
    if (!confiable())
        return;
    const Sistema sistema = sistema_;
    // No thread to be had: nothing was written, and that is told.
    trabajos_->enHilo<std::optional<Accesos::Fallo>>(
        [sistema] { return Accesos::instalarKorvgate(sistema); }, Accesos::Fallo{},
        [this](const std::optional<Accesos::Fallo> &fallo) {
            if (!fallo)
                return;
            if (fallo->comando.isEmpty())
                Avisos::noSePudoEscribir(this);
            else
                Avisos::siFallo(this, fallo->comando, fallo->resultado);
        });
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
    if (!confiable())
        return;
    const QByteArray linea = ajustes_->valor(C::cAbrirManual) + " &";
    sistema_.lanzar(linea, tablero_->siNoArranca(linea));
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

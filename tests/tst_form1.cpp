// The main window's controller: start-up (first run, loading, failures),
// its slots, menus, status probes and the end of the run.
#include "mainwindow/form1impl.h"
#include "settings/ajustes.h"
#include "support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QString DirConf = QStringLiteral("/usr/local/share/talvora");
const QString On = QStringLiteral("<b><font color=darkgreen>ON");
const QString Off = QStringLiteral("<b><font color=red>OFF");
const QString Err = QStringLiteral("<b><font color=darkblue>Error");

// Answers every message box shown while it lives, in turn: a button's text,
// or "<Escape>", "<Return>", "<Cerrar>" (the close box). Boxes beyond the
// list are dismissed with done(-1) and counted, so that a box no test
// expected fails the test instead of hanging it. All are recorded.
class Cajas
{
public:
    struct Vista {
        QString titulo, texto, defecto, escape;
        QStringList botones, deIzquierdaADerecha;
    };
    Cajas()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { mirar(); });
        timer_.start(10);
    }
    QList<Vista> vistas;
    QStringList respuestas;
    int sinRespuesta = 0;

private:
    void mirar()
    {
        auto *caja = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!caja || !caja->isVisible())
            return;
        if (caja == ultima_) { // did not close on its answer
            caja->done(-1);
            return;
        }
        ultima_ = caja;
        Vista v{caja->windowTitle(), caja->text(), {}, {}, {}, {}};
        QList<QAbstractButton *> botones = caja->buttons();
        for (QAbstractButton *b : botones)
            v.botones << b->text();
        std::sort(botones.begin(), botones.end(), [caja](QAbstractButton *a, QAbstractButton *b) {
            return a->mapTo(caja, QPoint()).x() < b->mapTo(caja, QPoint()).x();
        });
        for (QAbstractButton *b : botones)
            v.deIzquierdaADerecha << b->text();
        if (caja->defaultButton())
            v.defecto = caja->defaultButton()->text();
        if (caja->escapeButton())
            v.escape = caja->escapeButton()->text();
        vistas << v;
        const QString r = respuestas.isEmpty() ? QString() : respuestas.takeFirst();
        if (r == "<Escape>" || r == "<Return>")
            QTest::keyClick(caja, r == "<Escape>" ? Qt::Key_Escape : Qt::Key_Return);
        else if (r == "<Cerrar>")
            caja->close();
        else if (QAbstractButton *b = botonConTexto(caja, r))
            b->click();
        else {
            ++sinRespuesta;
            caja->done(-1);
        }
    }
    QTimer timer_;
    QPointer<QMessageBox> ultima_;
};

QByteArray componer(const QStringList &lineas)
{
    QByteArray b;
    for (const QString &l : lineas)
        b += l.toUtf8() + '\n';
    return b;
}

// Settings whose status paths and xinetd directory lie under the root.
QStringList ajustesBajo(const RaizTemporal &r)
{
    QStringList v = Ajustes::valoresPorDefecto();
    const QStringList &k = Ajustes::claves();
    for (int i = 0; i < k.size(); ++i) {
        if (k[i].startsWith("cEstado"))
            v[i] = r.ruta("/var/run/" + k[i]);
        if (k[i] == "cDirectorioXinetd")
            v[i] = r.ruta("/etc/xinetd.d");
    }
    return v;
}

void ponerAjuste(const QString &clave, const QString &valor)
{
    QStringList v = Ajustes::valores();
    v[Ajustes::claves().indexOf(clave)] = valor;
    Ajustes::asignar(v);
}

const char *const etiquetas[] = {"tGate", "tSquid", "tHttpd", "tSamba", "tSendmail", "tDns",
                                 "tXinetd", "tTelnet", "tFtp", "tPop3", "tSwat"};

#define REGISTRA(s) \
    void s() override { corridos << QStringLiteral(#s); }
// Records the button slots that menu entries reach; form1's own slots run as they are.
class Registro : public form1
{
public:
    QStringList corridos;
    REGISTRA(bIniciarGate_Click) REGISTRA(bIniciarSquid_Click) REGISTRA(bIniciarHttpd_Click)
    REGISTRA(bIniciarSamba_Click) REGISTRA(bIniciarSendmail_Click) REGISTRA(bIniciarDns_Click)
    REGISTRA(bIniciarXinetd_Click) REGISTRA(bIniciarTelnet_Click) REGISTRA(bIniciarFtp_Click)
    REGISTRA(bIniciarPop3_Click) REGISTRA(bIniciarSwat_Click) REGISTRA(bDetenerGate_Click)
    REGISTRA(bDetenerSquid_Click) REGISTRA(bDetenerHttpd_Click) REGISTRA(bDetenerSamba_Click)
    REGISTRA(bDetenerSendmail_Click) REGISTRA(bDetenerDns_Click) REGISTRA(bDetenerXinetd_Click)
    REGISTRA(bDetenerTelnet_Click) REGISTRA(bDetenerFtp_Click) REGISTRA(bDetenerPop3_Click)
    REGISTRA(bDetenerSwat_Click) REGISTRA(bReiniciarGate_Click) REGISTRA(bReiniciarSquid_Click)
    REGISTRA(bReiniciarHttpd_Click) REGISTRA(bReiniciarSamba_Click) REGISTRA(bReiniciarSendmail_Click)
    REGISTRA(bReiniciarDns_Click) REGISTRA(bReiniciarXinetd_Click) REGISTRA(bEditarGate_Click)
    REGISTRA(bEditarSquid_Click) REGISTRA(bEditarHttpd_Click) REGISTRA(bEditarSamba_Click)
    REGISTRA(bEditarSendmail_Click) REGISTRA(bEditarDns_Click) REGISTRA(bEditarXinetd_Click)
    REGISTRA(bEditarFtp_Click) REGISTRA(bLogSquid_Click) REGISTRA(bLogHttpd_Click) REGISTRA(bLogSamba_Click)
    REGISTRA(bLogSendmail_Click) REGISTRA(bLogXinetd_Click)
};

// Start-up order: a status label gets its rich text control when a markup is
// first set, so its ChildAdded event marks the moment it was probed. The
// editor's state at that moment places the hosts.allow load in the sequence.
class OrdenDeSondas : public QObject
{
public:
    QStringList orden;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        auto *l = qobject_cast<QLabel *>(o);
        if (e->type() == QEvent::ChildAdded && l && l->objectName().startsWith('t') && !orden.contains(l->objectName())) {
            const auto *ed = l->window()->findChild<QPlainTextEdit *>("mlHostsAllow");
            if (ed && !ed->toPlainText().isEmpty() && !orden.contains("hosts.allow"))
                orden << "hosts.allow";
            orden << l->objectName();
        }
        return false;
    }
};

} // namespace

class TstForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Ajustes::asignar(Ajustes::valoresPorDefecto());
        cajas = std::make_unique<Cajas>();
    }
    void cleanup()
    {
        const int sinRespuesta = cajas->sinRespuesta;
        cajas.reset();
        QCOMPARE(sinRespuesta, 0);
    }

    void primeraVez_data()
    {
        QTest::addColumn<QString>("respuesta");
        QTest::addColumn<bool>("escribe");
        QTest::newRow("No Escribir") << "No Escribir(Cancelar)" << false;
        QTest::newRow("Escape") << "<Escape>" << false;
        QTest::newRow("Enter") << "<Return>" << false;
        QTest::newRow("cierre") << "<Cerrar>" << false;
        QTest::newRow("Escribir") << "Escribir (Recomendado)" << true;
    }
    void primeraVez()
    {
        QFETCH(QString, respuesta);
        QFETCH(bool, escribe);
        RaizTemporal raiz;
        raiz.crearDirectorio(DirConf);
        raiz.escribir("/etc/hosts.deny", "viejo\n");
        Grabador g;
        QByteArray denyAlCopiar;
        g.accion = [&](const QString &) { denyAlCopiar = raiz.leer("/etc/hosts.deny"); return 0; };
        cajas->respuestas = {respuesta, "<Return>"};
        auto w = std::make_unique<form1>();

        QCOMPARE(raiz.leer("/usr/local/share/talvora/conf"), componer(Ajustes::valoresPorDefecto()));
        QCOMPARE(Ajustes::valores(), Ajustes::valoresPorDefecto());
        QVERIFY(!cajas->vistas.isEmpty());
        const Cajas::Vista &p = cajas->vistas.first();
        QCOMPARE(p.titulo, QStringLiteral("Bienvenido a Talvora by Korvane 1.0"));
        QCOMPARE(p.texto, QStringLiteral("Por primera vez se ejecuta el programa\n\nDesea escribir el archivo "
                                         "/etc/hosts.deny ?\n(Se agrega la linea ALL:ALL) por defecto.\nEsto "
                                         "permitira optimizar el uso de xinetd \ny loguear los accesos no "
                                         "autorizados al sistema.\n--- Se creara una copia de seguridad de su "
                                         "archivo original\nen /etc/hosts.deny.viejo ---\n"));
        QCOMPARE(p.botones, (QStringList{"No Escribir(Cancelar)", "Escribir (Recomendado)"}));
        QCOMPARE(p.deIzquierdaADerecha, p.botones);
        QCOMPARE(p.defecto, QStringLiteral("No Escribir(Cancelar)"));
        if (escribe) {
            QCOMPARE(cajas->vistas.size(), 2);
            QCOMPARE(cajas->vistas[1].titulo, QStringLiteral("Listo"));
            QCOMPARE(g.comandos.size(), 1);
            QVERIFY(g.comandos[0].contains(raiz.ruta("/etc/hosts.deny.viejo")));
            QCOMPARE(denyAlCopiar, QByteArray("viejo\n")); // backup taken before the rewrite
            QVERIFY(raiz.leer("/etc/hosts.deny").startsWith("# Modificado por Talvora by Korvane\nALL:ALL: "));
        } else {
            QCOMPARE(cajas->vistas.size(), 1);
            QVERIFY(g.comandos.isEmpty());
            QCOMPARE(raiz.leer("/etc/hosts.deny"), QByteArray("viejo\n"));
        }
        // The building went on: probes and menu bar.
        QVERIFY(w->findChild<QMenuBar *>());
        QVERIFY(!w->tGate->text().isEmpty());
    }

    void segundaVez_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<QStringList>("esperado");
        QStringList v;
        for (int i = 1; i <= 44; ++i)
            v << QStringLiteral("valor %1").arg(i);
        QStringList blancos = v;
        blancos[1].clear();
        blancos[20].clear();
        QTest::newRow("blancos") << componer(blancos) << blancos;
        QStringList corto = v;
        corto[43].clear();
        QTest::newRow("43 lineas") << componer(v.mid(0, 43)) << corto;
        QTest::newRow("vacio") << QByteArray() << QStringList(44, QString());
        QByteArray crlf = componer(v);
        crlf.replace("\n", "\r\n");
        QTest::newRow("CR-LF") << crlf << v;
        QTest::newRow("sobrantes") << componer(v + QStringList{"extra", "otra"}) << v;
    }
    void segundaVez()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(QStringList, esperado);
        RaizTemporal raiz;
        raiz.escribir("/usr/local/share/talvora/conf", contenido);
        Grabador g;
        auto w = std::make_unique<form1>();
        QCOMPARE(cajas->vistas.size(), 0);
        QCOMPARE(Ajustes::valores(), esperado);
        QCOMPARE(raiz.leer("/usr/local/share/talvora/conf"), contenido);
        QVERIFY(w->findChild<QMenuBar *>());
    }

    void configuracionIlegible()
    {
        RaizTemporal raiz;
        // Root reads any file whatever its mode; a directory cannot be read as one.
        raiz.crearDirectorio(DirConf + "/conf");
        Grabador g;
        cajas->respuestas = {"<Return>"};
        auto w = std::make_unique<form1>();
        QCOMPARE(cajas->vistas.size(), 1);
        QCOMPARE(cajas->vistas[0].titulo, QStringLiteral("Error"));
        QCOMPARE(cajas->vistas[0].texto, QStringLiteral("No se puede Leer el Archivo de Configuracion"));
        QCOMPARE(cajas->vistas[0].botones.size(), 1);
        QCOMPARE(Ajustes::valores(), Ajustes::valoresPorDefecto());
        QVERIFY(QFileInfo(raiz.ruta(DirConf + "/conf")).isDir());
        QVERIFY(w->findChild<QMenuBar *>());
        for (const char *e : etiquetas)
            QVERIFY2(!w->findChild<QLabel *>(e)->text().isEmpty(), e);
    }

    void primeraVezSinDirectorio()
    {
        RaizTemporal raiz;
        raiz.escribir("/etc/hosts.allow", "ALL: 127.0.0.1\n");
        Grabador g;
        for (int vez = 0; vez < 2; ++vez) {
            cajas = std::make_unique<Cajas>();
            cajas->respuestas = {"No Escribir(Cancelar)", "<Return>"};
            auto w = std::make_unique<form1>();
            QCOMPARE(cajas->vistas.size(), 2);
            QCOMPARE(cajas->vistas[0].titulo, QStringLiteral("Bienvenido a Talvora by Korvane 1.0"));
            QCOMPARE(cajas->vistas[1].titulo, QStringLiteral("Error"));
            QCOMPARE(cajas->vistas[1].texto, QStringLiteral("No se pudo escribir el Archivo"));
            QVERIFY(!w->findChild<QMenuBar *>());
            for (const char *e : etiquetas)
                QVERIFY2(w->findChild<QLabel *>(e)->text().isEmpty(), e);
            QVERIFY(w->mlHostsAllow->toPlainText().isEmpty());
            QCOMPARE(Ajustes::valores(), Ajustes::valoresPorDefecto());
            w.reset(); // the unloaded, empty editor is not saved
            QCOMPARE(raiz.leer("/etc/hosts.allow"), QByteArray("ALL: 127.0.0.1\n"));
            QVERIFY(!raiz.existe(DirConf));
        }
    }

    void slotsEnElMetaObjeto()
    {
        const char *const esperados[] = {
            "bIniciarGate_Click", "bIniciarSquid_Click", "bIniciarHttpd_Click", "bIniciarSamba_Click",
            "bIniciarSendmail_Click", "bIniciarDns_Click", "bIniciarXinetd_Click", "bIniciarTelnet_Click",
            "bIniciarFtp_Click", "bIniciarPop3_Click", "bIniciarSwat_Click", "bAplicarHostsAllow_Click",
            "bDetenerGate_Click", "bDetenerSquid_Click", "bDetenerHttpd_Click", "bDetenerSamba_Click",
            "bDetenerSendmail_Click", "bDetenerDns_Click", "bDetenerXinetd_Click", "bDetenerTelnet_Click",
            "bDetenerFtp_Click", "bDetenerPop3_Click", "bDetenerSwat_Click", "bReiniciarGate_Click",
            "bReiniciarSquid_Click", "bReiniciarHttpd_Click", "bReiniciarSamba_Click", "bReiniciarSendmail_Click",
            "bReiniciarDns_Click", "bReiniciarXinetd_Click", "bEditarGate_Click", "bEditarSquid_Click",
            "bEditarHttpd_Click", "bEditarSamba_Click", "bEditarSendmail_Click", "bEditarDns_Click",
            "bEditarXinetd_Click", "bEditarFtp_Click", "bLogSquid_Click", "bLogHttpd_Click", "bLogSamba_Click",
            "bLogSendmail_Click", "bLogXinetd_Click", "bLogHostsAllow_Click", "bFirewall_Click",
            "LeerEstadoGate", "LeerEstadoSquid", "LeerEstadoHttpd", "LeerEstadoSamba", "LeerEstadoSendmail",
            "LeerEstadoDns", "LeerEstadoXinetd", "LeerEstadoTelnet", "LeerEstadoFtp", "LeerEstadoPop3",
            "LeerEstadoSwat", "LeerEstadoHostsAllow", "EscribirHostsDeny", "EscribirHostsAllow", "EscribirFtp",
            "EscribirKorvgate", "VerManual", "VerAcercade", "Configuracion"};
        const QMetaObject &mo = form1::staticMetaObject;
        QCOMPARE(mo.className(), "form1");
        QCOMPARE(mo.superClass(), &form1Base::staticMetaObject);
        QCOMPARE(mo.propertyCount(), mo.propertyOffset());
        QCOMPARE(mo.methodCount() - mo.methodOffset(), 64);
        for (int i = 0; i < 64; ++i) {
            const QMetaMethod m = mo.method(mo.methodOffset() + i);
            QCOMPARE(m.methodSignature(), QByteArray(esperados[i]) + "()");
            QCOMPARE(m.methodType(), QMetaMethod::Slot);
            QCOMPARE(m.access(), QMetaMethod::Private);
        }
    }

    void menus()
    {
        RaizTemporal raiz;
        raiz.escribir("/usr/local/share/talvora/conf", componer(ajustesBajo(raiz)));
        raiz.crearDirectorio("/etc");
        Grabador g;
        auto w = std::make_unique<Registro>();
        auto *barra = w->findChild<QMenuBar *>();
        QVERIFY(barra);
        QCOMPARE(w->findChildren<QMenuBar *>().size(), 1);

        // Each entry as "menu|submenu|text=slot"; separators as "menu|-".
        QStringList esperado = {"&Archivo|Crear /etc/hosts.deny Por Defecto=EscribirHostsDeny",
                                "&Archivo|Crear /etc/hosts.allow Por Defecto=EscribirHostsAllow", "&Archivo|-",
                                "&Archivo|Crear korv-gate Por Defecto=EscribirKorvgate",
                                "&Archivo|Crear /etc/ftpaccess Por Defecto=EscribirFtp", "&Archivo|-",
                                "&Archivo|Configurar ...=Configuracion", "&Archivo|-", "&Archivo|S&alir=quit"};
        const QList<QPair<QString, QString>> servicios = {{"Korv-&Gate", "Gate"}, {"Squid", "Squid"},
                                                          {"Httpd", "Httpd"},     {"Samba", "Samba"},
                                                          {"Sendmail", "Sendmail"}, {"Dns", "Dns"},
                                                          {"Xinetd", "Xinetd"}};
        for (const auto &[titulo, s] : servicios) {
            const QString m = "&Servicios|" + titulo + "|";
            esperado << m + "Iniciar=bIniciar" + s + "_Click" << m + "Detener=bDetener" + s + "_Click"
                     << m + "Reiniciar=bReiniciar" + s + "_Click" << m + "-" << m + "Editar=bEditar" + s + "_Click";
            if (s != "Gate" && s != "Dns")
                esperado << m + "Logs=bLog" + s + "_Click";
        }
        for (const QString s : {"Telnet", "Ftp", "Pop3", "Swat"}) {
            const QString m = "&Xinetd Serv|" + s + "|";
            esperado << m + "Iniciar=bIniciar" + s + "_Click" << m + "Detener=bDetener" + s + "_Click";
            if (s == "Ftp")
                esperado << m + "-" << m + "Editar=bEditarFtp_Click";
        }
        esperado << "A&yuda|Manual...=VerManual" << "A&yuda|-" << "A&yuda|Acerca de ...=VerAcercade";

        QStringList visto;
        int submenus = 0;
        QAction *salir = nullptr;
        std::function<void(QMenu *, const QString &)> recorrer = [&](QMenu *menu, const QString &ruta) {
            QCOMPARE(menu->parent(), w.get());
            for (QAction *a : menu->actions()) {
                if (a->isSeparator()) {
                    visto << ruta + "-";
                } else if (a->menu()) {
                    ++submenus;
                    recorrer(a->menu(), ruta + a->menu()->title() + "|");
                } else {
                    QVERIFY(a->isEnabled() && !a->isCheckable() && a->icon().isNull());
                    QCOMPARE(a->shortcut(), a->text() == "S&alir" ? QKeySequence(Qt::CTRL | Qt::Key_Q) : QKeySequence());
                    if (a->text() == "S&alir") {
                        salir = a;
                        visto << ruta + a->text() + "=quit";
                        continue;
                    }
                    visto << ruta + a->text() + "=" + dispararYVer(*w, g, a);
                }
            }
        };
        QCOMPARE(barra->actions().size(), 4);
        for (QAction *a : barra->actions()) {
            QVERIFY(a->menu());
            recorrer(a->menu(), a->menu()->title() + "|");
        }
        QCOMPARE(visto, esperado);
        QCOMPARE(submenus, 11);
        QCOMPARE(visto.filter(QRegularExpression("\\|-$")).size(), 12);
        QCOMPARE(visto.filter("=").size(), 50);

        // "S&alir" and Ctrl+Q end the event loop.
        QVERIFY(salir);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTimer seguro;
        seguro.setSingleShot(true);
        QObject::connect(&seguro, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        seguro.start(5000);
        QTimer::singleShot(0, salir, &QAction::trigger);
        QCOMPARE(QApplication::exec(), 0);
        w->show(); // quitting closed the window
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QSignalSpy disparos(salir, &QAction::triggered);
        seguro.start(5000);
        QTimer::singleShot(0, w.get(), [&] { QTest::keyClick(w->mlHostsAllow, Qt::Key_Q, Qt::ControlModifier); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(disparos.count(), 1);
    }

    void barraDeMenus()
    {
        RaizTemporal raiz;
        raiz.escribir("/usr/local/share/talvora/conf", componer(ajustesBajo(raiz)));
        auto w = std::make_unique<form1>();
        QCOMPARE(w->size(), QSize(526, 481));
        auto *barra = w->findChild<QMenuBar *>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTRY_COMPARE(barra->geometry().topLeft(), QPoint(0, 0));
        QVERIFY(barra->height() > 0 && barra->height() <= 30);
        QTRY_COMPARE(barra->width(), 526);
        w->resize(700, 500);
        QTRY_COMPARE(barra->width(), 700);
        QVERIFY(barra->height() <= 30);
        QCOMPARE(w->bIniciarGate->geometry(), QRect(145, 30, 60, 30));
        QCOMPARE(w->mlHostsAllow->geometry(), QRect(115, 350, 405, 125));
        w->resize(300, 200); // smaller than the form: clipped, not refused
        QTRY_COMPARE(w->size(), QSize(300, 200));
        QTRY_COMPARE(barra->width(), 300);
    }

    void sondaXinetd_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("disable = yes") << QByteArray("service telnet\n{\n\tdisable\t= yes\n}\n") << Off;
        QTest::newRow("disable = no") << QByteArray("service telnet\n{\n\tdisable\t= no\n}\n") << On;
        QTest::newRow("sin disable") << QByteArray("service telnet\n{\n\tsocket_type = stream\n}\n") << On;
        QTest::newRow("comentario antes")
            << QByteArray("# disable this? yes, by hand\nservice telnet\n{\n\tdisable\t= no\n}\n") << Off;
        QTest::newRow("YES") << QByteArray("\tdisable\t= YES\n") << On;
        QTest::newRow("dos yes") << QByteArray("\tdisable\t= yes # yes, off\n") << On;
        QTest::newRow("dos disable") << QByteArray("\tdisable\t= yes # disable\n") << On;
        QTest::newRow("vacio") << QByteArray() << On;
        QTest::newRow("CR-LF") << QByteArray("{\r\n\tdisable\t= yes\r\n}\r\n") << Off;
        QTest::newRow("no existe") << QByteArray("-") << Err;
    }
    void sondaXinetd()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(QString, esperado);
        RaizTemporal raiz;
        raiz.escribir("/usr/local/share/talvora/conf", componer(ajustesBajo(raiz)));
        raiz.crearDirectorio("/etc/xinetd.d");
        auto w = std::make_unique<form1>();
        const char *const archivos[] = {"telnet", "wu-ftpd", "ipop3", "swat"};
        for (const char *a : archivos)
            if (contenido != "-")
                raiz.escribir(QStringLiteral("/etc/xinetd.d/") + a, contenido);
        QLabel *const ets[] = {w->tTelnet, w->tFtp, w->tPop3, w->tSwat};
        const char *const sondas[] = {"LeerEstadoTelnet", "LeerEstadoFtp", "LeerEstadoPop3", "LeerEstadoSwat"};
        for (int i = 0; i < 4; ++i) {
            for (QLabel *e : ets)
                e->clear();
            QVERIFY(QMetaObject::invokeMethod(w.get(), sondas[i]));
            QCOMPARE(ets[i]->text(), esperado);
            ets[i]->clear();
            QTimer::singleShot(0, w.get(), (QByteArray("1") + sondas[i] + "()").constData());
            QTRY_COMPARE(ets[i]->text(), esperado);
            for (QLabel *e : ets) // only its own label
                QVERIFY(e == ets[i] || e->text().isEmpty());
        }
        // A trailing slash on the directory still reaches the same files.
        ponerAjuste("cDirectorioXinetd", raiz.ruta("/etc/xinetd.d/"));
        w->tSwat->clear();
        QTimer::singleShot(0, w.get(), SLOT(LeerEstadoSwat()));
        QTRY_COMPARE(w->tSwat->text(), esperado);
    }

    void sondaExistencia()
    {
        RaizTemporal raiz;
        raiz.escribir("/usr/local/share/talvora/conf", componer(ajustesBajo(raiz)));
        raiz.escribir("/var/run/vacio.pid", "");
        raiz.crearDirectorio("/var/lock/subsys/dir");
        auto w = std::make_unique<form1>();
        const QList<QPair<const char *, QLabel *>> sondas = {
            {"Gate", w->tGate},         {"Squid", w->tSquid}, {"Httpd", w->tHttpd},   {"Samba", w->tSamba},
            {"Sendmail", w->tSendmail}, {"Dns", w->tDns},     {"Xinetd", w->tXinetd}};
        const QList<QPair<QString, QString>> casos = {{raiz.ruta("/var/run/vacio.pid"), On},
                                                      {raiz.ruta("/var/lock/subsys/dir"), On},
                                                      {raiz.ruta("/var/run/no-existe.pid"), Off},
                                                      {QString(), Off}};
        for (const auto &[servicio, etiqueta] : sondas) {
            for (const auto &[ruta, esperado] : casos) {
                ponerAjuste(QStringLiteral("cEstado") + servicio, ruta);
                etiqueta->clear();
                QVERIFY(QMetaObject::invokeMethod(w.get(), qPrintable(QStringLiteral("LeerEstado") + servicio)));
                QCOMPARE(etiqueta->text(), esperado);
                etiqueta->clear();
                QTimer::singleShot(0, w.get(), qPrintable(QStringLiteral("1LeerEstado%1()").arg(servicio)));
                QTRY_COMPARE(etiqueta->text(), esperado);
            }
        }
    }

    void arranque()
    {
        RaizTemporal raiz;
        raiz.escribir("/usr/local/share/talvora/conf", componer(ajustesBajo(raiz)));
        for (const char *c : {"cEstadoGate", "cEstadoHttpd", "cEstadoDns"})
            raiz.escribir(QStringLiteral("/var/run/") + c, "1\n");
        raiz.escribir("/etc/xinetd.d/telnet", "\tdisable\t= yes\n");
        raiz.escribir("/etc/xinetd.d/wu-ftpd", "\tdisable\t= no\n");
        raiz.escribir("/etc/xinetd.d/swat", "\tdisable\t= yes\n");
        raiz.escribir("/etc/hosts.allow", "# local\nALL: 127.0.0.1\n");
        OrdenDeSondas orden;
        qApp->installEventFilter(&orden);
        auto w = std::make_unique<form1>();
        qApp->removeEventFilter(&orden);

        const QString esperados[] = {On, Off, On, Off, Off, On, Off, Off, On, Err, Off};
        for (int i = 0; i < 11; ++i)
            QCOMPARE(w->findChild<QLabel *>(etiquetas[i])->text(), esperados[i]);
        QCOMPARE(w->mlHostsAllow->toPlainText(), QStringLiteral("# local\nALL: 127.0.0.1"));
        QCOMPARE(orden.orden, (QStringList{"tGate", "tSquid", "tHttpd", "tXinetd", "tTelnet", "tFtp", "hosts.allow",
                                           "tPop3", "tSwat", "tSendmail", "tSamba", "tDns"}));
    }

    void finDeLaEjecucion()
    {
        RaizTemporal raiz;
        raiz.escribir("/usr/local/share/talvora/conf", componer(ajustesBajo(raiz)));
        const QByteArray original("ALL: 127.0.0.1\n");
        const QByteArray ajeno("# de otro programa\n");
        Grabador g;
        cajas->respuestas = {"<Return>"}; // the "Listo" of the default list
        enum Caso { Tecleado, Intacto, Aplicado, PorDefecto, FalloAlLeer };
        for (Caso caso : {Tecleado, Intacto, Aplicado, PorDefecto, FalloAlLeer}) {
            if (caso == FalloAlLeer)
                QFile::remove(raiz.ruta("/etc/hosts.allow"));
            else
                raiz.escribir("/etc/hosts.allow", original);
            auto w = std::make_unique<form1>();
            if (caso == Tecleado || caso == Aplicado) {
                w->mlHostsAllow->moveCursor(QTextCursor::End);
                QTest::keyClick(w->mlHostsAllow, Qt::Key_Return);
                QTest::keyClicks(w->mlHostsAllow, "sshd: ALL");
            }
            if (caso == Aplicado)
                w->bAplicarHostsAllow->click();
            if (caso == PorDefecto)
                QVERIFY(QMetaObject::invokeMethod(w.get(), "EscribirHostsAllow"));
            if (caso != Tecleado && caso != FalloAlLeer)
                raiz.escribir("/etc/hosts.allow", ajeno); // another program, behind the window's back
            w.reset();
            switch (caso) {
            case Tecleado:
                QCOMPARE(raiz.leer("/etc/hosts.allow"), QByteArray("ALL: 127.0.0.1\nsshd: ALL\n\n"));
                break;
            case FalloAlLeer:
                QVERIFY(!raiz.existe("/etc/hosts.allow"));
                break;
            default:
                QCOMPARE(raiz.leer("/etc/hosts.allow"), ajeno);
            }
        }
        QCOMPARE(cajas->vistas.size(), 1);
        QCOMPARE(cajas->vistas[0].titulo, QStringLiteral("Listo"));
    }

    void cerrarTerminaLaEjecucion()
    {
        RaizTemporal raiz;
        raiz.escribir("/usr/local/share/talvora/conf", componer(ajustesBajo(raiz)));
        form1 w;
        QSignalSpy terminado(&w, &QDialog::finished);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.close();
        QCOMPARE(terminado.count(), 1);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_Escape);
        QCOMPARE(terminado.count(), 2);
        QVERIFY(!w.isVisible());
    }

private:
    std::unique_ptr<Cajas> cajas;

    // Triggers a menu entry and names the slot that ran: a button slot
    // records itself; form1's own slots are told by what they do.
    QString dispararYVer(Registro &w, Grabador &g, QAction *a)
    {
        w.corridos.clear();
        g.comandos.clear();
        const qsizetype vistas = cajas->vistas.size();
        cajas->respuestas = {"<Return>"};
        const auto antes = QApplication::topLevelWidgets();
        a->trigger();
        QStringList r = w.corridos;
        for (const Cajas::Vista &v : cajas->vistas.mid(vistas)) {
            if (v.texto == "Se modifico /etc/hosts.deny" && g.comandos.filter("hosts.deny.viejo").size() == 1)
                r << "EscribirHostsDeny";
            else if (v.texto == "Se modifico /etc/hosts.allow")
                r << "EscribirHostsAllow";
            else if (v.titulo == "Acerca de...")
                r << "VerAcercade";
        }
        if (!g.comandos.filter("korv-gate.viejo").isEmpty())
            r << "EscribirKorvgate";
        if (!g.comandos.filter("ftpaccess.viejo").isEmpty())
            r << "EscribirFtp";
        if (g.comandos == QStringList{Ajustes::valor("cAbrirManual") + " &"})
            r << "VerManual";
        for (QWidget *t : QApplication::topLevelWidgets()) {
            if (!antes.contains(t) && t->isVisible() && QByteArray(t->metaObject()->className()) == "confimpl") {
                r << "Configuracion";
                delete t;
            }
        }
        cajas->respuestas.clear();
        return r.join(',');
    }
};

QTEST_MAIN(TstForm1)
#include "tst_form1.moc"

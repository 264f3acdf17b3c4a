// The main window: start-up, probes, what its buttons and menus run, the
// hosts files and the end of the run.
#include "configdialog/confimpl.h"
#include "firewalldialog/firewallimpl.h"
#include "mainwindow/accesos.h"
#include "mainwindow/marcas.h"
#include "mainwindow/plan.h"
#include "support.h"
#include "talvora_version.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using C = Ajustes::Clave;

namespace {

const QString Conf = TALVORA_DATADIR "/conf", Deny = "/etc/hosts.deny", Allow = "/etc/hosts.allow";
const QString Pregunta
    = "Bienvenido a Talvora by Korvane 1.0|Por primera vez se ejecuta el programa\n\n"
      "Desea escribir el archivo /etc/hosts.deny ?\n(Se agrega la linea ALL:ALL) por defecto.\n"
      "Esto permitira optimizar el uso de xinetd \ny loguear los accesos no autorizados al "
      "sistema.\n"
      "--- Se creara una copia de seguridad de su archivo original\nen /etc/hosts.deny.viejo ---\n"
      "|No Escribir(Cancelar)|Escribir (Recomendado)";
const QString NoSePudo = "Error|No se pudo escribir el Archivo|OK";

// The services' names as their widgets carry them, in row order.
QStringList ids()
{
    QStringList n;
    for (const Servicio s : Servicios)
        n << datos(s).id;
    return n;
}

QStringList etiquetas(QWidget *w)
{
    QStringList t;
    for (const QString &s : ids())
        t << palabra(w->findChild<QLabel *>("t" + s));
    return t;
}

// A label makes its text control when it first gets a markup: its
// ChildAdded tells when it was probed, "+" once the editor holds hosts.allow.
struct OrdenDeSondas : QObject {
    QStringList orden;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        auto *l = qobject_cast<QLabel *>(o);
        if (l && e->type() == QEvent::ChildAdded && l->objectName().startsWith('t')) {
            auto *editor = l->window()->findChild<QPlainTextEdit *>();
            orden << l->objectName() + (editor->toPlainText().isEmpty() ? "" : "+");
        }
        return false;
    }
};

} // namespace

class TstForm1 : public QObject
{
    Q_OBJECT

private slots:
    // The configuration file missing (the first-run question and its
    // answers), unreadable, or impossible to write.
    void inicio_data()
    {
        QTest::addColumn<QString>("conf");
        QTest::addColumn<QString>("respuesta");
        QTest::addColumn<QStringList>("cajas");
        for (const char *r : {"No Escribir(Cancelar)", "<Escape>", "<Return>", "<Cerrar>"})
            QTest::newRow(r) << "falta" << r << QStringList{Pregunta};
        QTest::newRow("Escribir") << "falta"
                                  << "Escribir (Recomendado)"
                                  << QStringList{Pregunta, "Listo|Se modifico /etc/hosts.deny|OK"};
        QTest::newRow("ilegible") << "directorio"
                                  << ""
                                  << QStringList{
                                         "Error|No se puede Leer el Archivo de Configuracion|OK"};
        QTest::newRow("sin directorio")
            << "sin directorio"
            << "No Escribir(Cancelar)" << QStringList{Pregunta, NoSePudo};
    }
    void inicio()
    {
        QFETCH(QString, conf);
        QFETCH(QString, respuesta);
        QFETCH(QStringList, cajas);
        const bool escribe = respuesta.startsWith("Escribir"),
                   construida = conf != "sin directorio";
        Raiz raiz;
        raiz.escribir(Deny, "viejo\n");
        raiz.escribir(Allow, "ALL: 127.0.0.1\n");
        if (construida) // root reads any file whatever its mode, but not a directory
            QDir().mkpath(raiz.ruta(conf == "falta" ? TALVORA_DATADIR : Conf));
        Grabador g;
        QByteArray denyAlCopiar = "-";
        g.accion = [&](const QString &) {
            denyAlCopiar = raiz.leer(Deny);
            return 0;
        };
        OrdenDeSondas orden;
        std::unique_ptr<form1> w;
        Ajustes ajustes;
        qApp->installEventFilter(&orden);
        const QStringList vistas = contestar(
            {respuesta}, [&] { w = std::make_unique<form1>(raiz.sistema(g.ejecutor), ajustes); },
            cajas.size());
        QCOMPARE(vistas, cajas);
        qApp->removeEventFilter(&orden);
        // Every row probed once, in the old fixed order, or none.
        QCOMPARE(orden.orden.join(' '), construida ? "tGate tSquid tHttpd tXinetd tTelnet tFtp "
                                                     "tPop3+ tSwat+ tSendmail+ tSamba+ tDns+"
                                                   : "");
        QCOMPARE(ajustes.valores(), Ajustes::valoresPorDefecto());
        QCOMPARE(raiz.leer(Conf), conf == "falta" ? lineas(Ajustes::valoresPorDefecto()) : "");
        QCOMPARE(denyAlCopiar, escribe ? "viejo\n" : "-"); // backed up before the rewrite
        QCOMPARE(raiz.leer(Deny).startsWith("# Modificado por Talvora"), escribe);
        QCOMPARE(w->findChild<QMenuBar *>() != nullptr, construida);
        w.reset(); // an editor nobody typed in is not saved
        QCOMPARE(raiz.leer(Allow), "ALL: 127.0.0.1\n");
    }

    // The first run writes the profile that fits the machine: its family's
    // under systemd (os-release's ID, then ID_LIKE), Clásico without it; the
    // start-up asks systemd once for every row.
    void perfilPrimeraVez_data()
    {
        QTest::addColumn<QString>("muestra");
        QTest::addColumn<QString>("donde");
        QTest::addColumn<bool>("systemd");
        QTest::addColumn<Ajustes::Perfil>("perfil");
        const QString etc = "/etc/os-release", usr = "/usr/lib/os-release";
        using P = Ajustes::Perfil;
        QTest::newRow("Debian 12") << "debian-12" << etc << true << P::Debian;
        QTest::newRow("Debian 13") << "debian-13" << usr << true << P::Debian;
        QTest::newRow("AlmaLinux 9") << "almalinux-9" << etc << true << P::RedHat;
        QTest::newRow("Fedora") << "fedora-41" << etc << true << P::RedHat;
        QTest::newRow("init scripts") << "debian-12" << etc << false << P::Clasico;
    }
    void perfilPrimeraVez()
    {
        QFETCH(QString, muestra);
        QFETCH(QString, donde);
        QFETCH(bool, systemd);
        QFETCH(Ajustes::Perfil, perfil);
        Raiz raiz;
        raiz.escribir(donde, ::muestra("os-release/" + muestra));
        QVERIFY(QDir().mkpath(raiz.ruta(systemd ? "/run/systemd/system" : "/etc/rc.d/init.d")));
        QVERIFY(QDir().mkpath(raiz.ruta(TALVORA_DATADIR)));
        Grabador g;
        std::unique_ptr<form1> w;
        Ajustes ajustes;
        contestar({"No Escribir(Cancelar)"},
                  [&] { w = std::make_unique<form1>(raiz.sistema(g.ejecutor), ajustes); });
        QCOMPARE(raiz.leer(Conf), lineas(Ajustes::valoresDe(perfil)));
        QCOMPARE(ajustes.valores(), Ajustes::valoresDe(perfil));
        // The rows follow seven units; no systemd answers in this root.
        int unidades = 0;
        for (const Servicio s : Servicios)
            unidades += w->tablero().monitor().fuente(s).unidad.has_value();
        const bool clasico = perfil == Ajustes::Perfil::Clasico;
        QCOMPARE(unidades, clasico ? 0 : 7);
        QTRY_COMPARE(palabra(w->tSquid), clasico ? "OFF" : "Error");
        QVERIFY(g.vectores().isEmpty());
    }

    // A row's commands run without holding the window up: the row shows
    // "---" and its start, stop and restart wait, by button and by menu
    // entry; a failure is told in a box that holds nothing up either, with
    // the last lines the command wrote to standard error, and the row is
    // looked at again all the same. (Other rows acting meanwhile: tst_nucleo.)
    void sinBloquear()
    {
        Ventana v;
        v.grabador.deVerdad = true;
        const QByteArray fifo = QFile::encodeName(v.raiz.ruta("/fifo"));
        QCOMPARE(::mkfifo(fifo, 0600), 0);
        v.cambiarAjuste(C::cDetenerSquid,
                        "read x <" + fifo + "; echo uno >&2; echo dos >&2; exit 1");
        QAction *iniciarSquid = nullptr;
        for (QMenu *m : v.w->findChildren<QMenu *>())
            iniciarSquid = m->title() == "Squid" ? m->actions().value(0) : iniciarSquid;
        v.w->bDetenerSquid->click();
        QCOMPARE(palabra(v.w->tSquid), "---");
        QVERIFY(!v.w->bIniciarSquid->isEnabled() && !v.w->bReiniciarSquid->isEnabled());
        QVERIFY(!iniciarSquid->isEnabled() && v.w->bEditarSquid->isEnabled());
        v.raiz.escribir("/fifo", "\n");
        QTRY_VERIFY(caja());
        QCOMPARE(caja()->text(), "El comando termino con error (codigo 1):\n\n"
                                     + QString::fromUtf8(v.ajustes.valor(C::cDetenerSquid))
                                     + "\n\nuno\ndos");
        caja()->close();
        QVERIFY(v.w->bIniciarSquid->isEnabled() && iniciarSquid->isEnabled());
        QCOMPARE(palabra(v.w->tSquid), "OFF");
        // An editor that cannot start is told in the same box.
        v.grabador.deVerdad = false;
        v.grabador.accion = [](const QString &c) { return c == "cEditarSquid &" ? 127 : 0; };
        v.cambiarAjuste(C::cEditarSquid, "cEditarSquid");
        v.w->bEditarSquid->click();
        QTRY_VERIFY(caja());
        QVERIFY2(caja()->text().contains("cEditarSquid &"), qPrintable(caja()->text()));
        caja()->close();
        // A refused action: SWAT needs xinetd.
        QCOMPARE(contestar({}, [&] { v.w->bEditarSamba->click(); }),
                 QStringList{"Error|Debe estar iniciado el servicio XINETD|OK"});
    }

    // What a screen reader is told: the start-up summed up, then the
    // administrator's action even when the state stays. F10 opens the menus.
    // (A service that goes up or down by itself: the AT-SPI test.)
    void oido()
    {
        Ventana v;
        QTRY_VERIFY(v.w->ultimoAnuncio().contains(" servicios: "));
        v.w->bReiniciarSquid->click();
        QTRY_COMPARE(v.w->ultimoAnuncio(), "Squid: OFF");
        v.w->show();
        QVERIFY(QTest::qWaitForWindowActive(v.w.get()));
        QTest::keyClick(v.w.get(), Qt::Key_F10);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(qobject_cast<QMenu *>(QApplication::activePopupWidget())->title(), "&Archivo");
        QApplication::activePopupWidget()->close();
    }

    // As root, nothing from the settings or the default files runs or is
    // copied while someone but root could change one of them or a directory
    // above: an "Error" naming the path at start-up and at each refused
    // action, the rows probed all the same; once fixed, the next click runs.
    void confianza_data()
    {
        QTest::addColumn<QString>("ruta");
        QTest::addColumn<int>("modo");
        QTest::addColumn<int>("dueno");
        QTest::addColumn<int>("grupo");
        QTest::addColumn<QString>("aviso"); // from the path on; empty when trusted
        const QString korv = TALVORA_DATADIR "/pordefecto/korv-gate";
        const QString nadie = getpwuid(65534)->pw_name, ninguno = getgrgid(65534)->gr_name;
        const QString comoRoot = "\n\nPara corregirlo, como root:\n";
        const auto delGrupoAjeno = [&](const QString &archivo, const QString &modo) {
            return "el archivo " + archivo + "\nmodo " + modo + ", propietario root, grupo "
                   + ninguno + "\n\nLos miembros del grupo " + ninguno + " pueden escribir en el."
                   + comoRoot + "chmod go-w " + archivo;
        };
        QTest::newRow("0666") << Conf << 0666 << 0 << 0
                              << "el archivo " + Conf
                                     + "\nmodo 0666, propietario root, grupo root\n\nCualquier "
                                       "usuario puede escribir en el."
                                     + comoRoot + "chmod go-w " + Conf;
        QTest::newRow("0664 grupo ajeno")
            << Conf << 0664 << 0 << 65534 << delGrupoAjeno(Conf, "0664");
        QTest::newRow("0644 de otro")
            << Conf << 0644 << 65534 << 0
            << "el archivo " + Conf + "\nmodo 0644, propietario " + nadie
                   + ", grupo root\n\nPertenece al usuario " + nadie + ", que puede cambiarlo."
                   + comoRoot + "chown root: " + Conf;
        QTest::newRow("directorio 0777 arriba")
            << "/usr/local" << 0777 << 0 << 0
            << "el directorio /usr/local\nmodo 0777, propietario root, grupo root\n\nCualquier "
               "usuario puede escribir en el."
                   + comoRoot + "chmod go-w /usr/local";
        QTest::newRow("guion por defecto")
            << korv << 0775 << 0 << 65534 << delGrupoAjeno(korv, "0775");
        QTest::newRow("staff")
            << "/usr/local" << 02775 << 0 << 50
            << "el directorio /usr/local\nmodo 2775, propietario root, grupo "
                   + QString(getgrgid(50) ? getgrgid(50)->gr_name : "50")
                   + "\n\nLos miembros del grupo staff pueden escribir en el. "
                     "Este sistema deja /usr/local en manos del grupo staff "
                     "porque existe /etc/staff-group-for-usr-local: sus miembros "
                     "podrian hacer que Talvora ejecute lo que quieran como root."
                   + comoRoot
                   + "rm /etc/staff-group-for-usr-local\nchmod go-w /usr/local\n"
                     "(y lo mismo en cada directorio de /usr/local que lo "
                     "necesite)";
        QTest::newRow("0664 grupo root") << Conf << 0664 << 0 << 0 << "";
        QTest::newRow("pegajoso de root") << "/usr/local" << 01777 << 0 << 0 << "";
    }
    void confianza()
    {
        QFETCH(QString, ruta);
        QFETCH(int, modo);
        QFETCH(int, dueno);
        QFETCH(int, grupo);
        QFETCH(QString, aviso);
        if (geteuid() != 0)
            QSKIP("the check runs only as root");
        if (QTest::currentDataTag() == QByteArray("staff") && !getgrgid(50))
            QSKIP("no group 50 (staff) here");
        const QString caja
            = aviso.isEmpty() ? ""
                              : "Error|Talvora no ejecuta ni copia nada de su configuracion ni de "
                                "sus archivos por defecto mientras otro usuario que no sea root "
                                "pueda cambiarlos:\n\n"
                                    + aviso + "|OK";
        const QStringList cajas = aviso.isEmpty() ? QStringList() : QStringList{caja};
        std::unique_ptr<Ventana> v;
        QStringList vistas = contestar({}, [&] {
            v = std::make_unique<Ventana>([&](Ventana &x) {
                x.raiz.escribir(TALVORA_DATADIR "/pordefecto/korv-gate", "#!/bin/sh\n");
                x.raiz.escribir(TALVORA_DATADIR "/pordefecto/ftpaccess", "class all real *\n");
                if (QTest::currentDataTag() == QByteArray("staff"))
                    x.raiz.escribir("/etc/staff-group-for-usr-local", "");
                const QByteArray r = QFile::encodeName(x.raiz.ruta(ruta));
                QVERIFY(chown(r, dueno, grupo) == 0 && chmod(r, mode_t(modo)) == 0);
            });
        });
        QCOMPARE(vistas, cajas);
        QVERIFY(!etiquetas(v->w.get()).contains(""));
        const auto acciones = [&] {
            for (QPushButton *b : {v->w->bIniciarSquid, v->w->bDetenerTelnet, v->w->bEditarGate,
                                   v->w->bLogHostsDeny})
                b->click();
            for (const char *ranura : {"EscribirKorvgate", "EscribirFtp", "VerManual"})
                QVERIFY(v->llamar(ranura));
        };
        vistas = contestar({}, acciones);
        if (aviso.isEmpty()) {
            QCOMPARE(vistas, QStringList());
            QTRY_COMPARE(v->grabador.comandos().size(),
                         8); // the router script: a backup and a copy
            return;
        }
        QCOMPARE(vistas, QStringList(7, caja));
        QCOMPARE(v->grabador.comandos(), QStringList());
        QCOMPARE(v->raiz.leer("/etc/xinetd.d/telnet"), "");

        QFile::remove(v->raiz.ruta("/etc/staff-group-for-usr-local"));
        const QByteArray r = QFile::encodeName(v->raiz.ruta(ruta));
        QVERIFY(chown(r, 0, 0) == 0 && chmod(r, 0755) == 0);
        QCOMPARE(contestar({}, [&] { v->w->bIniciarSquid->click(); }), QStringList());
        QTRY_COMPARE(v->grabador.comandos(), QStringList{"/etc/rc.d/init.d/squid start"});
    }

    // Beside the hosts.allow editor, a word when nothing on the host reads
    // the file: no libwrap in a library directory or a multiarch one under
    // it, and no tcpd.
    void tcpWrappers_data()
    {
        QTest::addColumn<QString>("lector");
        QTest::addColumn<bool>("nota");
        QTest::newRow("nada") << "" << true;
        QTest::newRow("fuera de las bibliotecas") << "/usr/share/libwrap.so.0" << true;
        QTest::newRow("lib64") << "/lib64/libwrap.so.0" << false;
        QTest::newRow("multiarch") << "/usr/lib/x86_64-linux-gnu/libwrap.so.0" << false;
        QTest::newRow("tcpd") << "/usr/sbin/tcpd" << false;
    }
    void tcpWrappers()
    {
        QFETCH(QString, lector);
        QFETCH(bool, nota);
        Ventana v([&](Ventana &x) {
            if (!lector.isEmpty())
                x.raiz.escribir(lector, "");
        });
        const auto *etiqueta = v.w->findChild<QLabel *>("TextLabel2_2_2_3");
        QCOMPARE(etiqueta->text().contains("sin efecto"), nota);
        QCOMPARE(
            v.w->mlHostsAllow->toolTip().startsWith("Nada en este sistema lee /etc/hosts.allow"),
            nota);
        QVERIFY(etiqueta->heightForWidth(etiqueta->width()) <= etiqueta->height()); // not cut
    }

    // Each probe looks at its own service's file only: a status file by its
    // existence, an xinetd file by its disable line (Error when missing).
    void sondas()
    {
        Ventana v;
        const QStringList rutas
            = {"/var/run/korv-gate.pid", "/var/run/squid.pid",    "/var/run/httpd.pid",
               "/var/lock/subsys/smb",   "/var/run/sendmail.pid", "/var/run/named/named.pid",
               "/var/run/xinetd.pid",    "/etc/xinetd.d/telnet",  "/etc/xinetd.d/wu-ftpd",
               "/etc/xinetd.d/ipop3",    "/etc/xinetd.d/swat"};
        for (int i = 0; i < rutas.size(); ++i) {
            v.raiz.escribir(rutas[i], "# disable? no\n");
            QStringList esperado;
            for (int j = 0; j < rutas.size(); ++j) {
                QVERIFY(v.llamar(qPrintable("LeerEstado" + ids()[j])));
                esperado << (j == i ? "ON" : j < 7 ? "OFF" : "Error");
            }
            QCOMPARE(etiquetas(v.w.get()), esperado);
            QFile::remove(v.raiz.ruta(rutas[i]));
        }
    }

    // Every row's button and its menu entry reach the board with their own
    // action: what runs is what the action's plan says (tst_nucleo holds
    // every plan); the row whose commands run waits meanwhile.
    void acciones()
    {
        Ventana v([](Ventana &x) {
            x.raiz.escribir("/var/run/xinetd.pid", "1\n"); // a switch restarts xinetd
            for (const char *f : {"telnet", "wu-ftpd", "ipop3", "swat"})
                x.raiz.escribir(QString("/etc/xinetd.d/") + f, "");
        });
        QHash<QString, QAction *> entradas; // "IniciarSquid", "LogXinetd"
        for (QMenu *m : v.w->findChildren<QMenu *>()) {
            for (QAction *a : m->actions())
                entradas[a->text().replace("Logs", "Log") + m->title().remove("Korv-").remove('&')]
                    = a;
        }
        int acciones = 0;
        for (const Servicio s : Servicios) {
            for (int a = 0; a < 5; ++a) { // Iniciar, Detener, Reiniciar, Editar, Log
                const QString nombre
                    = QStringList{"Iniciar", "Detener", "Reiniciar", "Editar", "Log"}[a]
                      + datos(s).id;
                QPushButton *b = v.w->findChild<QPushButton *>("b" + nombre);
                QCOMPARE(entradas.contains(nombre), b != nullptr);
                if (!b)
                    continue;
                const Plan plan = planear(s, Accion(a), v.ajustes,
                                          [&](Servicio t) { return v.w->tablero().mostrado(t); });
                const QByteArray lineas
                    = plan.lanzar.isEmpty() ? plan.comandos.join('|') : plan.lanzar;
                for (const bool boton : {true, false}) {
                    v.grabador.limpiar();
                    boton ? b->click() : entradas[nombre]->trigger();
                    if (plan.fila)
                        QCOMPARE(v.w->tablero().ocupado(*plan.fila), !plan.comandos.isEmpty());
                    QTRY_COMPARE(v.grabador.comandos().join('|').toUtf8(), lineas);
                    for (const Servicio t : Servicios)
                        QTRY_VERIFY(!v.w->tablero().ocupado(t));
                }
                ++acciones;
            }
        }
        QCOMPARE(acciones, 42);
    }

    // The menu entries that no button shares do what they say.
    void menus()
    {
        Ventana v([](Ventana &x) { x.raiz.escribir(Deny, ""); });
        const QStringList otras = {"Se modifico /etc/hosts.deny",
                                   "Se modifico /etc/hosts.allow",
                                   "korv-gate.viejo",
                                   "ftpaccess.viejo",
                                   "Configuracion de Talvora",
                                   "quit",
                                   "htmlview file:",
                                   "Acerca de...|Talvora by Korvane\nVersion " TALVORA_VERSION};
        QStringList vistas;
        for (QMenu *m :
             {v.w->findChildren<QMenu *>().first(), v.w->findChildren<QMenu *>().last()}) {
            for (QAction *a : m->actions()) {
                if (a->text() == "S&alir") {
                    vistas << (QObject::disconnect(a, nullptr, qApp, nullptr) ? "quit" : "");
                } else if (!a->isSeparator()) {
                    v.grabador.limpiar();
                    // hosts.deny, korv-gate and ftpaccess are written off the
                    // window's thread.
                    const bool copia = a->text().contains(QRegularExpression("korv|ftp"));
                    const QStringList cajas = contestar(
                        {},
                        [&] {
                            a->trigger();
                            QTRY_VERIFY(!copia || !v.grabador.comandos().isEmpty());
                        },
                        a->text().contains("deny"));
                    vistas << (cajas + v.grabador.comandos()).join('|');
                    for (QWidget *w : QApplication::topLevelWidgets())
                        vistas.last() += w->isVisible() ? w->windowTitle() : "";
                }
            }
        }
        QCOMPARE(vistas.size(), otras.size());
        for (int i = 0; i < otras.size(); ++i)
            QVERIFY2(vistas[i].contains(otras[i]), qPrintable(vistas[i]));
        QList<QPointer<confimpl>> abiertos; // deleting one deletes its combo box's popup
        for (QWidget *w : QApplication::topLevelWidgets())
            abiertos << qobject_cast<confimpl *>(w);
        qDeleteAll(abiertos);
    }

    // The editor shows hosts.allow without its last line end and saves it
    // with one more, and another unless it then ends in an empty line. The
    // default deny list is backed up by the real cp first.
    void hosts()
    {
        Ventana v([](Ventana &x) {
            x.raiz.escribir(Deny, "ALL: .ejemplo.org\n");
            x.raiz.escribir(Allow, "# reglas\nin.ftpd: ALL\n\nALL: 10.1.1.1\n\n");
        });
        QCOMPARE(v.w->mlHostsAllow->toPlainText(), "# reglas\nin.ftpd: ALL\n\nALL: 10.1.1.1\n");
        for (const QString g : {"a|a\n\n", "a\n|a\n\n", "|\n\n", "a\n\n|a\n\n\n"}) {
            v.w->mlHostsAllow->setPlainText(g.section('|', 0, 0));
            v.w->bAplicarHostsAllow->click();
            QCOMPARE(v.raiz.leer(Allow), g.section('|', 1).toUtf8());
        }
        // Shift+Enter breaks the line on screen, and so in the file.
        v.w->mlHostsAllow->setPlainText("a: b");
        v.w->mlHostsAllow->moveCursor(QTextCursor::End);
        QTest::keyClick(v.w->mlHostsAllow, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(v.w->mlHostsAllow, "c: d");
        v.w->bAplicarHostsAllow->click();
        QCOMPARE(v.raiz.leer(Allow), "a: b\nc: d\n\n");
        QCOMPARE(v.w->ultimoAnuncio(), "/etc/hosts.allow guardado"); // heard, not only done
        // Another program changes the file: an untouched editor shows it, a
        // U+2028, U+2029 or carriage return in a comment going back as it
        // came, never as a line break that makes a rule; an edited one asks
        // before it overwrites, and "No" keeps both file and edits.
        const QByteArray comentario = "# nota\xe2\x80\xa8"
                                      "ALL: ALL\n# otra\xe2\x80\xa9"
                                      "ALL: ALL\n# cr\rALL: ALL\n";
        QVERIFY(Sistema::reemplazarArchivo(v.raiz.ruta(Allow), comentario));
        QTRY_VERIFY(v.w->mlHostsAllow->toPlainText().contains("cr"));
        QCOMPARE(v.w->mlHostsAllow->document()->blockCount(), 3);
        QTest::keyClicks(v.w->mlHostsAllow, "#");
        v.w->bAplicarHostsAllow->click();
        QCOMPARE(v.raiz.leer(Allow), "#" + comentario + "\n");
        QTest::keyClicks(v.w->mlHostsAllow, "#");
        QVERIFY(Sistema::reemplazarArchivo(v.raiz.ruta(Allow), "ALL: 10.0.0.1\n"));
        const QString pregunta = "Confirmacion|/etc/hosts.allow cambió en el disco desde que se "
                                 "abrió: ¿Sobrescribir?|No (Cancelar)|Si (Sobrescribir)";
        for (const char *respuesta : {"<Escape>", "Si (Sobrescribir)"}) {
            QCOMPARE(contestar({respuesta}, [&] { v.w->bAplicarHostsAllow->click(); }),
                     QStringList{pregunta});
            QCOMPARE(v.raiz.leer(Allow).startsWith("##"), respuesta[0] == 'S');
            QCOMPARE(v.w->mlHostsAllow->document()->isModified(), respuesta[0] == '<');
        }
        v.grabador.deVerdad = true;
        for (const QByteArray &viejo :
             {QByteArray("ALL: .ejemplo.org\n"), QByteArray(Accesos::HostsDenyPorDefecto)}) {
            const QStringList cajas = contestar(
                {}, [&] { v.llamar("EscribirHostsDeny"); }, 1);
            QCOMPARE(cajas, QStringList{"Listo|Se modifico /etc/hosts.deny|OK"});
            QCOMPARE(v.raiz.leer(Deny + ".viejo"), viejo);
            QCOMPARE(v.raiz.leer(Deny), Accesos::HostsDenyPorDefecto);
        }
        v.w->bLogHostsDeny->click(); // the editor setting as it is, no "%editor"
        QCOMPARE(v.grabador.comandos().last(),
                 "kwrite " + v.raiz.ruta("/var/log/HOSTS.DENY") + " &");
    }

    // Each install copy runs in the background after its backup returned,
    // all of it off the window's thread. Without systemd the router script
    // goes where init scripts live; under systemd, with neither init
    // directory (Red Hat 9 minimal), to /usr/local/sbin, none created, and a
    // unit that runs it is written and systemd reloads, the window answering
    // while it does.
    void copias()
    {
        for (const QString gate : {"/etc/rc.d/init.d/korv-gate", "/usr/local/sbin/korv-gate"}) {
            const QString nuevos = Rutas::PorDefecto;
            const bool systemd = gate.startsWith("/usr");
            Ventana v([&](Ventana &x) {
                if (!systemd)
                    x.raiz.escribir(gate, "vieja\n");
                x.raiz.escribir(nuevos + "korv-gate", "nueva\n");
                for (const char *d : {"/run/systemd/system", "/etc/systemd/system"})
                    QVERIFY(!systemd || QDir().mkpath(x.raiz.ruta(d)));
            });
            v.grabador.deVerdad = true; // the copies; systemctl is only recorded
            QSemaphore suelta;
            std::atomic<bool> retenida{true};
            v.grabador.accionVector = [&](const QByteArrayList &) {
                retenida = suelta.tryAcquire(1, 5000);
                return 0;
            };
            QCOMPARE(contestar({}, [&] { v.llamar("EscribirKorvgate"); }), QStringList());
            suelta.release();
            QTRY_COMPARE(v.grabador.vectores().size(), systemd ? 1 : 0);
            QVERIFY(retenida);
            const QString cp = "/bin/cp --force -p " + v.raiz.ruta("");
            QTRY_COMPARE(v.grabador.comandos().size(), 2);
            QCOMPARE(v.grabador.comandos().mid(0, 2),
                     QStringList({cp + gate + " " + v.raiz.ruta(gate) + ".viejo",
                                  cp + nuevos + "korv-gate " + v.raiz.ruta(gate) + " &"}));
            QCOMPARE(v.raiz.leer(gate + ".viejo"), systemd ? "" : "vieja\n");
            QTRY_COMPARE(v.raiz.leer(gate), "nueva\n");
            const QByteArray unidad = v.raiz.leer("/etc/systemd/system/korv-gate.service");
            QCOMPARE(unidad.contains("ExecStart=" + gate.toUtf8() + " start\n"), systemd);
            QCOMPARE(v.raiz.existe("/etc/init.d") || v.raiz.existe("/etc/rc.d/init.d"), !systemd);
            const QByteArrayList recarga{"systemctl", "daemon-reload"};
            QCOMPARE(v.grabador.vectores(), QList<QByteArrayList>(systemd ? 1 : 0, recarga));
        }
    }

    // A failed load is never saved. Closing the main window ends the run; a
    // dialog closed is deleted. (Typed but not applied, saved at the end:
    // hostsCodificacion, and with dialogs open the end-to-end walk.)
    void finDeLaEjecucion()
    {
        Ventana v;
        v.w->show();
        QVERIFY(v.llamar("Configuracion"));
        QPointer<confimpl> dialogo;
        for (QWidget *w : QApplication::topLevelWidgets())
            dialogo = dialogo ? dialogo.data() : qobject_cast<confimpl *>(w);
        QVERIFY(dialogo && dialogo->isVisible() && !dialogo->isModal() && !dialogo->parent());
        dialogo->close();
        QTRY_VERIFY(dialogo.isNull());
        v.raiz.escribir(Rutas::Instantanea, "*filter\nCOMMIT\n"); // as iptables-save left it
        QCOMPARE(contestar({}, [&] { v.w->PushButton45->click(); }), QStringList()); // "Firewall"
        const QWidgetList ventanas = QApplication::topLevelWidgets();
        QVERIFY(std::any_of(ventanas.cbegin(), ventanas.cend(), [](QWidget *w) {
            return qobject_cast<firewallimpl *>(w) && w->isVisible();
        }));
        QSignalSpy fin(v.w.get(), &QDialog::finished);
        v.w->close();
        QCOMPARE(fin.size(), 1);
        Ventana sinArchivo;
        QCOMPARE(sinArchivo.w->mlHostsAllow->toPlainText(), Marcas::clasica(Estado::Error));
        sinArchivo.w.reset();
        QVERIFY(!sinArchivo.raiz.existe(Allow));
    }

    // ISO-8859-1 stays ISO-8859-1 and UTF-8 stays UTF-8, untouched bytes and
    // all; a character the file's encoding cannot hold is refused, by
    // "Aplicar" and at the end, and the file is left as it was.
    void hostsCodificacion_data()
    {
        QTest::addColumn<QByteArray>("archivo");
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<bool>("alSalir");
        QTest::addColumn<QByteArray>("queda");
        const QByteArray l1 = muestra("hosts/latin1-hosts.allow"), u8 = "# configuraci\xc3\xb3n\n";
        const QByteArray nueva = "ALL: 10.0.0.1 # a\xf1o\n\n";
        QTest::newRow("latin1") << l1 << "\nALL: 10.0.0.1 # año" << false << l1 + nueva;
        QTest::newRow("latin1 al salir") << l1 << "\nALL: 10.0.0.1 # año" << true << l1 + nueva;
        QTest::newRow("latin1 sin euro") << l1 << "\n# €" << false << l1;
        QTest::newRow("latin1 sin euro al salir") << l1 << "\n# €" << true << l1;
        QTest::newRow("utf8") << u8 << "\n# €" << false << u8 + "# \xe2\x82\xac\n\n";
    }
    void hostsCodificacion()
    {
        QFETCH(QByteArray, archivo);
        QFETCH(QString, tecleado);
        QFETCH(bool, alSalir);
        QFETCH(QByteArray, queda);
        Ventana v([&](Ventana &x) { x.raiz.escribir(Allow, archivo); });
        v.w->mlHostsAllow->moveCursor(QTextCursor::End);
        v.w->mlHostsAllow->insertPlainText(tecleado);
        const QStringList cajas = contestar({}, [&] {
            if (!alSalir)
                v.w->bAplicarHostsAllow->click();
            v.w.reset(); // a refused edit is still pending, and refused again
        });
        QCOMPARE(cajas, QStringList(queda == archivo ? 2 - alSalir : 0, NoSePudo));
        QCOMPARE(v.raiz.leer(Allow), queda);
    }
};

QTEST_MAIN(TstForm1)
#include "tst_form1.moc"

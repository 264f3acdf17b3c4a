// Text read from the system goes back to it with its bytes: ISO-8859-1 and
// UTF-8 hosts.allow, settings and firewall rules, on samples from real files.
#include "configdialog/confimpl.h"
#include "firewalldialog/firewallimpl.h"
#include "firewalldialog/reglas.h"
#include "mainwindow/estado.h"
#include "mainwindow/form1impl.h"
#include "platform/host.h"
#include <QtTest>
#include <QtWidgets>
#include <sys/stat.h>

namespace {

const QByteArray Conf = "/usr/local/share/talvora/conf", Allow = "/etc/hosts.allow";
const QByteArray Snapshot = "/usr/local/share/talvora/firewall";
const QString NoSePudo = QStringLiteral("Error|No se pudo escribir el Archivo");

QByteArray muestra(const char *nombre)
{
    QFile f(QStringLiteral(TALVORA_DATOS "/") + nombre);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<sin muestra>");
}

QByteArray leer(const QByteArray &ruta) { return Host::readFile(ruta).value_or("<ninguno>"); }

// A temporary "/" whose commands are recorded, never run.
struct Raiz {
    QTemporaryDir dir;
    QByteArrayList comandos;
    QList<QByteArrayList> vectores;
    Raiz()
    {
        Host::setRoot(dir.path());
        Host::setRunner([this](const QByteArray &c) { return (comandos << c).isEmpty(); });
        Host::setArgvRunner([this](const QByteArrayList &v) { return (vectores << v).isEmpty(); });
        QDir(dir.path()).mkpath("usr/local/share/talvora");
        QDir(dir.path()).mkpath("etc");
    }
    ~Raiz()
    {
        Host::setRoot({});
        Host::setRunner({});
        Host::setArgvRunner({});
        QProcess::execute("rm", {"-rf", dir.path()}); // names QDir cannot decode
    }
    QByteArray ruta(const QByteArray &p) const { return QFile::encodeName(dir.path()) + p; }
};

// Runs 'accion', pressing 'boton' (or the first button) in each message box.
QStringList contestar(const QString &boton, const std::function<void()> &accion)
{
    QStringList vistas;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] {
        auto *caja = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        for (QAbstractButton *b : caja ? caja->buttons() : QList<QAbstractButton *>()) {
            if (boton.isEmpty() || b->text() == boton) {
                vistas << caja->windowTitle() + '|' + caja->text();
                b->click();
                break;
            }
        }
    });
    t.start(20);
    accion();
    return vistas;
}

} // namespace

class TstBytes : public QObject
{
    Q_OBJECT
private slots:

    void hostsAllow_data()
    {
        QTest::addColumn<QByteArray>("archivo");
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<bool>("alSalir");
        QTest::addColumn<QByteArray>("queda"); // an unchanged file: refused with the message
        const QByteArray l1 = muestra("hosts.allow-latin1"), u8 = "# configuraci\xc3\xb3n\n";
        const QByteArray nueva = "ALL: 10.0.0.1 # a\xf1o\n\n";
        QTest::newRow("latin1 aplicar") << l1 << "\nALL: 10.0.0.1 # año" << false << l1 + nueva;
        QTest::newRow("latin1 al salir") << l1 << "\nALL: 10.0.0.1 # año" << true << l1 + nueva;
        QTest::newRow("latin1 sin euro") << l1 << "\nALL: 10.0.0.2 # €" << false << l1;
        QTest::newRow("latin1 sin euro al salir") << l1 << "\n# €" << true << l1;
        QTest::newRow("utf8 con euro") << u8 << "\n# €" << false << u8 + "# \xe2\x82\xac\n\n";
    }

    void hostsAllow()
    {
        QFETCH(QByteArray, archivo);
        QFETCH(QString, tecleado);
        QFETCH(bool, alSalir);
        QFETCH(QByteArray, queda);
        Raiz r;
        QVERIFY(Host::replaceFile(r.ruta(Conf), Ajustes::componer(Ajustes::valoresPorDefecto())));
        QVERIFY(Host::replaceFile(r.ruta(Allow), archivo));
        auto w = std::make_unique<form1>();
        w->mlHostsAllow->moveCursor(QTextCursor::End);
        w->mlHostsAllow->insertPlainText(tecleado);
        const QStringList cajas = contestar({}, [&] {
            if (!alSalir)
                w->bAplicarHostsAllow->click();
            w.reset(); // a refused edit is still pending, and refused again
        });
        QCOMPARE(cajas, QStringList(queda == archivo ? 2 - alSalir : 0, NoSePudo));
        QCOMPARE(leer(r.ruta(Allow)), queda);
    }

    // Fields left alone keep their ISO-8859-1 bytes, an edited one takes the
    // file's encoding; the commands and paths run from them name the same bytes.
    void ajustes()
    {
        Raiz r;
        const QByteArray conf = muestra("conf-latin1").replace("@RAIZ@", r.ruta(""));
        const QByteArray xinetd = r.ruta("/etc/xinetd.d-se\xf1or/telnet");
        QVERIFY(QDir(r.dir.path()).mkpath("var/run") && ::mkdir(xinetd.chopped(7), 0755) == 0);
        QVERIFY(Host::replaceFile(xinetd, "service telnet\n{\n\tdisable\t= yes\n}\n"));
        QVERIFY(Host::replaceFile(r.ruta("/var/run/squid-se\xf1or.pid"), "1\n")
                && Host::replaceFile(r.ruta(Conf), conf));
        QCOMPARE(Ajustes::cargar(), Ajustes::Carga::Cargado);
        const QByteArray editado = QByteArray(conf).replace("kwrite\n", "gedit \xf1\n");
        const QList<std::tuple<const char *, QString, QByteArray>> casos
            = {{"cLogSquid", "vi €", conf},
               {"cEditarSquid", "%editor /etc/squid/squid.conf # configuración", conf},
               {"cEditor", "gedit ñ", editado}};
        for (const auto &[campo, texto, queda] : casos) {
            confimpl d;
            d.findChild<QLineEdit *>(campo)->setText(texto);
            const QStringList cajas = contestar({}, [&] { d.bAplicar->click(); });
            QCOMPARE(cajas, QStringList(texto.contains("€"), NoSePudo));
            QCOMPARE(leer(r.ruta(Conf)), queda);
            QCOMPARE(Ajustes::componer(Ajustes::valores()), queda);
        }
        form1 w;
        QCOMPARE(w.tSquid->text() + w.tTelnet->text(), MarcaOn + MarcaOff);
        w.bIniciarSquid->click();
        w.bEditarSquid->click();
        w.bIniciarTelnet->click();
        QCOMPARE(r.comandos,
                 (QByteArrayList{"/opt/se\xf1or/squid start",
                                 "gedit \xf1 /etc/squid/squid.conf # configuraci\xf3n &"}));
        QCOMPARE(leer(xinetd), "service telnet\n{\n\tdisable\t= no\n}\n");
    }

    // A snapshot taken with iptables-save: one comment in ISO-8859-1, one in
    // UTF-8. Each entry is shown decoded on its own and deleted with its bytes.
    void firewall()
    {
        Raiz r;
        Host::setRunner([&](const QByteArray &c) {
            return c != "iptables-save >" + r.ruta(Snapshot)
                   || !Host::replaceFile(r.ruta(Snapshot), muestra("iptables-latin1"));
        });
        firewallimpl d;
        QCOMPARE(d.lreglas->count(), 2);
        QCOMPARE(d.lreglas->item(0)->text(),
                 "INPUT -s 192.0.2.5/32 -m comment --comment \"señor\" -j DROP");
        QCOMPARE(d.lreglas->item(1)->text(),
                 "INPUT -s 192.0.2.6/32 -m comment --comment \"a\\\"ño\" -j ACCEPT");
        for (int fila : {1, 0}) {
            d.lreglas->setCurrentRow(fila);
            QCOMPARE(contestar("Si (Aceptar)", [&] { d.PushButton1->click(); }).size(), 1);
        }
        const QByteArray ante = "iptables|-D|INPUT|-s|192.0.2.", tras = "/32|-m|comment|--comment|";
        QCOMPARE(r.vectores,
                 (QList<QByteArrayList>{(ante + '6' + tras + "a\"\xc3\xb1o|-j|ACCEPT").split('|'),
                                        (ante + '5' + tras + "se\xf1or|-j|DROP").split('|')}));
    }

    // The same rules in the real iptables, only inside a copy of this program
    // that "unshare --net" started.
    void iptablesReal()
    {
        if (!qEnvironmentVariableIsSet("TALVORA_NETNS_PROPIO")) {
            if (QStandardPaths::findExecutable("iptables-save", {"/usr/sbin", "/sbin"}).isEmpty())
                QSKIP("iptables-save is not installed; real iptables not run");
            QProcess hijo;
            hijo.setProcessChannelMode(QProcess::MergedChannels);
            hijo.start("env", {"TALVORA_NETNS_PROPIO=1",
                               "PATH=/usr/sbin:/sbin:" + qEnvironmentVariable("PATH"), "unshare",
                               "--net", QCoreApplication::applicationFilePath(), "iptablesReal"});
            QVERIFY(hijo.waitForFinished(100000));
            const QString salida = QString::fromLocal8Bit(hijo.readAll());
            if (salida.startsWith("unshare:")
                || salida.startsWith("env:")) // not root, or not allowed
                QSKIP(qPrintable("no private network namespace: " + salida.section('\n', 0, 0)));
            QVERIFY2(hijo.exitCode() == 0 && salida.contains("PASS   : TstBytes::iptablesReal()"),
                     qPrintable(salida));
            return;
        }
        Raiz r;
        Host::setRunner({}); // real commands, in this namespace only
        Host::setArgvRunner({});
        const QByteArrayList reglas = Reglas::leerInstantanea(muestra("iptables-latin1"));
        for (const QByteArray &regla : reglas)
            QCOMPARE(Host::runArgv(QByteArrayList{"iptables", "-A"} + *Reglas::dividir(regla)), 0);
        firewallimpl d;
        QCOMPARE(Reglas::leerInstantanea(leer(r.ruta(Snapshot))), reglas);
        for (int n = d.lreglas->count(); n > 0; --n) {
            d.lreglas->setCurrentRow(0);
            contestar("Si (Aceptar)", [&] { d.PushButton1->click(); });
            QCOMPARE(d.lreglas->count(), n - 1);
        }
        QCOMPARE(Reglas::leerInstantanea(leer(r.ruta(Snapshot))), QByteArrayList());
    }
};

QTEST_MAIN(TstBytes)
#include "tst_bytes.moc"

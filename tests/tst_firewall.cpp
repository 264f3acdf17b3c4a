// The firewall dialog: what it lists from a snapshot, what its buttons ask
// and run, and the same with real iptables in a private network namespace.
#include "firewalldialog/firewallimpl.h"
#include "firewalldialog/reglas.h"
#include "support.h"

namespace {

const QString Dir = TALVORA_DATADIR, Instantanea = Dir + "/firewall", Volcar = "iptables-save >";
const QString Peligrosa = "INPUT -m comment --comment \"x $(touch /tmp/p) y\" -j ACCEPT";
const QString PideRegla = "Ingreso de Dato|Ingrese la regla\nEjemplo: INPUT -s 65.54.226.254 -j "
                          "DROP\n\niptables -A";
const QString PideIp = "Ingreso de Dato|Ingrese el IP a bloquear\nEjemplo: 65.54.226.254\n\nIP?";
const QString Confirma = "Confimacion|Desea eliminar la regla:\n\n" + Peligrosa
                         + "|No (Cancelar)|Si (Aceptar)";
const QString IpMala = "Error|Direccion IP no valida|OK";

// A filter block with the three built-in chains and these lines.
QByteArray filtro(const QStringList &reglas, const QByteArray &fin = "COMMIT\n")
{
    QByteArray b = "*filter\n:INPUT ACCEPT [0:0]\n:FORWARD ACCEPT [0:0]\n:OUTPUT ACCEPT [0:0]\n";
    for (const QString &r : reglas)
        b += r.toUtf8() + '\n';
    return b + fin;
}

QStringList entradas(const QListWidget *l)
{
    QStringList r;
    for (int i = 0; i < l->count(); ++i)
        r << l->item(i)->text();
    return r;
}

} // namespace

class TstFirewall : public QObject
{
    Q_OBJECT

private slots:
    void lista_data()
    {
        QTest::addColumn<QByteArray>("instantanea");
        QTest::addColumn<QStringList>("lista");
        QTest::newRow("vacia") << filtro({}) << QStringList();
        QTest::newRow("nat y mangle ignoradas")
            << "*nat\n-A POSTROUTING -j MASQUERADE\nCOMMIT\n" + filtro({"-A OUTPUT -j ACCEPT"})
                   + "*mangle\n-A INPUT -j MARK --set-mark 1\nCOMMIT\n"
            << QStringList{"OUTPUT -j ACCEPT"};
        QTest::newRow("cadenas de usuario")
            << filtro({":MIA - [0:0]", "-A INPUT -j MIA", "-A MIA -j RETURN"})
            << QStringList{"INPUT -j MIA", "MIA -j RETURN"};
        QTest::newRow("sin COMMIT") << filtro({"-A INPUT -j DROP"}, "") << QStringList{"INPUT -j DROP"};
        QTest::newRow("sin COMMIT antes de nat")
            << filtro({"-A INPUT -j DROP"}, "*nat\n-A POSTROUTING -j MASQUERADE\n")
            << QStringList{"INPUT -j DROP"};
    }
    void lista()
    {
        QFETCH(QByteArray, instantanea);
        QFETCH(QStringList, lista);
        QCOMPARE(Reglas::leerInstantanea(instantanea), lista);
    }

    // Each button's questions, and the argument vector iptables gets (no
    // shell); the list is rebuilt from a new snapshot after a command.
    void botones_data()
    {
        QTest::addColumn<int>("boton"); // 0: "Eliminar" with no current entry
        QTest::addColumn<QString>("respuesta");
        QTest::addColumn<QStringList>("cajas");
        QTest::addColumn<QString>("argv"); // "|" between arguments; empty: nothing runs
        const QString borra = "iptables|-D|INPUT|-m|comment|--comment|x $(touch /tmp/p) y|-j|ACCEPT";
        QTest::newRow("eliminar, Si") << 1 << "Si (Aceptar)" << QStringList{Confirma} << borra;
        QTest::newRow("eliminar, No") << 1 << "No (Cancelar)" << QStringList{Confirma} << "";
        QTest::newRow("eliminar, Escape") << 1 << "<Escape>" << QStringList{Confirma} << "";
        QTest::newRow("eliminar, Enter") << 1 << "<Return>" << QStringList{Confirma} << "";
        QTest::newRow("eliminar sin entrada") << 0 << "" << QStringList() << "";
        QTest::newRow("regla") << 2 << "=INPUT -s 65.54.226.254 -j DROP" << QStringList{PideRegla}
                               << "iptables|-AINPUT|-s|65.54.226.254|-j|DROP";
        QTest::newRow("regla sin cerrar") << 2 << "=INPUT --comment \"abc" << QStringList{PideRegla}
                                          << "";
        QTest::newRow("regla vacia") << 2 << "=" << QStringList{PideRegla} << "";
        QTest::newRow("regla cancelada") << 2 << "<Escape>" << QStringList{PideRegla} << "";
        QTest::newRow("IP") << 3 << "=65.54.226.254" << QStringList{PideIp}
                            << "iptables|-A|INPUT|-s|65.54.226.254|-j|DROP";
        QTest::newRow("IP con orden") << 3 << "=1.2.3.4; touch x" << QStringList{PideIp, IpMala} << "";
        QTest::newRow("IP 999") << 3 << "=999.1.1.1" << QStringList{PideIp, IpMala} << "";
        QTest::newRow("IP vacia") << 3 << "=" << QStringList{PideIp} << "";
    }
    void botones()
    {
        QFETCH(int, boton);
        QFETCH(QString, respuesta);
        QFETCH(QStringList, cajas);
        QFETCH(QString, argv);
        Raiz raiz;
        Grabador g;
        QByteArray instantanea = filtro({"-A INPUT -s 10.0.0.1/32 -j DROP", "-A " + Peligrosa});
        g.accion = [&](const QString &c) { // a fake iptables-save; iptables leaves one rule
            raiz.escribir(Instantanea, c == Volcar + raiz.ruta(Instantanea) ? instantanea : "");
            return 0;
        };
        g.accionVector = [&](const QStringList &) {
            instantanea = filtro({"-A INPUT -j ACCEPT"});
            return 0;
        };
        firewallimpl d;
        d.lreglas->setCurrentRow(boton == 1 ? 1 : -1);
        QPushButton *botones[] = {d.PushButton1, d.PushButton1, d.PushButton2, d.PushButton3};
        QCOMPARE(contestar({respuesta}, [&] { botones[boton]->click(); }), cajas);
        QCOMPARE(g.vectores, argv.isEmpty() ? QList<QStringList>() : QList<QStringList>{argv.split('|')});
        QCOMPARE(g.comandos.size(), argv.isEmpty() ? 1 : 2);
        QCOMPARE(entradas(d.lreglas).size(), argv.isEmpty() ? 2 : 1);
    }

    void sinInstantanea()
    {
        Raiz raiz;
        Grabador g;
        std::unique_ptr<firewallimpl> d;
        QCOMPARE(contestar({}, [&] { d = std::make_unique<firewallimpl>(); }),
                 QStringList{"Error|No se pudo leer las reglas de Firewall.\n Intente Recargar...|OK"});
        QCOMPARE(d->lreglas->count(), 0);
    }

    // iptables-save's quoting: bare words, or double quotes inside which a
    // backslash takes the next character; an address is IPv4 and nothing more.
    void dividirYDirecciones()
    {
        const QList<QPair<QString, QStringList>> lineas = {
            {"-D INPUT --comment \"it\\'s\" -j ACCEPT", {"-D", "INPUT", "--comment", "it's", "-j", "ACCEPT"}},
            {"--comment \"a\\\"b\" \"\" \"back\\\\slash\"", {"--comment", "a\"b", "", "back\\slash"}},
            {"a\\b 'c d' e\"f g\"h # ~", {"a\\b", "'c", "d'", "ef gh", "#", "~"}},
            {"--comment \"abc", {"<sin dividir>"}},
            {"--comment \"abc\\\"", {"<sin dividir>"}}};
        for (const auto &[linea, argv] : lineas)
            QCOMPARE(Reglas::dividir(linea).value_or(QStringList{"<sin dividir>"}), argv);
        for (const char *buena : {"65.54.226.254", "0.0.0.0", "255.255.255.255", "10.0.0.0/8", "1.2.3.4/32"})
            QVERIFY2(Reglas::esIPv4(buena), buena);
        for (const char *mala : {"", "256.1.1.1", "1.2.3", "1.2.3.4.5", "1.2.3.4/33", "01.2.3.4",
                                 " 1.2.3.4", "1.2.3.4 -j ACCEPT", "::1", "\xd9\xa1.2.3.4"})
            QVERIFY2(!Reglas::esIPv4(QString::fromUtf8(mala)), mala);
    }

    // Real iptables runs only in a copy of this program that "unshare --net" started.
    void iptablesReal()
    {
        const QString padre = qEnvironmentVariable("TALVORA_FW_NETNS");
        const auto red = [] { return QFile::symLinkTarget("/proc/self/ns/net"); };
        if (padre.isEmpty()) {
            if (QStandardPaths::findExecutable("iptables-save", {"/usr/sbin", "/sbin"}).isEmpty())
                QSKIP("iptables-save is not installed");
            QProcess hijo;
            hijo.setProcessChannelMode(QProcess::MergedChannels);
            hijo.start("env", {"TALVORA_FW_NETNS=" + red(), "PATH=/usr/sbin:/sbin:" + qgetenv("PATH"),
                               "unshare", "--net", QCoreApplication::applicationFilePath(), "iptablesReal"});
            QVERIFY(hijo.waitForFinished(100000));
            const QString salida = QString::fromLocal8Bit(hijo.readAll());
            if (salida.startsWith("unshare:"))
                QSKIP(qPrintable("no private network namespace here: " + salida.section('\n', 0, 0)));
            QVERIFY2(hijo.exitCode() == 0 && salida.contains("PASS   : TstFirewall::iptablesReal()"),
                     qPrintable(salida));
            return;
        }
        QVERIFY2(red() != padre, "still in the machine's network namespace");
        Raiz raiz;
        QDir().mkpath(raiz.ruta(Dir));
        const QString marca = raiz.ruta("/marca");
        firewallimpl d;
        contestar({"=192.0.2.7"}, [&] { d.PushButton3->click(); });
        QCOMPARE(entradas(d.lreglas), QStringList{"INPUT -s 192.0.2.7/32 -j DROP"});
        // Comments that a shell or a careless splitter would get wrong; all go below.
        const QStringList comentarios{"con espacios", "a\"b", "it's", "x $(touch " + marca + ") y",
                                      "`touch " + marca + "`", "a#b", "año ñandú", "back\\slash"};
        for (const QString &c : comentarios)
            QCOMPARE(Host::runArgv({"iptables", "-A", "INPUT", "-m", "comment", "--comment", c,
                                    "-j", "ACCEPT"}),
                     0);
        contestar({"=OUTPUT -m comment --comment \"a \\\"mano\\\" \\'x\\'\" -j ACCEPT"},
                  [&] { d.PushButton2->click(); });
        QCOMPARE(d.lreglas->count(), comentarios.size() + 2);
        for (int n = d.lreglas->count(); n > 0; --n) {
            d.lreglas->setCurrentRow(0);
            const QString regla = d.lreglas->currentItem()->text();
            contestar({"Si (Aceptar)"}, [&] { d.PushButton1->click(); });
            QVERIFY2(d.lreglas->count() == n - 1 && !entradas(d.lreglas).contains(regla),
                     qPrintable(regla));
        }
        QVERIFY(!QFileInfo::exists(marca));
    }
};

QTEST_MAIN(TstFirewall)
#include "tst_firewall.moc"

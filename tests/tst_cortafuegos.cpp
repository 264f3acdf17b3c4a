// The firewall dialog over nftables and firewalld: which rows it shows, what
// deleting each runs, how it blocks, what it says about a change lasting.
// With answered commands first, then with the real nft and iptables inside a
// private network namespace, then firewalld beside a real systemd
// (tests/systemd/cortafuegos.sh).
#include "firewalldialog/filas.h"
#include "firewalldialog/firewallimpl.h"
#include "support.h"

namespace {

const QString Instantanea = QString(TALVORA_DATADIR) + "/firewall";
const QByteArray Nft = "nft|-j|-a|list|ruleset";
const QString Rica = "rule family=\"ipv4\" source address=\"192.0.2.7\" drop";

// A host whose commands answer from `salidas` (argv joined by "|"), with
// iptables-save printing `instantanea`; each program run is recorded.
struct Anfitrion {
    Raiz raiz;
    QByteArray instantanea;
    QHash<QByteArray, Sistema::Resultado> salidas;
    QByteArrayList vectores;
    Anfitrion(const QByteArray &iptables, const QStringList &instalados) : instantanea(iptables)
    {
        for (const QString &p : instalados)
            raiz.escribir(p, "");
    }
    Sistema sistema()
    {
        return raiz.sistema([this](Sistema::Forma forma, const QByteArrayList &orden) {
            if (forma != Sistema::Forma::Programa) {
                raiz.escribir(Instantanea, instantanea);
                return Sistema::Resultado{};
            }
            vectores << orden.join('|');
            return salidas.value(orden.join('|'));
        });
    }
    QByteArrayList sinLecturas() const // what changed the host
    {
        QByteArrayList r;
        for (const QByteArray &v : vectores)
            if (v != Nft && !v.startsWith("firewall-cmd|--state")
                && !v.startsWith("firewall-cmd|--list"))
                r << v;
        return r;
    }
};

Sistema::Resultado salida(const QByteArray &texto, int estado = 0, const QByteArray &errores = {})
{
    return Sistema::Resultado{estado, false, texto, errores};
}

// The rows of tests/datos/nft/mezcla: iptables' own rules as it prints them,
// but for the set rule it misprints as "-A INPUT -j DROP"; then what filters
// in inet filter (not the chain nothing jumps to, not the nat table).
const QStringList Mezcla{
    "INPUT -s 10.0.0.1/32 -j DROP",
    "INPUT -m comment --comment \"c x\" -j ACCEPT",
    "ip filter INPUT: ip saddr { 192.0.2.1, 192.0.2.2 } drop",
    "INPUT -p tcp -m tcp --dport 22 -j ACCEPT",
    "OUTPUT -d 203.0.113.0/24 -j REJECT --reject-with icmp-port-unreachable",
    "inet filter input: ip saddr 192.0.2.1 drop",
    "inet filter input: iifname eth0 jump sub",
    "inet filter sub: tcp dport { 22, 80 } ct state new accept comment \"ssh y web\"",
};

// Runs the named test function again inside `unshare --net` (true when this
// is that copy): real nft and iptables touch only a private network namespace.
bool enRedPrivada(const char *funcion, bool &saltar, QString &salida)
{
    const QString padre = qEnvironmentVariable("TALVORA_FW_NETNS");
    const QString red = QFile::symLinkTarget("/proc/self/ns/net");
    if (!padre.isEmpty())
        return padre != red;
    QProcess hijo;
    hijo.setProcessChannelMode(QProcess::MergedChannels);
    hijo.start("env", {"TALVORA_FW_NETNS=" + red, "PATH=/usr/sbin:/sbin:" + qgetenv("PATH"),
                       "unshare", "--net", QCoreApplication::applicationFilePath(), funcion});
    hijo.waitForFinished(100000);
    salida = QString::fromLocal8Bit(hijo.readAll());
    saltar = salida.startsWith("unshare:");
    if (!saltar
        && (hijo.exitCode() != 0
            || !salida.contains("PASS   : TstCortafuegos::" + QString(funcion))))
        salida.prepend("FALLO\n");
    return false;
}

QByteArray ejecutar(const QByteArray &linea) // fixed test commands only
{
    const Sistema::Resultado r = Sistema().ejecutar(linea + " 2>&1");
    if (!r.bien())
        qFatal("%s failed", linea.constData());
    return r.salida;
}

QByteArray salidaDe(const QByteArrayList &argv) { return Sistema().ejecutarPrograma(argv).salida; }

} // namespace

class TstCortafuegos : public QObject
{
    Q_OBJECT

private slots:
    // Each row of a mixed ruleset, and what Eliminar runs for it.
    void mezcla_data()
    {
        QTest::addColumn<int>("fila");
        QTest::addColumn<QByteArray>("argv");
        QTest::newRow("iptables") << 0 << QByteArray("iptables|-D|INPUT|-s|10.0.0.1/32|-j|DROP");
        QTest::newRow("conjunto en ip filter")
            << 2 << QByteArray("nft|delete|rule|ip|filter|INPUT|handle|5");
        QTest::newRow("inet filter")
            << 5 << QByteArray("nft|delete|rule|inet|filter|input|handle|2");
        QTest::newRow("cadena saltada")
            << 7 << QByteArray("nft|delete|rule|inet|filter|sub|handle|6");
    }
    void mezcla()
    {
        QFETCH(int, fila);
        QFETCH(QByteArray, argv);
        Anfitrion a(muestra("nft/mezcla-iptables.txt"), {Rutas::Nft});
        a.salidas[Nft] = salida(muestra("nft/mezcla.json"));
        firewallimpl d(a.sistema());
        QCOMPARE(entradas(d.lreglas), Mezcla);
        QCOMPARE(d.TextLabel1->text(),
                 "Reglas actuales de filtrado (iptables, nftables y firewalld):");
        d.lreglas->setCurrentRow(fila);
        const QStringList cajas = contestar({"Si (Aceptar)"}, [&] { d.PushButton1->click(); });
        QCOMPARE(cajas, QStringList{"Confimacion|Desea eliminar la regla:\n\n" + Mezcla[fila]
                                    + "|No (Cancelar)|Si (Aceptar)"});
        QCOMPARE(a.sinLecturas(), QByteArrayList{argv});
        QCOMPARE(a.vectores.count(Nft), 2); // read again after the change
    }

    // iptables-save and nft disagreeing on iptables' table (it changed
    // between the two): nft's rows stand for it, never a misprint.
    void desacuerdo()
    {
        Anfitrion a(muestra("nft/mezcla-iptables.txt")
                        .replace("-A OUTPUT", "-A INPUT -s 10.9.9.9/32 -j DROP\n-A OUTPUT"),
                    {Rutas::Nft});
        a.salidas[Nft] = salida(muestra("nft/mezcla.json"));
        firewallimpl d(a.sistema());
        const QStringList filas = entradas(d.lreglas);
        QCOMPARE(filas.size(), Mezcla.size());
        QCOMPARE(filas.mid(5), Mezcla.mid(5));
        QCOMPARE(filas.filter(QRegularExpression("^ip filter (INPUT|OUTPUT): ")).size(), 5);
        QCOMPARE(filas[2], Mezcla[2]);
    }

    // A handle gone since the list was read: told, read again, nothing else run.
    void handleDesaparecido()
    {
        Anfitrion a(muestra("nft/mezcla-iptables.txt"), {Rutas::Nft});
        a.salidas[Nft] = salida(muestra("nft/mezcla.json"));
        a.salidas["nft|delete|rule|inet|filter|input|handle|2"]
            = salida("", 1, "Error: Could not process rule: No such file or directory\n");
        firewallimpl d(a.sistema());
        d.lreglas->setCurrentRow(5);
        const QStringList cajas = contestar({"Si (Aceptar)"}, [&] { d.PushButton1->click(); });
        QCOMPARE(cajas.size(), 2);
        QCOMPARE(cajas[1], "Error|La regla ya no existe: el cortafuegos cambio desde que se leyo "
                           "la lista. La lista se leyo otra vez; no se elimino nada.|OK");
        QCOMPARE(a.sinLecturas().size(), 1);
        QCOMPARE(a.vectores.count(Nft), 2);
    }

    // Where nft cannot be read, iptables' rows as today; said when rules may be missing.
    void sinNft_data()
    {
        QTest::addColumn<QByteArray>("cabecera");
        QTest::addColumn<bool>("instalado");
        QTest::addColumn<QString>("salidaNft"); // "codigo|texto"
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("caja");
        const QString todas = "Reglas actuales de filtrado (iptables, nftables y firewalld):";
        const QString solo = "Solo las reglas de iptables: no se pudo leer nftables:";
        const QString caja = "Error|No se pudo leer las reglas de nftables (%1).\n\nLa lista "
                             "muestra solo lo que imprime iptables-save.|OK";
        QTest::newRow("legado") << QByteArray("# Generated by iptables-save v1.8.9 on Mon") << true
                                << "" << todas << "";
        QTest::newRow("legado sin nft") << QByteArray("# Generated by iptables-save v1.8.9 on Mon")
                                        << false << "" << todas << "";
        QTest::newRow("falta nft")
            << QByteArray("# Generated by iptables-save v1.8.9 (nf_tables) on Mon") << false << ""
            << "Solo las reglas de iptables: nft no esta instalado y puede haber otras:"
            << "";
        QTest::newRow("nft falla")
            << QByteArray("") << true
            << "1|Error: cache initialization failed: Operation not permitted" << solo
            << caja.arg("nft termino con error (codigo 1): Error: cache initialization failed: "
                        "Operation not permitted");
        QTest::newRow("no es JSON")
            << QByteArray("") << true << "0|table inet filter {" << solo
            << caja.arg("nft imprimio algo inesperado: no es JSON (byte 0)");
        QTest::newRow("sin lista") << QByteArray("") << true << "0|{\"tablas\": []}" << solo
                                   << caja.arg("nft imprimio algo inesperado: falta la lista "
                                               "\"nftables\"");
        QTest::newRow("regla sin handle")
            << QByteArray("") << true
            << "0|{\"nftables\": [{\"rule\": {\"family\": \"inet\", \"table\": \"t\", \"chain\": "
               "\"c\", \"expr\": []}}]}"
            << solo
            << caja.arg("nft imprimio algo inesperado: una regla sin su lugar o sin su handle");
    }
    void sinNft()
    {
        QFETCH(QByteArray, cabecera);
        QFETCH(bool, instalado);
        QFETCH(QString, salidaNft);
        QFETCH(QString, titulo);
        QFETCH(QString, caja);
        QByteArray iptables = muestra("nft/mezcla-iptables.txt");
        iptables.replace(0, iptables.indexOf('\n'), cabecera);
        Anfitrion a(iptables, instalado ? QStringList{Rutas::Nft} : QStringList());
        a.salidas[Nft]
            = salida(salidaNft.section('|', 1).toUtf8(), salidaNft.section('|', 0, 0).toInt(),
                     salidaNft.section('|', 1).toUtf8());
        std::unique_ptr<firewallimpl> d;
        const QStringList cajas
            = contestar({}, [&] { d = std::make_unique<firewallimpl>(a.sistema()); });
        QCOMPARE(cajas, caja.isEmpty() ? QStringList() : QStringList{caja});
        QCOMPARE(d->TextLabel1->text(), titulo);
        QCOMPARE(a.vectores.contains(Nft), !salidaNft.isEmpty());
        QStringList hoy = Mezcla.mid(0, 5); // the misprint too: nothing better to show
        hoy[2] = "INPUT -j DROP";
        QCOMPARE(entradas(d->lreglas), hoy);
    }

    // Where firewalld runs: its tables' rows refuse Eliminar, its rich rules
    // go through firewall-cmd, a block goes to it now and permanently.
    void firewalld()
    {
        Anfitrion a("", {Rutas::Nft, Rutas::FirewallCmd});
        a.salidas[Nft] = salida(muestra("nft/firewalld.json"));
        a.salidas["firewall-cmd|--state"] = salida("running\n");
        a.salidas["firewall-cmd|--list-rich-rules"] = salida(Rica.toUtf8() + '\n');
        firewallimpl d(a.sistema());
        const QStringList filas = entradas(d.lreglas);
        const qsizetype rica = filas.indexOf("firewalld: " + Rica);
        const qsizetype propia = filas.indexOf(
            "[firewalld] inet firewalld filter_IN_public_deny: ip saddr 192.0.2.7 drop");
        QVERIFY2(rica >= 0 && propia >= 0, qPrintable(filas.join('\n')));
        QVERIFY(!d.PushButton4->isEnabled());
        QVERIFY(d.lduracion->text().startsWith("firewalld gestiona este cortafuegos"));

        d.lreglas->setCurrentRow(propia);
        QStringList cajas = contestar({}, [&] { d.PushButton1->click(); });
        QCOMPARE(cajas.size(), 1);
        QVERIFY2(cajas[0].startsWith("Error|Esta regla es de firewalld")
                     && cajas[0].contains("firewall-cmd --remove-rich-rule"),
                 qPrintable(cajas[0]));
        QVERIFY(a.sinLecturas().isEmpty());

        d.lreglas->setCurrentRow(rica);
        contestar({"Si (Aceptar)"}, [&] { d.PushButton1->click(); });
        const QByteArray quitar = "--remove-rich-rule=" + Rica.toUtf8();
        QCOMPARE(a.sinLecturas(),
                 QByteArrayList({"firewall-cmd|" + quitar, "firewall-cmd|--permanent|" + quitar}));
        a.vectores.clear();
        contestar({"=192.0.2.9"}, [&] { d.PushButton3->click(); });
        const QByteArray poner
            = "--add-rich-rule=rule family=\"ipv4\" source address=\"192.0.2.9\" drop";
        QCOMPARE(a.sinLecturas(),
                 QByteArrayList({"firewall-cmd|" + poner, "firewall-cmd|--permanent|" + poner}));
        QCOMPARE(d.lduracion->text(),
                 "Hecho con firewalld, ahora y en su configuracion permanente: "
                 "sigue tras recargarlo y tras reiniciar.");
        // Typed rules still go to iptables, said before and after.
        a.vectores.clear();
        cajas = contestar({"=INPUT -j ACCEPT"}, [&] { d.PushButton2->click(); });
        QVERIFY(cajas.value(0).contains("La regla va a iptables: firewalld no la guarda."));
        QCOMPARE(a.sinLecturas(), QByteArrayList{"iptables|-AINPUT|-j|ACCEPT"});
        QVERIFY(d.lduracion->text().startsWith("La regla va a iptables y firewalld no la guarda"));
        // A failure stops the permanent half and is told.
        a.vectores.clear();
        a.salidas["firewall-cmd|" + poner] = salida("", 13, "Error: ALREADY_ENABLED\n");
        cajas = contestar({"=192.0.2.9"}, [&] { d.PushButton3->click(); });
        QCOMPARE(a.sinLecturas(), QByteArrayList{"firewall-cmd|" + poner});
        QVERIFY2(cajas.value(1).contains("ALREADY_ENABLED"), qPrintable(cajas.join('\n')));
    }

    // Whether a change outlives a reboot, and saving it where a saver exists.
    void persistencia_data()
    {
        QTest::addColumn<QString>("saver"); // installed in the root
        QTest::addColumn<QByteArray>("argv");
        QTest::addColumn<QString>("despues");
        const QString guardar = "El cambio dura hasta el proximo reinicio si no se guarda: "
                                "Guardar conserva las reglas actuales con %1.";
        QTest::newRow("netfilter-persistent")
            << Rutas::NetfilterPersistent << QByteArray("netfilter-persistent|save")
            << guardar.arg("netfilter-persistent");
        QTest::newRow("iptables-services")
            << Rutas::IptablesServices << QByteArray("/usr/libexec/iptables/iptables.init|save")
            << guardar.arg("iptables-services");
        QTest::newRow("nada") << "" << QByteArray()
                              << "El cambio dura hasta el proximo reinicio: en este equipo nada "
                                 "guarda las reglas de iptables (ni netfilter-persistent ni "
                                 "iptables-services).";
    }
    void persistencia()
    {
        QFETCH(QString, saver);
        QFETCH(QByteArray, argv);
        QFETCH(QString, despues);
        Anfitrion a(muestra("nft/mezcla-iptables.txt"),
                    saver.isEmpty() ? QStringList() : QStringList{saver});
        firewallimpl d(a.sistema());
        QCOMPARE(d.PushButton4->isEnabled(), !saver.isEmpty());
        contestar({"=192.0.2.9"}, [&] { d.PushButton3->click(); });
        QCOMPARE(d.lduracion->text(), despues);
        d.PushButton4->click();
        QCOMPARE(a.sinLecturas(), QByteArrayList{"iptables|-A|INPUT|-s|192.0.2.9|-j|DROP"}
                                      + (argv.isEmpty() ? QByteArrayList() : QByteArrayList{argv}));
        if (!argv.isEmpty())
            QCOMPARE(d.lduracion->text(), "Reglas guardadas con " + QString(QTest::currentDataTag())
                                              + ": siguen tras reiniciar.");
    }

    // Real nft and iptables in a private network namespace: an inet filter
    // rule listed with its place and deleted by handle; the set rule in
    // iptables' own table shown from nft and deleted alone; a handle gone
    // meanwhile.
    void nftReal()
    {
        if (QStandardPaths::findExecutable("nft", {"/usr/sbin", "/sbin"}).isEmpty()
            || QStandardPaths::findExecutable("iptables", {"/usr/sbin", "/sbin"}).isEmpty())
            QSKIP("nft or iptables is not installed");
        bool saltar = false;
        QString salida;
        if (qEnvironmentVariableIsEmpty("TALVORA_FW_NETNS")) {
            enRedPrivada("nftReal", saltar, salida);
            if (saltar)
                QSKIP(
                    qPrintable("no private network namespace here: " + salida.section('\n', 0, 0)));
            QVERIFY2(!salida.startsWith("FALLO"), qPrintable(salida));
            return;
        }
        QVERIFY2(enRedPrivada("nftReal", saltar, salida),
                 "still in the machine's network namespace");
        Raiz raiz;
        raiz.escribir(Rutas::Nft, ""); // the real one runs: this root only says it is there
        QDir().mkpath(raiz.ruta(TALVORA_DATADIR));
        ejecutar("nft add table inet filter && nft add chain inet filter input "
                 "'{ type filter hook input priority 0; }' && nft add rule inet filter input "
                 "ip saddr 192.0.2.1 drop && iptables -A INPUT -s 10.0.0.1/32 -j DROP && "
                 "nft add rule ip filter INPUT ip saddr '{ 192.0.2.1, 192.0.2.2 }' drop && "
                 "iptables -A INPUT -s 10.0.0.2/32 -j DROP");
        firewallimpl d(raiz.sistema());
        QCOMPARE(entradas(d.lreglas),
                 QStringList({"INPUT -s 10.0.0.1/32 -j DROP",
                              "ip filter INPUT: ip saddr { 192.0.2.1, 192.0.2.2 } drop",
                              "INPUT -s 10.0.0.2/32 -j DROP",
                              "inet filter input: ip saddr 192.0.2.1 drop"}));
        for (const int fila : {1, 2}) { // the set rule, then the inet filter one
            d.lreglas->setCurrentRow(fila);
            QCOMPARE(contestar({"Si (Aceptar)"}, [&] { d.PushButton1->click(); }).size(), 1);
        }
        QCOMPARE(entradas(d.lreglas),
                 QStringList({"INPUT -s 10.0.0.1/32 -j DROP", "INPUT -s 10.0.0.2/32 -j DROP"}));
        const QByteArray iptables = salidaDe({"iptables-save"});
        QVERIFY2(iptables.contains("-A INPUT -s 10.0.0.1/32 -j DROP\n-A INPUT -s 10.0.0.2/32 -j "
                                   "DROP\nCOMMIT"),
                 iptables.constData());
        QVERIFY(!salidaDe({"nft", "list", "ruleset"}).contains("192.0.2."));

        // Listed, then changed behind the dialog's back.
        ejecutar("nft add rule inet filter input ip saddr 192.0.2.3 drop && "
                 "nft add rule inet filter input ip saddr 192.0.2.4 drop");
        firewallimpl otro(raiz.sistema());
        QCOMPARE(otro.lreglas->count(), 4);
        ejecutar("nft flush chain inet filter input && "
                 "nft add rule inet filter input ip saddr 192.0.2.4 drop");
        otro.lreglas->setCurrentRow(2);
        const QStringList cajas = contestar({"Si (Aceptar)"}, [&] { otro.PushButton1->click(); });
        QVERIFY2(cajas.size() == 2 && cajas[1].startsWith("Error|La regla ya no existe"),
                 qPrintable(cajas.join('\n')));
        QCOMPARE(entradas(otro.lreglas).mid(2),
                 QStringList{"inet filter input: ip saddr 192.0.2.4 drop"});
        QVERIFY(salidaDe({"nft", "list", "ruleset"}).contains("192.0.2.4"));
        QCOMPARE(salidaDe({"iptables-save"}).count("-A INPUT"), 2);
    }

    // firewalld 1.3 for real, with netfilter-persistent beside it; only in
    // the namespaces tests/systemd/cortafuegos.sh prepares.
    void firewalldReal()
    {
        if (qEnvironmentVariable("TALVORA_FIREWALLD") != "1")
            QSKIP("firewalld runs only beside a real systemd: tests/systemd/cortafuegos.sh");
        // This namespace's "/", whose /etc, /var and /usr are layers.
        std::unique_ptr<firewallimpl> p;
        QCOMPARE(contestar({}, [&] { p = std::make_unique<firewallimpl>(Sistema()); }),
                 QStringList());
        firewallimpl &d = *p;
        QVERIFY2(d.lduracion->text().startsWith("firewalld gestiona"),
                 qPrintable(d.lduracion->text()));
        contestar({"=192.0.2.7"}, [&] { d.PushButton3->click(); });
        QCOMPARE(salidaDe({"firewall-cmd", "--list-rich-rules"}), Rica.toUtf8() + '\n');
        QCOMPARE(salidaDe({"firewall-cmd", "--permanent", "--list-rich-rules"}),
                 Rica.toUtf8() + '\n');
        const QStringList filas = entradas(d.lreglas);
        qInfo().noquote() << filas.filter("192.0.2.7").join('\n');
        const qsizetype rica = filas.indexOf("firewalld: " + Rica);
        const qsizetype propia = filas.indexOf(
            "[firewalld] inet firewalld filter_IN_public_deny: ip saddr 192.0.2.7 drop");
        QVERIFY2(rica >= 0 && propia >= 0, qPrintable(filas.join('\n')));

        d.lreglas->setCurrentRow(propia);
        QStringList cajas = contestar({"Si (Aceptar)"}, [&] { d.PushButton1->click(); });
        QVERIFY2(cajas.size() == 1 && cajas[0].startsWith("Error|Esta regla es de firewalld"),
                 qPrintable(cajas.join('\n')));
        QCOMPARE(d.lreglas->count(), filas.size());
        d.lreglas->setCurrentRow(rica);
        contestar({"Si (Aceptar)"}, [&] { d.PushButton1->click(); });
        QCOMPARE(salidaDe({"firewall-cmd", "--list-rich-rules"}), "\n");
        QCOMPARE(salidaDe({"firewall-cmd", "--permanent", "--list-rich-rules"}), "\n");
        QVERIFY(entradas(d.lreglas).filter("192.0.2.7").isEmpty());

        // A typed rule goes to iptables; netfilter-persistent saves it when told to.
        QVERIFY(!QFileInfo::exists("/etc/iptables/rules.v4"));
        contestar({"=INPUT -s 192.0.2.50 -j DROP"}, [&] { d.PushButton2->click(); });
        QVERIFY(d.lduracion->text().startsWith("La regla va a iptables y firewalld no la guarda"));
        QVERIFY(d.PushButton4->isEnabled());
        d.PushButton4->click();
        QCOMPARE(d.lduracion->text(),
                 "Reglas guardadas con netfilter-persistent: siguen tras reiniciar.");
        QFile v4("/etc/iptables/rules.v4");
        QVERIFY(v4.open(QIODevice::ReadOnly));
        QVERIFY(v4.readAll().contains("\n-A INPUT -s 192.0.2.50/32 -j DROP\n"));
    }

    // Addresses as iptables stores them, and how many each covers.
    void redes_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("red");
        QTest::addColumn<quint64>("direcciones");
        QTest::newRow("sola") << "192.0.2.7"
                              << "192.0.2.7" << quint64(1);
        QTest::newRow("/32") << "192.0.2.7/32"
                             << "192.0.2.7/32" << quint64(1);
        QTest::newRow("/8") << "10.1.2.3/8"
                            << "10.0.0.0/8" << (quint64(1) << 24);
        QTest::newRow("mascara") << "192.168.1.77/255.255.255.0"
                                 << "192.168.1.0/24" << quint64(256);
        QTest::newRow("no contigua") << "1.2.3.4/255.0.255.0"
                                     << "1.0.3.0/255.0.255.0" << quint64(65536);
        QTest::newRow("/0") << "1.2.3.4/0"
                            << "0.0.0.0/0" << (quint64(1) << 32);
        QTest::newRow("mascara 0") << "1.2.3.4/0.0.0.0"
                                   << "0.0.0.0/0" << (quint64(1) << 32);
        QTest::newRow("/31") << "255.255.255.255/31"
                             << "255.255.255.254/31" << quint64(2);
    }
    void redes()
    {
        QFETCH(QString, texto);
        QFETCH(QString, red);
        QFETCH(quint64, direcciones);
        const std::optional<Reglas::Red> r = Reglas::red(texto);
        QVERIFY(r);
        QCOMPARE(r->texto, red);
        QCOMPARE(r->direcciones, direcciones);
        QCOMPARE(Filas::preguntaAmplia(*r).isEmpty(), direcciones <= 1u << 24);
    }
};

QTEST_MAIN(TstCortafuegos)
#include "tst_cortafuegos.moc"

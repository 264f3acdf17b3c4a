// The firewall dialog: which rows it shows and from where (iptables, nft,
// firewalld), what each button asks and runs (an argument vector, never a
// shell), what it says about a change lasting, and that it never waits on a
// command on the window's thread. With answered commands first, then with
// the real nft and iptables inside a private network namespace, then
// firewalld beside a real systemd (tests/systemd/cortafuegos.sh).
#include "firewalldialog/filas.h"
#include "firewalldialog/firewallimpl.h"
#include "support.h"

namespace {

const QString Instantanea = QString(TALVORA_DATADIR) + "/firewall";
const QByteArray Nft = "nft|-j|-a|list|ruleset";
const QString Rica = "rule family=\"ipv4\" source address=\"192.0.2.7\" drop";

// A host whose commands answer from `salidas` (argv joined by "|"), with
// iptables-save printing `instantanea` (nothing when null), and `despues`
// once a program changed the host. Commands run on the dialog's worker
// thread: the test reads this while the dialog is idle.
struct Anfitrion {
    Raiz raiz;
    QByteArray instantanea, despues;
    QHash<QByteArray, Sistema::Resultado> salidas;
    QByteArrayList vectores;       // the programs that changed the host, in order
    int nft = 0;                   // nft's listings
    QSemaphore *retener = nullptr; // each command takes one of its tickets first
    QSemaphore hechos;             // one for each command that ended
    Anfitrion(const QByteArray &iptables, const QStringList &instalados = {})
        : instantanea(iptables)
    {
        for (const QString &p : instalados)
            if (!p.isEmpty())
                raiz.escribir(p, "");
    }
    Sistema sistema()
    {
        return raiz.sistema([this](Sistema::Forma forma, const QByteArrayList &orden) {
            if (retener)
                retener->acquire();
            const auto fin = qScopeGuard([this] { hechos.release(); });
            const QByteArray v = orden.join('|');
            if (forma != Sistema::Forma::Programa) {
                if (!instantanea.isNull())
                    raiz.escribir(Instantanea, instantanea);
            } else if (v == Nft) {
                ++nft;
            } else if (!v.startsWith("firewall-cmd|--state")
                       && !v.startsWith("firewall-cmd|--list")) {
                vectores << v;
                if (!despues.isNull())
                    instantanea = despues;
            }
            return salidas.value(v);
        });
    }
};

QByteArray filtro(const QStringList &reglas)
{
    return "*filter\n:INPUT ACCEPT [0:0]\n:FORWARD ACCEPT [0:0]\n:OUTPUT ACCEPT [0:0]\n"
           + reglas.join('\n').toUtf8() + "\nCOMMIT\n";
}

// Clicks `boton`, answering what it opens as contestar() does, until the
// dialog's commands have ended and what they told is answered.
QStringList pulsar(firewallimpl &d, QPushButton *boton, const QStringList &respuestas = {})
{
    return contestar(respuestas, [&] {
        boton->click();
        QTRY_VERIFY(d.PushButton1->isEnabled());
    });
}

// A dialog whose first reading is done. What it told goes to `cajas`;
// without it, telling anything fails the test.
std::unique_ptr<firewallimpl> abrir(const Sistema &sistema, QStringList *cajas = nullptr)
{
    std::unique_ptr<firewallimpl> d;
    const QStringList vistas = contestar({}, [&] {
        d = std::make_unique<firewallimpl>(sistema);
        QTRY_VERIFY(d->PushButton1->isEnabled());
    });
    if (cajas)
        *cajas = vistas;
    else if (!vistas.isEmpty())
        QTest::qFail(qPrintable("told: " + vistas.join('\n')), __FILE__, __LINE__);
    return d;
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

// firewalld's rich rules, at run time and then permanent.
QByteArray ricas()
{
    return Sistema().ejecutarPrograma({"firewall-cmd", "--list-rich-rules"}).salida
           + Sistema()
                 .ejecutarPrograma({"firewall-cmd", "--permanent", "--list-rich-rules"})
                 .salida;
}

} // namespace

class TstCortafuegos : public QObject
{
    Q_OBJECT

private slots:
    // Each button's questions, and the argument vector iptables gets; the
    // list is read again after a command. The snapshot has a comment in
    // UTF-8 and one in ISO-8859-1: each shows decoded on its own and goes
    // back with its own bytes.
    void botones_data()
    {
        QTest::addColumn<int>("boton"); // 0: "Eliminar" with no current entry
        QTest::addColumn<QString>("respuesta");
        QTest::addColumn<QString>("caja");    // after the button's own question; empty: none
        QTest::addColumn<QByteArray>("argv"); // "|" between arguments; empty: nothing runs
        const auto fila = [](int boton, const QString &r, const QString &caja,
                             const QString &argv) {
            QTest::addRow("%d %s", boton, qPrintable(r)) << boton << r << caja << argv.toUtf8();
        };
        QTest::newRow("eliminar") << 1 << "Si (Aceptar)" << QString()
                                  << QByteArray("iptables|-D|INPUT|-m|comment|--comment|x "
                                                "$(touch /tmp/p) se\xf1or|-j|ACCEPT");
        for (const char *r : {"No (Cancelar)", "<Escape>", "<Return>"})
            fila(1, r, "", "");
        fila(0, "", "", "");
        // Typed rules split as a shell splits words; an open quote or a lone
        // backslash at the end runs nothing.
        fila(2, "=INPUT -m comment --comment 'dos palabras' -j DROP", "",
             "iptables|-AINPUT|-m|comment|--comment|dos palabras|-j|DROP");
        fila(2, "= INPUT --comment \"a \\\"b\\\" $c\" it\\'s", "",
             "iptables|-A|INPUT|--comment|a \"b\" $c|it's");
        fila(2, "=INPUT --comment \"abc", "Error|La regla tiene una comilla sin cerrar|OK", "");
        fila(2, "=INPUT -j DROP \\", "Error|La regla termina en una barra invertida sola|OK", "");
        for (const char *r : {"=", "<Escape>"})
            fila(2, r, "", "");
        // An address may come with blanks around it, a prefix or a dotted
        // mask; it goes as iptables stores it. Wider than a /8 only when
        // confirmed, negative answer first (its Escape and Return: the
        // deletion's, the same box).
        const QString ip = "iptables|-A|INPUT|-s|%1|-j|DROP";
        fila(3, "= 65.54.226.254\t", "", ip.arg("65.54.226.254"));
        fila(3, "=10.1.2.3/255.0.0.0", "", ip.arg("10.0.0.0/8"));
        fila(3, "=192.0.2.77/255.0.255.0", "", ip.arg("192.0.2.0/255.0.255.0"));
        const QString amplia = "Confirmacion|Bloquear %1 deja fuera %2 direcciones: corta casi "
                               "todas las conexiones con este equipo, tambien la suya (ssh -X)."
                               "\n\nDesea bloquearlas?|No (Cancelar)|Si (Bloquear)";
        fila(3, "=1.2.3.4/0\nSi (Bloquear)", amplia.arg("0.0.0.0/0", "4294967296"),
             ip.arg("0.0.0.0/0"));
        fila(3, "=1.2.3.4/0.0.0.0\nNo (Cancelar)", amplia.arg("0.0.0.0/0", "4294967296"), "");
        fila(3, "=10.1.2.3/7\n<Escape>", amplia.arg("10.0.0.0/7", "33554432"), "");
        fila(3, "=1.2.3.4; touch x", "Error|Direccion IP no valida|OK", ""); // the rest: fuzz_ipv4
        fila(3, "= ", "", "");
    }
    void botones()
    {
        QFETCH(int, boton);
        QFETCH(QString, respuesta);
        QFETCH(QString, caja);
        QFETCH(QByteArray, argv);
        const QString utf8 = "INPUT -s 192.0.2.6/32 -m comment --comment \"a\\\"ño\" -j ACCEPT";
        const QString peligrosa
            = "INPUT -m comment --comment \"x $(touch /tmp/p) señor\" -j ACCEPT";
        Anfitrion a(filtro({"-A " + utf8, "-A " + peligrosa}).replace("se\xc3\xb1or", "se\xf1or"));
        a.despues = filtro({"-A INPUT -j ACCEPT"});
        const auto d = abrir(a.sistema());
        QCOMPARE(entradas(d->lreglas), QStringList({utf8, peligrosa}));
        d->lreglas->setCurrentRow(boton == 1 ? 1 : -1);
        const QString preguntas[] = {
            "",
            "Confimacion|Desea eliminar la regla:\n\n" + peligrosa + "|No (Cancelar)|Si (Aceptar)",
            "Ingreso de Dato|Ingrese la regla\nEjemplo: INPUT -s 65.54.226.254 -j DROP\n\niptables "
            "-A",
            "Ingreso de Dato|Ingrese el IP a bloquear\nEjemplo: 65.54.226.254\n\nIP?"};
        QStringList cajas{preguntas[boton], caja};
        cajas.removeAll(QString());
        QPushButton *botones[] = {d->PushButton1, d->PushButton1, d->PushButton2, d->PushButton3};
        QCOMPARE(pulsar(*d, botones[boton], respuesta.split('\n')), cajas);
        QCOMPARE(a.vectores, argv.isEmpty() ? QByteArrayList() : QByteArrayList{argv});
        QCOMPARE(entradas(d->lreglas).size(), argv.isEmpty() ? 2 : 1);
    }

    // A held command leaves the window's loop running, and the list and its
    // buttons disabled until it ends; a dialog closed meanwhile leaves its
    // command to end.
    void espera()
    {
        Anfitrion a(filtro({"-A INPUT -s 10.0.0.1/32 -j DROP"}), {Rutas::NetfilterPersistent});
        QSemaphore paso;
        a.retener = &paso;
        auto d = std::make_unique<firewallimpl>(a.sistema());
        const auto parados = [&] {
            return !(d->lreglas->isEnabled() || d->PushButton1->isEnabled()
                     || d->PushButton2->isEnabled() || d->PushButton3->isEnabled()
                     || d->PushButton4->isEnabled());
        };
        QVERIFY(parados()); // the constructor is back, its reading held
        paso.release();
        QTRY_VERIFY(d->PushButton1->isEnabled() && d->PushButton4->isEnabled());
        QCOMPARE(entradas(d->lreglas), QStringList{"INPUT -s 10.0.0.1/32 -j DROP"});
        // Entering the list, the first rule is the current one.
        d->show();
        d->lreglas->setFocus();
        QTRY_COMPARE(d->lreglas->currentRow(), 0);

        contestar({"=192.0.2.9"}, [&] { d->PushButton3->click(); });
        QVERIFY(parados());
        d.reset();
        paso.release(2); // the block, then the reading after it
        QVERIFY(a.hechos.tryAcquire(3, 5000));
        QCOMPARE(a.vectores, QByteArrayList{"iptables|-A|INPUT|-s|192.0.2.9|-j|DROP"});
    }

    // Each row of a mixed ruleset, and what Eliminar runs for it; a handle
    // gone since the list was read: told, read again, nothing else run.
    void mezcla_data()
    {
        QTest::addColumn<int>("fila");
        QTest::addColumn<QByteArray>("argv");
        QTest::addColumn<QByteArray>("errores"); // set: the deletion fails with them
        const auto fila = [](const char *tag, int fila, const char *argv, const char *errores) {
            QTest::newRow(tag) << fila << QByteArray(argv) << QByteArray(errores);
        };
        fila("iptables", 0, "iptables|-D|INPUT|-s|10.0.0.1/32|-j|DROP", "");
        fila("conjunto en ip filter", 2, "nft|delete|rule|ip|filter|INPUT|handle|5", "");
        fila("inet filter", 5, "nft|delete|rule|inet|filter|input|handle|2", "");
        fila("cadena saltada", 7, "nft|delete|rule|inet|filter|sub|handle|6", "");
        fila("handle desaparecido", 5, "nft|delete|rule|inet|filter|input|handle|2",
             "Error: Could not process rule: No such file or directory\n");
    }
    void mezcla()
    {
        QFETCH(int, fila);
        QFETCH(QByteArray, argv);
        QFETCH(QByteArray, errores);
        Anfitrion a(muestra("nft/mezcla-iptables.txt"), {Rutas::Nft});
        a.salidas[Nft] = {0, false, muestra("nft/mezcla.json"), {}};
        a.salidas[argv] = {errores.isEmpty() ? 0 : 1, false, {}, errores};
        const auto d = abrir(a.sistema());
        QCOMPARE(entradas(d->lreglas), Mezcla);
        d->lreglas->setCurrentRow(fila);
        QStringList cajas{"Confimacion|Desea eliminar la regla:\n\n" + Mezcla[fila]
                          + "|No (Cancelar)|Si (Aceptar)"};
        if (!errores.isEmpty())
            cajas << "Error|La regla ya no existe: el cortafuegos cambio desde que se leyo la "
                     "lista. La lista se leyo otra vez; no se elimino nada.|OK";
        QCOMPARE(pulsar(*d, d->PushButton1, {"Si (Aceptar)"}), cajas);
        QCOMPARE(a.vectores, QByteArrayList{argv});
        QCOMPARE(a.nft, 2); // read again after the change
    }

    // iptables-save and nft disagreeing on iptables' table (it changed
    // between the two): nft's rows stand for it, never a misprint.
    void desacuerdo()
    {
        Anfitrion a(muestra("nft/mezcla-iptables.txt")
                        .replace("-A OUTPUT", "-A INPUT -s 10.9.9.9/32 -j DROP\n-A OUTPUT"),
                    {Rutas::Nft});
        a.salidas[Nft] = {0, false, muestra("nft/mezcla.json"), {}};
        const QStringList filas = entradas(abrir(a.sistema())->lreglas);
        QCOMPARE(filas.filter(QRegularExpression("^ip filter (INPUT|OUTPUT): ")).size(), 5);
        QCOMPARE(filas.mid(5), Mezcla.mid(5));
    }

    // Where nft cannot be read, iptables' rows as today; said when rules may be missing.
    void sinNft_data()
    {
        QTest::addColumn<QByteArray>("version"); // in iptables-save's first line
        QTest::addColumn<QString>("nft");        // "code|output"; "-": not installed
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("fallo"); // what the box says
        const QString todas = "Reglas actuales de filtrado (iptables, nftables y firewalld):",
                      solo = "Solo las reglas de iptables: no se pudo leer nftables:";
        const auto fila = [](const char *tag, const char *version, const char *nft,
                             const QString &titulo, const QString &fallo) {
            QTest::newRow(tag) << QByteArray(version) << QString(nft) << titulo << fallo;
        };
        fila("legado", "v1.8.9", "", todas, "");
        fila("legado sin nft", "v1.8.9", "-", todas, "");
        fila("falta nft", "v1.8.9 (nf_tables)", "-",
             "Solo las reglas de iptables: nft no esta instalado y puede haber otras:", "");
        fila("nft falla", "", "1|Error: cache initialization failed: Operation not permitted", solo,
             "nft termino con error (codigo 1): Error: cache initialization failed: Operation "
             "not permitted");
        const QString inesperado = "nft imprimio algo inesperado: ";
        fila("no es JSON", "", "0|table inet filter {", solo, inesperado + "no es JSON (byte 0)");
        fila("sin lista", "", "0|{\"tablas\": []}", solo,
             inesperado + "falta la lista \"nftables\"");
        fila("regla sin handle", "",
             "0|{\"nftables\": [{\"rule\": {\"family\": \"inet\", \"table\": \"t\", "
             "\"chain\": \"c\", \"expr\": []}}]}",
             solo, inesperado + "una regla sin su lugar o sin su handle");
    }
    void sinNft()
    {
        QFETCH(QByteArray, version);
        QFETCH(QString, nft);
        QFETCH(QString, titulo);
        QFETCH(QString, fallo);
        QByteArray iptables = muestra("nft/mezcla-iptables.txt");
        iptables.replace(0, iptables.indexOf('\n'),
                         version.isEmpty() ? "" : "# Generated by iptables-save " + version);
        Anfitrion a(iptables, nft == "-" ? QStringList() : QStringList{Rutas::Nft});
        const QByteArray texto = nft.section('|', 1).toUtf8();
        a.salidas[Nft] = {nft.section('|', 0, 0).toInt(), false, texto, texto};
        QStringList cajas;
        const auto d = abrir(a.sistema(), &cajas);
        QCOMPARE(cajas, fallo.isEmpty()
                            ? QStringList()
                            : QStringList{"Error|No se pudo leer las reglas de nftables (" + fallo
                                          + ").\n\nLa lista muestra solo lo que "
                                            "imprime iptables-save.|OK"});
        QCOMPARE(d->TextLabel1->text(), titulo);
        QCOMPARE(d->lreglas->accessibleName() + ":", d->TextLabel1->text()); // said whole
        QCOMPARE(a.nft, int(nft.contains('|')));
        QStringList hoy = Mezcla.mid(0, 5); // the misprint too: nothing better to show
        hoy[2] = "INPUT -j DROP";
        QCOMPARE(entradas(d->lreglas), hoy);
    }

    // Where firewalld runs: its tables' rows refuse Eliminar, its rich rules
    // go through firewall-cmd, a block goes to it now and permanently.
    void firewalld()
    {
        Anfitrion a("", {Rutas::Nft, Rutas::FirewallCmd});
        a.salidas[Nft] = {0, false, muestra("nft/firewalld.json"), {}};
        a.salidas["firewall-cmd|--state"] = {0, false, "running\n", {}};
        a.salidas["firewall-cmd|--list-rich-rules"] = {0, false, Rica.toUtf8() + '\n', {}};
        const auto d = abrir(a.sistema());
        const QStringList filas = entradas(d->lreglas);
        const qsizetype rica = filas.indexOf("firewalld: " + Rica);
        const qsizetype propia = filas.indexOf(
            "[firewalld] inet firewalld filter_IN_public_deny: ip saddr 192.0.2.7 drop");
        QVERIFY2(rica >= 0 && propia >= 0, qPrintable(filas.join('\n')));
        QVERIFY(d->lduracion->text().startsWith("firewalld gestiona este cortafuegos"));

        d->lreglas->setCurrentRow(propia);
        QStringList cajas = pulsar(*d, d->PushButton1);
        QVERIFY2(cajas.size() == 1 && cajas[0].startsWith("Error|Esta regla es de firewalld")
                     && cajas[0].contains("firewall-cmd --remove-rich-rule"),
                 qPrintable(cajas.join('\n')));

        d->lreglas->setCurrentRow(rica);
        pulsar(*d, d->PushButton1, {"Si (Aceptar)"});
        pulsar(*d, d->PushButton3, {"=192.0.2.9"});
        QCOMPARE(d->lduracion->text(),
                 "Hecho con firewalld, ahora y en su configuracion permanente: "
                 "sigue tras recargarlo y tras reiniciar.");
        // Typed rules still go to iptables, said before and after.
        cajas = pulsar(*d, d->PushButton2, {"=INPUT -j ACCEPT"});
        QVERIFY(cajas.value(0).contains("La regla va a iptables: firewalld no la guarda."));
        QVERIFY(d->lduracion->text().startsWith("La regla va a iptables y firewalld no la guarda"));
        // A failure stops the permanent half and is told.
        const QByteArray quitar = "firewall-cmd|--remove-rich-rule=" + Rica.toUtf8(),
                         poner = "firewall-cmd|--add-rich-rule=rule family=\"ipv4\" source "
                                 "address=\"192.0.2.9\" drop";
        a.salidas[poner] = {13, false, {}, "Error: ALREADY_ENABLED\n"};
        cajas = pulsar(*d, d->PushButton3, {"=192.0.2.9"});
        QVERIFY2(cajas.value(1).contains("ALREADY_ENABLED"), qPrintable(cajas.join('\n')));
        const auto permanente = [](QByteArray v) { return v.insert(13, "--permanent|"); };
        QCOMPARE(a.vectores, QByteArrayList({quitar, permanente(quitar), poner, permanente(poner),
                                             "iptables|-AINPUT|-j|ACCEPT", poner}));
    }

    // Whether a change outlives a reboot, and saving it where a saver exists
    // (the data tag names it).
    void persistencia_data()
    {
        QTest::addColumn<QString>("saver"); // installed in the root
        QTest::addColumn<QByteArray>("argv");
        QTest::newRow("netfilter-persistent")
            << Rutas::NetfilterPersistent << QByteArray("netfilter-persistent|save");
        QTest::newRow("iptables-services")
            << Rutas::IptablesServices << QByteArray("/usr/libexec/iptables/iptables.init|save");
        QTest::newRow("nada") << "" << QByteArray();
    }
    void persistencia()
    {
        QFETCH(QString, saver);
        QFETCH(QByteArray, argv);
        const QString nombre = QTest::currentDataTag();
        Anfitrion a(muestra("nft/mezcla-iptables.txt"), {saver});
        const auto d = abrir(a.sistema());
        QCOMPARE(d->PushButton4->isEnabled(), !saver.isEmpty());
        pulsar(*d, d->PushButton3, {"=192.0.2.9"});
        QCOMPARE(d->lduracion->text(),
                 argv.isEmpty() ? "El cambio dura hasta el proximo reinicio: en este equipo nada "
                                  "guarda las reglas de iptables (ni netfilter-persistent ni "
                                  "iptables-services)."
                                : "El cambio dura hasta el proximo reinicio si no se guarda: "
                                  "Guardar conserva las reglas actuales con "
                                      + nombre + '.');
        pulsar(*d, d->PushButton4);
        QCOMPARE(a.vectores, QByteArrayList({"iptables|-A|INPUT|-s|192.0.2.9|-j|DROP", argv})
                                 .mid(0, argv.isEmpty() ? 1 : 2));
        if (!argv.isEmpty())
            QCOMPARE(d->lduracion->text(),
                     "Reglas guardadas con " + nombre + ": siguen tras reiniciar.");
    }

    // Without iptables at all: the snapshot's command and the rule's program
    // are both told as not found. Without a snapshot, that is told.
    void sinIptables()
    {
        Raiz raiz;
        QDir().mkpath(raiz.ruta(TALVORA_DATADIR));
        const QByteArray camino = qgetenv("PATH");
        qputenv("PATH", "/nonexistent");
        QStringList cajas;
        const auto d = abrir(raiz.sistema(), &cajas);
        cajas << pulsar(*d, d->PushButton2, {"=INPUT -j DROP"});
        qputenv("PATH", camino);
        QVERIFY2(cajas.size() == 4
                     && cajas[0].startsWith("Error|No se encontro el comando:\n\n"
                                            "iptables-save >")
                     && cajas[0].contains("not found"),
                 qPrintable(cajas.join('\n')));
        QCOMPARE(cajas[3], "Error|No se encontro el comando:\n\niptables -AINPUT -j DROP\n\n"
                           "iptables: no se encontro el programa|OK");
        // No snapshot at all: said, and the list is empty.
        abrir(Anfitrion(QByteArray()).sistema(), &cajas);
        QCOMPARE(cajas, {"Error|No se pudo leer las reglas de Firewall.\n Intente Recargar...|OK"});
    }

    // Real iptables, then nft, in a copy of this program that "unshare --net"
    // started: they touch only a private network namespace.
    void real()
    {
        const QString padre = qEnvironmentVariable("TALVORA_FW_NETNS");
        const QString red = QFile::symLinkTarget("/proc/self/ns/net");
        if (padre.isEmpty()) {
            if (QStandardPaths::findExecutable("iptables-save", {"/usr/sbin", "/sbin"}).isEmpty())
                QSKIP("iptables-save is not installed");
            QProcess hijo;
            hijo.setProcessChannelMode(QProcess::MergedChannels);
            hijo.start("env",
                       {"TALVORA_FW_NETNS=" + red, "PATH=/usr/sbin:/sbin:" + qgetenv("PATH"),
                        "unshare", "--net", QCoreApplication::applicationFilePath(), "real"});
            QVERIFY(hijo.waitForFinished(100000));
            const QString salida = QString::fromLocal8Bit(hijo.readAll());
            if (salida.startsWith("unshare:"))
                QSKIP(
                    qPrintable("no private network namespace here: " + salida.section('\n', 0, 0)));
            QVERIFY2(hijo.exitCode() == 0 && salida.contains("PASS   : TstCortafuegos::real()"),
                     qPrintable(salida));
            return;
        }
        QVERIFY2(red != padre, "still in the machine's network namespace");
        Raiz raiz;
        QDir().mkpath(raiz.ruta(TALVORA_DATADIR));
        const QString marca = raiz.ruta("/marca");
        const auto iptables = [](const QByteArrayList &regla) {
            return Sistema().ejecutarPrograma(QByteArrayList{"iptables", "-A"} + regla).bien();
        };
        // Comments that a shell or a careless splitter would get wrong, and
        // the rules of a real snapshot, one commented in ISO-8859-1: all go.
        for (const QString c : {"con espacios", "a\"b", "it's", "x $(touch %1) y", "`touch %1`",
                                "a#b", "año ñandú", "back\\slash"})
            QVERIFY(iptables(
                {"INPUT", "-m", "comment", "--comment", c.arg(marca).toUtf8(), "-j", "ACCEPT"}));
        for (const QByteArray &r : Reglas::leerInstantanea(muestra("iptables/iptables-latin1.txt")))
            QVERIFY(iptables(*Reglas::dividir(r)));
        // nft beside it, where installed: a rule in inet filter, and a set
        // rule in iptables' own table, which iptables-save misprints.
        const bool nft = !QStandardPaths::findExecutable("nft", {"/usr/sbin", "/sbin"}).isEmpty();
        if (nft) {
            raiz.escribir(Rutas::Nft, ""); // the real one runs: this root only says it is there
            QVERIFY(Sistema()
                        .ejecutar("nft add table inet filter && nft add chain inet filter input "
                                  "'{ type filter hook input priority 0; }' && nft add rule inet "
                                  "filter input ip saddr 192.0.2.1 drop && nft add rule inet "
                                  "filter input ip saddr 192.0.2.3 drop && nft add rule ip "
                                  "filter INPUT ip saddr '{ 192.0.2.1, 192.0.2.2 }' drop")
                        .bien());
        }
        const auto d = abrir(raiz.sistema());
        pulsar(*d, d->PushButton3, {"=192.0.2.7"});
        pulsar(*d, d->PushButton2,
               {"=OUTPUT -m comment --comment \"a \\\"mano\\\" \\'x\\'\" -j ACCEPT"});
        // A rule iptables refuses is told, with what iptables said.
        const QStringList rechazo = pulsar(*d, d->PushButton2, {"=INPUT -j NOEXISTE"});
        QVERIFY2(rechazo.value(1).startsWith("Error|El comando termino con error (codigo 2):\n\n"
                                             "iptables -AINPUT -j NOEXISTE\n\niptables")
                     && rechazo.size() == 2 && rechazo[1].count("NOEXISTE") > 1,
                 qPrintable(rechazo.join('\n')));
        const QStringList filas = entradas(d->lreglas);
        QVERIFY2(filas.contains("INPUT -s 192.0.2.7/32 -j DROP") && !filas.contains("INPUT -j DROP")
                     && filas.size() == (nft ? 15 : 12),
                 qPrintable(filas.join('\n')));
        if (nft) {
            QVERIFY(filas.contains("ip filter INPUT: ip saddr { 192.0.2.1, 192.0.2.2 } drop"));
            // Listed, then changed behind the dialog's back: the handle is gone.
            QVERIFY(Sistema()
                        .ejecutar("nft flush chain inet filter input && nft add rule inet filter "
                                  "input ip saddr 192.0.2.4 drop")
                        .bien());
            d->lreglas->setCurrentRow(filas.indexOf("inet filter input: ip saddr 192.0.2.3 drop"));
            const QStringList cajas = pulsar(*d, d->PushButton1, {"Si (Aceptar)"});
            QVERIFY2(cajas.size() == 2 && cajas[1].startsWith("Error|La regla ya no existe"),
                     qPrintable(cajas.join('\n')));
            QCOMPARE(entradas(d->lreglas).filter("inet filter"),
                     QStringList{"inet filter input: ip saddr 192.0.2.4 drop"});
        }
        // Each row deletes exactly its rule, by its bytes or its handle.
        for (int n = d->lreglas->count(); n > 0; --n) {
            d->lreglas->setCurrentRow(0);
            const QString regla = d->lreglas->currentItem()->text();
            pulsar(*d, d->PushButton1, {"Si (Aceptar)"});
            QVERIFY2(d->lreglas->count() == n - 1 && !entradas(d->lreglas).contains(regla),
                     qPrintable(regla));
        }
        QVERIFY(!QFileInfo::exists(marca));
    }

    // firewalld 1.3 for real, with netfilter-persistent beside it; only in
    // the namespaces tests/systemd/cortafuegos.sh prepares.
    void firewalldReal()
    {
        if (qEnvironmentVariable("TALVORA_FIREWALLD") != "1")
            QSKIP("firewalld runs only beside a real systemd: tests/systemd/cortafuegos.sh");
        // This namespace's "/", whose /etc, /var and /usr are layers.
        const auto d = abrir(Sistema());
        pulsar(*d, d->PushButton3, {"=192.0.2.7"});
        QCOMPARE(ricas(), Rica.toUtf8() + '\n' + Rica.toUtf8() + '\n');
        const QStringList filas = entradas(d->lreglas);
        const qsizetype rica = filas.indexOf("firewalld: " + Rica);
        const qsizetype propia = filas.indexOf(
            "[firewalld] inet firewalld filter_IN_public_deny: ip saddr 192.0.2.7 drop");
        QVERIFY2(rica >= 0 && propia >= 0, qPrintable(filas.join('\n')));

        d->lreglas->setCurrentRow(rica);
        pulsar(*d, d->PushButton1, {"Si (Aceptar)"});
        QCOMPARE(ricas(), "\n\n");
        QVERIFY(entradas(d->lreglas).filter("192.0.2.7").isEmpty());

        // A typed rule goes to iptables; netfilter-persistent saves it when told to.
        QVERIFY(!QFileInfo::exists("/etc/iptables/rules.v4"));
        pulsar(*d, d->PushButton2, {"=INPUT -s 192.0.2.50 -j DROP"});
        QVERIFY(d->lduracion->text().startsWith("La regla va a iptables y firewalld no la guarda"));
        pulsar(*d, d->PushButton4);
        QCOMPARE(d->lduracion->text(),
                 "Reglas guardadas con netfilter-persistent: siguen tras reiniciar.");
        QFile v4("/etc/iptables/rules.v4");
        QVERIFY(v4.open(QIODevice::ReadOnly));
        QVERIFY(v4.readAll().contains("\n-A INPUT -s 192.0.2.50/32 -j DROP\n"));
    }
};

QTEST_MAIN(TstCortafuegos)
#include "tst_cortafuegos.moc"

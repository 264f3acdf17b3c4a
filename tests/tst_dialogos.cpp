// The configuration and firewall dialogs: what their buttons and keys save
// or run. (The snapshot reader, the rule splitter and the address check
// have fuzz targets of their own.)
#include "configdialog/confimpl.h"
#include "firewalldialog/firewallimpl.h"
#include "firewalldialog/reglas.h"
#include "mainwindow/marcas.h"
#include "support.h"

#include <sys/stat.h>

namespace {

const QString Dir = TALVORA_DATADIR, Conf = Dir + "/conf", Instantanea = Dir + "/firewall";
const QString Peligrosa = "INPUT -m comment --comment \"x $(touch /tmp/p) y\" -j ACCEPT";
const QString PideRegla = "Ingreso de Dato|Ingrese la regla\nEjemplo: INPUT -s 65.54.226.254 -j "
                          "DROP\n\niptables -A";
const QString PideIp = "Ingreso de Dato|Ingrese el IP a bloquear\nEjemplo: 65.54.226.254\n\nIP?";
const QString IpMala = "Error|Direccion IP no valida|OK";

QByteArrayList campos(const QWidget *d)
{
    QByteArrayList t;
    for (const QString &c : Ajustes::claves())
        t << d->findChild<QLineEdit *>(c)->text().toUtf8();
    return t;
}

QByteArray filtro(const QStringList &reglas)
{
    return "*filter\n:INPUT ACCEPT [0:0]\n:FORWARD ACCEPT [0:0]\n:OUTPUT ACCEPT [0:0]\n"
           + reglas.join('\n').toUtf8() + "\nCOMMIT\n";
}

} // namespace

class TstDialogos : public QObject
{
    Q_OBJECT

private slots:
    void guardar_data()
    {
        QTest::addColumn<QStringList>("pasos");    // "key=text" typed, or a button or key
        QTest::addColumn<QStringList>("guardado"); // "key=text" saved; empty: nothing saved
        QTest::newRow("sin cambios") << QStringList{"Aceptar"} << QStringList{"cEditor=  kwrite  "};
        QTest::newRow("por defecto") << QStringList{"Por Defecto", "Aceptar"}
                                     << QStringList{"cLogSquid=%editor /var/log/squid/access.log"};
        QTest::newRow("perfil") << QStringList{"Perfil=Red Hat", "Por Defecto", "Aceptar"}
                                << QStringList{"cEstadoHttpd=systemd:httpd.service"};
        QTest::newRow("cancelar") << QStringList{"Por Defecto", "cEditor=vi", "Cancelar"}
                                  << QStringList();
        QTest::newRow("Escape") << QStringList{"cEditor=vi", "<Escape>"} << QStringList();
        QTest::newRow("cierre") << QStringList{"cEditor=vi", "<Cerrar>"} << QStringList();
        QTest::newRow("blancos y vacio") << QStringList{"cEditor= vi ", "cLogSquid=", "Aceptar"}
                                         << QStringList{"cEditor= vi ", "cLogSquid="};
        // Enter in a field neither closes nor reaches "Por Defecto", which would wipe the edits.
        QTest::newRow("Intro") << QStringList{"cEditor=vi", "<Return>", "Aceptar"}
                               << QStringList{"cEditor=vi"};
        // A pasted line break would run as two commands now and as one after a restart.
        QTest::newRow("salto de linea") << QStringList{"cIniciarSquid=squid\nrm -rf /", "Aceptar"}
                                        << QStringList{"cIniciarSquid=squid rm -rf /"};
    }
    void guardar()
    {
        QFETCH(QStringList, pasos);
        QFETCH(QStringList, guardado);
        Ventana v;
        v.cambiarAjuste(Ajustes::Clave::cEditor, "  kwrite  ");
        QVERIFY(Ajustes::guardar(v.sistema(), v.ajustes.valores()));
        QByteArrayList esperado = v.ajustes.valores();
        confimpl d(v.sistema(), v.ajustes);
        d.show();
        QCOMPARE(campos(&d), esperado);
        QByteArrayList perfil = Ajustes::valoresPorDefecto(); // no systemd in the root
        for (const QString &p : pasos) {
            if (p.startsWith("Perfil=")) {
                d.cbPerfil->setCurrentText(p.section('=', 1));
                perfil = Ajustes::valoresDe(Ajustes::Perfil::RedHat);
            } else if (p.contains('='))
                d.findChild<QLineEdit *>(p.section('=', 0, 0))->setText(p.section('=', 1));
            else if (p.startsWith('<') && p != "<Cerrar>")
                QTest::keyClick(d.cEditor, p == "<Escape>" ? Qt::Key_Escape : Qt::Key_Return);
            else if (p == "<Cerrar>")
                d.close();
            for (QPushButton *b : d.findChildren<QPushButton *>()) {
                if (b->text() == p)
                    b->click();
            }
            if (p == "Por Defecto")
                QCOMPARE(campos(&d), perfil);
        }
        QVERIFY(!d.isVisible());
        if (pasos.contains("Por Defecto") && !guardado.isEmpty())
            esperado = perfil;
        for (const QString &g : guardado)
            esperado[Ajustes::claves().indexOf(g.section('=', 0, 0))] = g.section('=', 1).toUtf8();
        QCOMPARE(v.raiz.leer(Conf), lineas(esperado));
        QCOMPARE(v.ajustes.valores(), esperado); // what the running program and the next dialog use
    }

    // Two dialogs open: each saves only what was edited in it, so an
    // untouched older one undoes nothing, and its untouched fields show what
    // the other saved.
    void dosDialogos()
    {
        Ventana v;
        confimpl viejo(v.sistema(), v.ajustes), nuevo(v.sistema(), v.ajustes);
        viejo.cLogSquid->setText("vi /log");
        nuevo.cEditor->setText("gedit");
        nuevo.bAplicar->click();
        QCOMPARE(viejo.cEditor->text(), "gedit");
        viejo.bAplicar->click();
        QByteArrayList esperado = ajustesEnRaiz(v.raiz);
        esperado[int(Ajustes::Clave::cEditor)] = "gedit";
        esperado[int(Ajustes::Clave::cLogSquid)] = "vi /log";
        QCOMPARE(v.ajustes.valores(), esperado);
        QCOMPARE(v.raiz.leer(Conf), lineas(esperado));
    }

    // Each firewall button's questions, and the argument vector iptables gets
    // (no shell); the list is rebuilt from a new snapshot after a command.
    void cortafuegos_data()
    {
        QTest::addColumn<int>("boton"); // 0: "Eliminar" with no current entry
        QTest::addColumn<QString>("respuesta");
        QTest::addColumn<QStringList>("cajas");
        QTest::addColumn<QString>("argv"); // "|" between arguments; empty: nothing runs
        const QString confirma = "Confimacion|Desea eliminar la regla:\n\n" + Peligrosa
                                 + "|No (Cancelar)|Si (Aceptar)";
        QTest::newRow("eliminar, Si")
            << 1 << "Si (Aceptar)" << QStringList{confirma}
            << "iptables|-D|INPUT|-m|comment|--comment|x $(touch /tmp/p) y|-j|ACCEPT";
        for (const char *r : {"No (Cancelar)", "<Escape>", "<Return>"})
            QTest::addRow("eliminar, %s", r) << 1 << r << QStringList{confirma} << "";
        QTest::newRow("eliminar sin entrada") << 0 << "" << QStringList() << "";
        // Typed rules split as a shell splits words; an open quote or a lone
        // backslash at the end runs nothing.
        const QString abierta = "Error|La regla tiene una comilla sin cerrar|OK";
        const QStringList reglas[]
            = {{"=INPUT -s 65.54.226.254 -j DROP", "iptables|-AINPUT|-s|65.54.226.254|-j|DROP"},
               {"=INPUT -m comment --comment 'dos palabras' -j DROP",
                "iptables|-AINPUT|-m|comment|--comment|dos palabras|-j|DROP"},
               {"= INPUT --comment \"a \\\"b\\\" $c\" it\\'s",
                "iptables|-A|INPUT|--comment|a \"b\" $c|it's"},
               {"=INPUT --comment \"abc", "", abierta},
               {"=INPUT --comment 'abc", "", abierta},
               {"=INPUT -j DROP \\", "", "Error|La regla termina en una barra invertida sola|OK"}};
        for (const QStringList &r : reglas)
            QTest::addRow("regla %s", qPrintable(r[0]))
                << 2 << r[0]
                << (r[1].isEmpty() ? QStringList{PideRegla, r[2]} : QStringList{PideRegla}) << r[1];
        for (const char *r : {"=", "<Escape>"})
            QTest::addRow("regla %s", r) << 2 << r << QStringList{PideRegla} << "";
        // An address may come with blanks around it, a prefix or a dotted mask;
        // it goes as iptables stores it.
        const QStringList ips[] = {{"=65.54.226.254", "65.54.226.254"},
                                   {"= 65.54.226.254\t", "65.54.226.254"},
                                   {"=10.0.0.0/8", "10.0.0.0/8"},
                                   {"=10.1.2.3/255.0.0.0", "10.0.0.0/8"},
                                   {"=192.0.2.77/255.0.255.0", "192.0.2.0/255.0.255.0"}};
        for (const QStringList &r : ips)
            QTest::addRow("IP %s", qPrintable(r[0]))
                << 3 << r[0] << QStringList{PideIp} << "iptables|-A|INPUT|-s|" + r[1] + "|-j|DROP";
        // Wider than a /8 only when confirmed, negative answer first.
        const QString amplia = "Confirmacion|Bloquear %1 deja fuera %2 direcciones: corta casi "
                               "todas las conexiones con este equipo, tambien la suya (ssh -X)."
                               "\n\nDesea bloquearlas?|No (Cancelar)|Si (Bloquear)";
        const QStringList anchas[]
            = {{"=1.2.3.4/0\nSi (Bloquear)", "0.0.0.0/0", "4294967296", "0.0.0.0/0"},
               {"=1.2.3.4/0.0.0.0\nNo (Cancelar)", "0.0.0.0/0", "4294967296", ""},
               {"=10.1.2.3/7\n<Escape>", "10.0.0.0/7", "33554432", ""},
               {"=10.1.2.3/7\n<Return>", "10.0.0.0/7", "33554432", ""}};
        for (const QStringList &r : anchas)
            QTest::addRow("IP %s", qPrintable(r[0]))
                << 3 << r[0] << QStringList{PideIp, amplia.arg(r[1], r[2])}
                << (r[3].isEmpty() ? "" : "iptables|-A|INPUT|-s|" + r[3] + "|-j|DROP");
        for (const char *r : {"=1.2.3.4; touch x", "=1.2.3 .4"}) // the rest: fuzz_ipv4
            QTest::addRow("IP %s", r) << 3 << r << QStringList{PideIp, IpMala} << "";
        QTest::newRow("IP vacia") << 3 << "= " << QStringList{PideIp} << "";
    }
    void cortafuegos()
    {
        QFETCH(int, boton);
        QFETCH(QString, respuesta);
        QFETCH(QStringList, cajas);
        QFETCH(QString, argv);
        Raiz raiz;
        Grabador g;
        QByteArray instantanea = filtro({"-A INPUT -s 10.0.0.1/32 -j DROP", "-A " + Peligrosa});
        g.accion = [&](const QString &c) { // a fake iptables-save; iptables leaves one rule
            raiz.escribir(Instantanea,
                          c == "iptables-save >" + raiz.ruta(Instantanea) ? instantanea : "");
            return 0;
        };
        g.accionVector = [&](const QByteArrayList &) {
            instantanea = filtro({"-A INPUT -j ACCEPT"});
            return 0;
        };
        firewallimpl d(raiz.sistema(g.ejecutor));
        QCOMPARE(entradas(d.lreglas), QStringList({"INPUT -s 10.0.0.1/32 -j DROP", Peligrosa}));
        d.lreglas->setCurrentRow(boton == 1 ? 1 : -1);
        QPushButton *botones[] = {d.PushButton1, d.PushButton1, d.PushButton2, d.PushButton3};
        const QStringList vistas
            = contestar(respuesta.split('\n'), [&] { botones[boton]->click(); });
        QCOMPARE(vistas, cajas);
        QCOMPARE(g.vectores(), argv.isEmpty() ? QList<QByteArrayList>()
                                              : QList<QByteArrayList>{argv.toUtf8().split('|')});
        QCOMPARE(entradas(d.lreglas).size(), argv.isEmpty() ? 2 : 1);
        QFile::remove(raiz.ruta(Instantanea));
        QDir().rmdir(raiz.ruta(Dir));
        g.accion = nullptr; // no snapshot at all now: said, and the list is empty
        const QStringList sinLista = contestar({}, [&] { firewallimpl(raiz.sistema(g.ejecutor)); });
        QCOMPARE(
            sinLista,
            QStringList{"Error|No se pudo leer las reglas de Firewall.\n Intente Recargar...|OK"});
    }

    // Without iptables at all: the snapshot's command and the rule's program
    // are both told as not found.
    void sinIptables()
    {
        Raiz raiz;
        QDir().mkpath(raiz.ruta(Dir));
        const QByteArray camino = qgetenv("PATH");
        qputenv("PATH", "/nonexistent");
        std::unique_ptr<firewallimpl> d;
        QStringList cajas
            = contestar({}, [&] { d = std::make_unique<firewallimpl>(raiz.sistema()); });
        cajas << contestar({"=INPUT -j DROP"}, [&] { d->PushButton2->click(); });
        qputenv("PATH", camino);
        QCOMPARE(cajas.size(), 4);
        QVERIFY2(cajas[0].startsWith("Error|No se encontro el comando:\n\niptables-save >")
                     && cajas[0].contains("not found"),
                 qPrintable(cajas[0]));
        QCOMPARE(cajas[3], "Error|No se encontro el comando:\n\niptables -AINPUT -j DROP\n\n"
                           "iptables: no se encontro el programa|OK");
    }

    // A snapshot from iptables-save with one comment in ISO-8859-1 and one in
    // UTF-8: each rule shows decoded on its own and goes with its own bytes.
    void reglasCodificacion()
    {
        Raiz r;
        Grabador g;
        g.accion = [&](const QString &) {
            r.escribir(Instantanea, muestra("iptables/iptables-latin1.txt"));
            return 0;
        };
        firewallimpl d(r.sistema(g.ejecutor));
        // Its title said whole; entering it, the first rule is the current one.
        QCOMPARE(d.lreglas->accessibleName() + ":", d.TextLabel1->text());
        d.show();
        d.lreglas->setFocus();
        QTRY_COMPARE(d.lreglas->currentRow(), 0);
        const QString comentario = "INPUT -s 192.0.2.%1/32 -m comment --comment \"%2\" -j %3";
        QCOMPARE(entradas(d.lreglas), QStringList({comentario.arg(5).arg("señor", "DROP"),
                                                   comentario.arg(6).arg("a\\\"ño", "ACCEPT")}));
        for (int fila : {1, 0}) {
            d.lreglas->setCurrentRow(fila);
            contestar({"Si (Aceptar)"}, [&] { d.PushButton1->click(); });
        }
        const QByteArray a = "iptables|-D|INPUT|-s|192.0.2.", b = "/32|-m|comment|--comment|";
        QCOMPARE(g.vectores(),
                 QList<QByteArrayList>({(a + "6" + b + "a\"\xc3\xb1o|-j|ACCEPT").split('|'),
                                        (a + "5" + b + "se\xf1or|-j|DROP").split('|')}));
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
            hijo.start("env", {"TALVORA_FW_NETNS=" + red(),
                               "PATH=/usr/sbin:/sbin:" + qgetenv("PATH"), "unshare", "--net",
                               QCoreApplication::applicationFilePath(), "iptablesReal"});
            QVERIFY(hijo.waitForFinished(100000));
            const QString salida = QString::fromLocal8Bit(hijo.readAll());
            if (salida.startsWith("unshare:"))
                QSKIP(
                    qPrintable("no private network namespace here: " + salida.section('\n', 0, 0)));
            QVERIFY2(hijo.exitCode() == 0
                         && salida.contains("PASS   : TstDialogos::iptablesReal()"),
                     qPrintable(salida));
            return;
        }
        QVERIFY2(red() != padre, "still in the machine's network namespace");
        Raiz raiz;
        QDir().mkpath(raiz.ruta(Dir));
        const QString marca = raiz.ruta("/marca");
        firewallimpl d(raiz.sistema());
        contestar({"=192.0.2.7"}, [&] { d.PushButton3->click(); });
        QCOMPARE(entradas(d.lreglas), QStringList{"INPUT -s 192.0.2.7/32 -j DROP"});
        // Comments that a shell or a careless splitter would get wrong; all go below.
        for (const QString c : {"con espacios", "a\"b", "it's", "x $(touch %1) y", "`touch %1`",
                                "a#b", "año ñandú", "back\\slash"})
            QCOMPARE(Sistema()
                         .ejecutarPrograma({"iptables", "-A", "INPUT", "-m", "comment", "--comment",
                                            c.arg(marca).toUtf8(), "-j", "ACCEPT"})
                         .estado,
                     0);
        // And the rules of a real snapshot, one commented in ISO-8859-1.
        for (const QByteArray &r : Reglas::leerInstantanea(muestra("iptables/iptables-latin1.txt")))
            QCOMPARE(Sistema()
                         .ejecutarPrograma(QByteArrayList{"iptables", "-A"} + *Reglas::dividir(r))
                         .estado,
                     0);
        contestar({"=OUTPUT -m comment --comment \"a \\\"mano\\\" \\'x\\'\" -j ACCEPT"},
                  [&] { d.PushButton2->click(); });
        contestar({"=INPUT -s 192.0.2.9 -m comment --comment 'dos palabras' -j DROP"},
                  [&] { d.PushButton2->click(); });
        QVERIFY(entradas(d.lreglas).contains(
            "INPUT -s 192.0.2.9/32 -m comment --comment \"dos palabras\" -j DROP"));
        // A rule iptables refuses is told, with what iptables said.
        const QStringList rechazo
            = contestar({"=INPUT -j NOEXISTE"}, [&] { d.PushButton2->click(); });
        QCOMPARE(rechazo.size(), 2);
        QVERIFY2(rechazo[1].startsWith("Error|El comando termino con error (codigo 2):\n\n"
                                       "iptables -AINPUT -j NOEXISTE\n\niptables")
                     && rechazo[1].contains("NOEXISTE"),
                 qPrintable(rechazo[1]));
        QCOMPARE(d.lreglas->count(), 13);
        for (int n = d.lreglas->count(); n > 0; --n) {
            d.lreglas->setCurrentRow(0);
            const QString regla = d.lreglas->currentItem()->text();
            contestar({"Si (Aceptar)"}, [&] { d.PushButton1->click(); });
            QVERIFY2(d.lreglas->count() == n - 1 && !entradas(d.lreglas).contains(regla),
                     qPrintable(regla));
        }
        QVERIFY(!QFileInfo::exists(marca));
    }

    // Fields left alone keep their ISO-8859-1 bytes, an edited one takes the
    // file's encoding or is refused; commands and paths run from them name
    // the same bytes.
    void ajustesCodificacion()
    {
        Raiz r;
        Grabador g;
        const QByteArray raiz = QFile::encodeName(r.ruta(""));
        const QByteArray conf = muestra("ajustes/latin1.conf").replace("@RAIZ@", raiz);
        const QByteArray xinetd = raiz + "/etc/xinetd.d-se\xf1or/telnet";
        QVERIFY(QDir().mkpath(r.ruta("/var/run")) && QDir().mkpath(r.ruta("/etc")));
        QCOMPARE(::mkdir(xinetd.chopped(7), 0755), 0);
        QVERIFY(Sistema::reemplazarArchivo(xinetd, "{\n\tdisable\t= yes\n}\n"));
        QVERIFY(Sistema::reemplazarArchivo(raiz + "/var/run/squid-se\xf1or.pid", "1\n"));
        r.escribir(Conf, conf);
        Ajustes ajustes;
        QCOMPARE(ajustes.cargar(r.sistema(g.ejecutor)), Ajustes::Carga::Cargado);
        const QByteArray editado = QByteArray(conf).replace("kwrite\n", "gedit \xf1\n");
        const QStringList casos[]
            = {{"cLogSquid", "vi €", conf},
               {"cEditarSquid", "%editor /etc/squid/squid.conf # configuración", conf},
               {"cEditor", "gedit ñ", editado}};
        for (const QStringList &c : casos) {
            confimpl d(r.sistema(g.ejecutor), ajustes);
            d.findChild<QLineEdit *>(c[0])->setText(c[1]);
            const QStringList cajas = contestar({}, [&] { d.bAplicar->click(); });
            QCOMPARE(cajas.size(), int(c[1].contains("€")));
            QCOMPARE(r.leer(Conf), c[2] == conf ? conf : editado);
            QCOMPARE(Ajustes::componer(ajustes.valores()), r.leer(Conf));
        }
        form1 w(r.sistema(g.ejecutor), ajustes);
        QCOMPARE(palabra(w.tSquid) + palabra(w.tTelnet), "ONOFF");
        w.bIniciarSquid->click();
        QTRY_COMPARE(g.crudos().size(), 1);
        w.bEditarSquid->click();
        w.bIniciarTelnet->click();
        QCOMPARE(g.crudos(),
                 QByteArrayList({"/opt/se\xf1or/squid start",
                                 "gedit \xf1 /etc/squid/squid.conf # configuraci\xf3n &"}));
        QCOMPARE(Sistema::leerArchivo(xinetd).value_or(""), "{\n\tdisable\t= no\n}\n");
    }
};

QTEST_MAIN(TstDialogos)
#include "tst_dialogos.moc"

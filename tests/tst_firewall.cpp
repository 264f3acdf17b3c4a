#include "firewalldialog/firewallimpl.h"
#include "firewalldialog/reglas.h"
#include "platform/host.h"
#include "support.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QString Dir = QStringLiteral("/usr/local/share/talvora"), Instantanea = Dir + "/firewall", Volcar = "iptables-save >";
const QString Peligrosa = QStringLiteral("INPUT -m comment --comment \"x $(touch /tmp/p) y\" -j ACCEPT");
const QString PideRegla = QStringLiteral("Ingreso de Dato|Ingrese la regla\nEjemplo: INPUT -s 65.54.226.254 -j DROP\n\niptables -A");
const QString PideIp = QStringLiteral("Ingreso de Dato|Ingrese el IP a bloquear\nEjemplo: 65.54.226.254\n\nIP?");
const QString Confirma = "Confimacion|Desea eliminar la regla:\n\n" + Peligrosa + "|No (Cancelar)|Si (Aceptar)";

// A filter block with the three built-in chains and these lines.
QByteArray filtro(const QStringList &lineas, const QByteArray &fin = "COMMIT\n")
{
    return "*filter\n:INPUT ACCEPT [0:0]\n:FORWARD ACCEPT [0:0]\n:OUTPUT ACCEPT [0:0]\n"
        + (lineas + QStringList{""}).join('\n').toUtf8().mid(lineas.isEmpty()) + fin;
}

QStringList entradas(const QListWidget *l) { QStringList r; for (int i = 0; i < l->count(); ++i) r << l->item(i)->text(); return r; }

} // namespace

class TstFirewall : public QObject
{
    Q_OBJECT

private slots:
    void formulario()
    {
        firewall f;
        QCOMPARE(f.objectName() + ' ' + f.windowTitle(), "firewall Firewall");
        QVERIFY(f.size() == QSize(534, 270) && !f.isModal() && !f.isSizeGripEnabled());
        QStringList hijos; // in creation order
        for (QWidget *w : f.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            hijos << QStringLiteral("%1 %2 %3 %4").arg(w->objectName(), w->metaObject()->className(),
                         QString::asprintf("%d,%d,%d,%d", w->x(), w->y(), w->width(), w->height()), w->property("text").toString()).trimmed();
        QCOMPARE(hijos, QStringList({"PushButton1 QPushButton 105,225,84,25 Eliminar", "PushButton2 QPushButton 225,225,84,25 Agregar",
            "PushButton3 QPushButton 340,225,90,25 Bloquer un IP", "lreglas QListWidget 10,30,515,175",
            "TextLabel1 QLabel 15,10,400,19 Reglas actuales de filtrado (Solo: INPUT,FORWARD y OUTPUT):"}));
        QStringList ranuras;
        for (const QMetaObject *mo : {&firewall::staticMetaObject, &firewallimpl::staticMetaObject})
            for (int i = mo->methodOffset(); i < mo->methodCount(); ++i)
                ranuras << mo->method(i).methodSignature() + ' ' + QByteArray::number(mo->method(i).access());
        QCOMPARE(ranuras.join(", "), "bAgregar() 2, bEliminar() 2, bBloquearIp() 2, bEliminar() 0, bAgregar() 0, bBloquearIp() 0");
    }

    // What the dialog lists from a snapshot, and what its buttons show and run: iptables gets exactly 'argv'
    // with no shell, then a new snapshot is taken.
    void dialogo_data()
    {
        // boton: 1 to 3; 0: "Eliminar" with no current entry; -1: none. argv: "|" between arguments; empty: nothing runs.
        QTest::addColumn<QByteArray>("instantanea"), QTest::addColumn<int>("boton"), QTest::addColumn<QString>("respuesta");
        QTest::addColumn<QStringList>("cajas"), QTest::addColumn<QString>("argv"), QTest::addColumn<QStringList>("lista");
        auto lista = [](const char *nombre, const QByteArray &instantanea, const QStringList &lista, const QStringList &cajas = {}) {
            QTest::newRow(nombre) << instantanea << -1 << QString() << cajas << QString() << lista;
        };
        auto accion = [](const char *nombre, int boton, const char *respuesta, const QStringList &cajas, const char *argv = "") {
            QTest::newRow(nombre) << filtro({"-A INPUT -s 10.0.0.1/32 -j DROP", "-A " + Peligrosa}) << boton
                                  << QString::fromUtf8(respuesta) << cajas << QString::fromUtf8(argv)
                                  << (*argv ? QStringList{"INPUT -j ACCEPT"} : QStringList{"INPUT -s 10.0.0.1/32 -j DROP", Peligrosa});
        };
        lista("tabla filter vacia", filtro({}), {});
        lista("nat y mangle ignoradas", "*nat\n:POSTROUTING ACCEPT [0:0]\n-A POSTROUTING -j MASQUERADE\nCOMMIT\n# x\n" + filtro({
                  "-A INPUT -s 65.54.226.254/32 -j DROP", "-A OUTPUT -j ACCEPT"}) + "*mangle\n-A INPUT -j MARK --set-mark 1\nCOMMIT\n",
              {"INPUT -s 65.54.226.254/32 -j DROP", "OUTPUT -j ACCEPT"});
        lista("cadenas de usuario", filtro({":MICADENA - [0:0]", "-A INPUT -j MICADENA", ":TARDIA - [0:0]", "-A MICADENA -j RETURN"}),
              {"INPUT -j MICADENA", "MICADENA -j RETURN"});
        lista("sin COMMIT", filtro({"-A INPUT -j DROP", "-A FORWARD -j DROP"}, ""), {"INPUT -j DROP", "FORWARD -j DROP"});
        lista("sin COMMIT antes de nat", filtro({"-A INPUT -j DROP"}, "*nat\n-A POSTROUTING -j MASQUERADE\n"), {"INPUT -j DROP"});
        lista("ilegible", {}, {}, {"Error|No se pudo leer las reglas de Firewall.\n Intente Recargar...|OK"});
        accion("eliminar, Si", 1, "Si (Aceptar)", {Confirma}, "iptables|-D|INPUT|-m|comment|--comment|x $(touch /tmp/p) y|-j|ACCEPT");
        accion("eliminar, No", 1, "No (Cancelar)", {Confirma});
        accion("eliminar, Escape", 1, "<Escape>", {Confirma});
        accion("eliminar, Enter", 1, "<Return>", {Confirma});
        accion("eliminar sin entrada actual", 0, "", {});
        accion("regla del ejemplo", 2, "=INPUT -s 65.54.226.254 -j DROP", {PideRegla}, "iptables|-AINPUT|-s|65.54.226.254|-j|DROP");
        accion("regla con comilla sin cerrar", 2, "=INPUT --comment \"abc", {PideRegla});
        accion("regla vacia", 2, "=", {PideRegla});
        accion("regla cancelada", 2, "<Escape>", {PideRegla});
        accion("IP del ejemplo", 3, "=65.54.226.254", {PideIp}, "iptables|-A|INPUT|-s|65.54.226.254|-j|DROP");
        accion("IP con orden de shell", 3, "=1.2.3.4; touch x", {PideIp, "Error|Direccion IP no valida|OK"});
        accion("IP con octeto grande", 3, "=999.1.1.1", {PideIp, "Error|Direccion IP no valida|OK"});
        accion("IP vacia", 3, "=", {PideIp});
        accion("IP cancelada", 3, "<Escape>", {PideIp});
    }
    void dialogo()
    {
        QFETCH(QByteArray, instantanea); QFETCH(int, boton); QFETCH(QString, respuesta);
        QFETCH(QStringList, cajas); QFETCH(QString, argv); QFETCH(QStringList, lista);
        // A fake iptables-save writes the snapshot, if it can; iptables leaves one rule.
        RaizTemporal raiz;
        Grabador g;
        if (!instantanea.isEmpty())
            raiz.crearDirectorio(Dir);
        g.accion = [&](const QString &c) {
            return c == Volcar + raiz.ruta(Instantanea) && raiz.existe(Dir) ? raiz.escribir(Instantanea, instantanea), 0 : 1;
        };
        g.accionVector = [&](const QStringList &) { return instantanea = filtro({"-A INPUT -j ACCEPT"}), 0; };
        std::unique_ptr<firewallimpl> d;
        QCOMPARE(contestar({respuesta}, [&] {
            d = std::make_unique<firewallimpl>();
            d->lreglas->setCurrentRow(boton == 1 ? 1 : -1);
            if (boton >= 0)
                QList<QPushButton *>{d->PushButton1, d->PushButton1, d->PushButton2, d->PushButton3}[boton]->click();
        }), cajas);
        QCOMPARE(entradas(d->lreglas), lista);
        QCOMPARE(g.vectores, argv.isEmpty() ? QList<QStringList>() : QList<QStringList>{argv.split('|')});
        QCOMPARE(g.comandos, QStringList(argv.isEmpty() ? 1 : 2, Volcar + raiz.ruta(Instantanea)));
    }

    void dividirYCitar();
    void iptablesReal();
};

// iptables-save's quoting: bare words, or double quotes inside which a backslash takes the next character.
void TstFirewall::dividirYCitar()
{
    const QList<QPair<QString, QStringList>> lineas = {
        {R"(-D INPUT --comment "it\'s" -j ACCEPT)", {"-D", "INPUT", "--comment", "it's", "-j", "ACCEPT"}},
        {"--comment \"a\\\"b\" \"back\\\\slash\"", {"--comment", "a\"b", "back\\slash"}},
        {R"(--comment "" -j  ACCEPT)", {"--comment", "", "-j", "ACCEPT"}},
        {R"(--comment "x $(touch /tmp/p) y" # ~ *)", {"--comment", "x $(touch /tmp/p) y", "#", "~", "*"}},
        {R"(a\b 'c d' e"f g"h)", {"a\\b", "'c", "d'", "ef gh"}},
        {"--comment \"abc", {"<sin dividir>"}}, {"--comment \"abc\\\"", {"<sin dividir>"}}}; // unclosed
    for (const auto &l : lineas)
        QCOMPARE(Reglas::dividir(l.first).value_or(QStringList{"<sin dividir>"}), l.second);
    QCOMPARE(Reglas::citar({"simple_-1", "", "it's", "a\"b\\c", "año"}), "simple_-1 \"\" \"it\\'s\" \"a\\\"b\\\\c\" \"año\"");
    const QStringList valores{"", " ", "\"", "\\", "\\\"", "'", "a b", "$(touch /tmp/p)", "`id`", "a#b", "año ñandú",
                              "tab\tx", "nueva\nlinea", "\\\\\"'\"", "-j", "x;y|z&"};
    QCOMPARE(Reglas::dividir(Reglas::citar(valores)).value_or(QStringList{"<sin dividir>"}), valores);
    for (const char *buena : {"65.54.226.254", "0.0.0.0", "255.255.255.255", "10.0.0.0/8", "1.2.3.4/0", "1.2.3.4/32"})
        QVERIFY2(Reglas::esIPv4(QString::fromLatin1(buena)), buena);
    for (const char *mala : {"", "256.1.1.1", "1.2.3", "1.2.3.4.5", "1.2.3.4/33", "1.2.3.4/", "01.2.3.4", " 1.2.3.4",
                             "1.2.3.4 -j ACCEPT", "::1", "host.example", "\xd9\xa1.2.3.4"})
        QVERIFY2(!Reglas::esIPv4(QString::fromUtf8(mala)), mala);
}

// The real iptables runs only in a copy of this program that "unshare --net" started, never in this process.
void TstFirewall::iptablesReal()
{
    const QString padre = qEnvironmentVariable("TALVORA_FW_NETNS");
    const auto espacioDeRed = [] { return QFile::symLinkTarget("/proc/self/ns/net").section('/', -1); }; // "net:[inode]"
    if (padre.isEmpty()) {
        if (QStandardPaths::findExecutable("iptables-save", {"/usr/sbin", "/sbin"}).isEmpty())
            QSKIP("iptables-save is not installed; real iptables not run");
        QProcess hijo;
        hijo.setProcessChannelMode(QProcess::MergedChannels);
        hijo.start("env", {"TALVORA_FW_NETNS=" + espacioDeRed(), "PATH=/usr/sbin:/sbin:" + qEnvironmentVariable("PATH"),
                           "unshare", "--net", QCoreApplication::applicationFilePath(), "iptablesReal"});
        QVERIFY(hijo.waitForFinished(100000));
        const QString salida = QString::fromLocal8Bit(hijo.readAll());
        if (salida.startsWith("unshare:") || salida.startsWith("env:")) // not root, no unshare, or not allowed here
            QSKIP(qPrintable("no private network namespace, real iptables not run: " + salida.section('\n', 0, 0)));
        QVERIFY2(hijo.exitCode() == 0 && salida.contains("PASS   : TstFirewall::iptablesReal()"), qPrintable(salida));
        return;
    }
    QVERIFY2(padre.startsWith("net:[") && espacioDeRed().startsWith("net:[") && espacioDeRed() != padre,
             "still in the machine's network namespace");
    RaizTemporal raiz;
    raiz.crearDirectorio(Dir);
    const QString marca = raiz.ruta(QStringLiteral("/marca"));
    firewallimpl d;
    contestar({"=192.0.2.7"}, [&] { d.PushButton3->click(); });
    QCOMPARE(entradas(d.lreglas), QStringList{"INPUT -s 192.0.2.7/32 -j DROP"});
    // Comments that a shell or a careless splitter would get wrong; all go, with the blocked address, below.
    const QStringList comentarios{"con espacios", "a\"b", "it's", "x $(touch " + marca + ") y", "`touch " + marca + "`",
                                  "a#b", "año ñandú", "back\\slash"};
    for (const QString &c : comentarios)
        QCOMPARE(Host::runArgv({"iptables", "-A", "INPUT", "-m", "comment", "--comment", c, "-j", "ACCEPT"}), 0);
    contestar({"=OUTPUT -m comment --comment \"escrito \\\"a mano\\\" \\'x\\'\" -j ACCEPT"}, [&] { d.PushButton2->click(); });
    QCOMPARE(d.lreglas->count(), comentarios.size() + 2);
    for (int n = d.lreglas->count(); n > 0; --n) {
        d.lreglas->setCurrentRow(0);
        const QString regla = d.lreglas->currentItem()->text();
        contestar({"Si (Aceptar)"}, [&] { d.PushButton1->click(); });
        QVERIFY2(d.lreglas->count() == n - 1 && !entradas(d.lreglas).contains(regla), qPrintable(regla));
    }
    QVERIFY(!QFileInfo::exists(marca));
}

QTEST_MAIN(TstFirewall)
#include "tst_firewall.moc"

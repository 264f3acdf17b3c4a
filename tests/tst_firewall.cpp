#include "firewalldialog/firewallimpl.h"
#include "firewalldialog/reglas.h"
#include "platform/host.h"
#include "support.h"

#include <QApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMetaMethod>
#include <QProcess>
#include <QStandardPaths>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <unistd.h>

namespace {

const QString kInstantanea = QStringLiteral("/usr/local/share/talvora/firewall");
const QString kVolcar = QStringLiteral("iptables-save >");

QByteArray tabla(const QString &nombre, const QStringList &cadenas, const QStringList &reglas,
                 bool commit = true)
{
    QStringList l{QStringLiteral("*") + nombre};
    l += cadenas;
    l += reglas;
    if (commit)
        l += QStringLiteral("COMMIT");
    return l.join(QLatin1Char('\n')).toUtf8() + '\n';
}

const QStringList kCadenas{QStringLiteral(":INPUT ACCEPT [0:0]"), QStringLiteral(":FORWARD ACCEPT [0:0]"),
                           QStringLiteral(":OUTPUT ACCEPT [0:0]")};

QByteArray filtro(const QStringList &reglas)
{
    return tabla(QStringLiteral("filter"), kCadenas, reglas);
}

// What one modal window showed; buttons in their on-screen order.
struct Modal {
    QString titulo;
    QString texto;
    QStringList botones;
};

// Answers the modal windows that open while it lives, in turn, and records
// them. Windows beyond the given answers are recorded and closed, so that a
// stray box fails the test instead of hanging it.
class Contestador
{
public:
    using Respuesta = std::function<void(QWidget *)>;
    explicit Contestador(QList<Respuesta> respuestas = {}) : respuestas_(std::move(respuestas))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this]() {
            QWidget *w = QApplication::activeModalWidget();
            if (!w || !w->isVisible())
                return;
            modales.append(describir(w));
            if (respuestas_.isEmpty())
                w->close();
            else
                respuestas_.takeFirst()(w);
        });
        timer_.start(10);
    }
    QList<Modal> modales;

private:
    static Modal describir(QWidget *w)
    {
        Modal m{w->windowTitle(), QString(), {}};
        if (auto *d = qobject_cast<QInputDialog *>(w))
            m.texto = d->labelText();
        if (auto *c = qobject_cast<QMessageBox *>(w)) {
            m.texto = c->text();
            QList<QAbstractButton *> bs = c->buttons();
            std::sort(bs.begin(), bs.end(), [](QAbstractButton *a, QAbstractButton *b) {
                return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
            });
            for (QAbstractButton *b : bs)
                m.botones.append(b->text());
        }
        return m;
    }
    QList<Respuesta> respuestas_;
    QTimer timer_;
};

Contestador::Respuesta escribir(const QString &texto)
{
    return [texto](QWidget *w) {
        QLineEdit *e = w->findChild<QLineEdit *>();
        QVERIFY(e);
        QTest::keyClicks(e, texto);
        QTest::keyClick(e, Qt::Key_Return);
    };
}

Contestador::Respuesta tecla(Qt::Key k)
{
    return [k](QWidget *w) { QTest::keyClick(w, k); };
}

Contestador::Respuesta boton(const QString &texto)
{
    return [texto](QWidget *w) {
        auto *c = qobject_cast<QMessageBox *>(w);
        QAbstractButton *b = c ? botonConTexto(c, texto) : nullptr;
        if (b)
            b->click();
        else
            w->close();
    };
}

// A temporary root whose iptables-save is faked: it writes 'instantanea' to
// the file the command redirects to. iptables calls are only recorded,
// unless 'efecto' changes the snapshot for them.
struct Banco {
    RaizTemporal raiz;
    Grabador grabador;
    QByteArray instantanea;

    Banco()
    {
        raiz.crearDirectorio(QStringLiteral("/usr/local/share/talvora"));
        grabador.accion = [this](const QString &c) {
            if (!c.startsWith(kVolcar))
                return 127;
            QFile f(c.mid(kVolcar.size()));
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return 1;
            f.write(instantanea);
            return 0;
        };
    }
    QStringList volcados(int n) const { return QStringList(n, kVolcar + raiz.ruta(kInstantanea)); }
};

// "net:[inode]" of the network namespace this process is in.
QString espacioDeRed()
{
    char destino[64] = {};
    const ssize_t n = readlink("/proc/self/ns/net", destino, sizeof destino - 1);
    return n > 0 ? QString::fromLatin1(destino, n) : QString();
}

QStringList entradas(const QListWidget *l)
{
    QStringList r;
    for (int i = 0; i < l->count(); ++i)
        r.append(l->item(i)->text());
    return r;
}

} // namespace

class TstFirewall : public QObject
{
    Q_OBJECT

private slots:
    void formulario();
    void listado_data();
    void listado();
    void instantaneaIlegible();
    void eliminar_data();
    void eliminar();
    void entrada_data();
    void entrada();
    void dividirYCitar();
    void direcciones();
    void iptablesReal();
};

// Runs only in the re-executed copy, after main has called unshare.
class EnNamespace : public QObject
{
    Q_OBJECT

public:
    static inline int errorUnshare = 0;

private slots:
    void initTestCase();
    void dialogo();
};

void TstFirewall::formulario()
{
    firewall f;
    QCOMPARE(f.objectName(), QStringLiteral("firewall"));
    QCOMPARE(f.size(), QSize(534, 270));
    QCOMPARE(f.windowTitle(), QStringLiteral("Firewall"));
    QVERIFY(!f.isSizeGripEnabled());
    QVERIFY(!f.isModal());
    const QPixmap icono = f.windowIcon().pixmap(24, 24);
    QCOMPARE(icono.size(), QSize(24, 24));
    QVERIFY(icono.hasAlpha());

    struct Hijo {
        const char *nombre, *clase;
        QRect geometria;
        const char *texto;
    };
    const Hijo hijos[] = {
        {"PushButton1", "QPushButton", {105, 225, 84, 25}, "Eliminar"},
        {"PushButton2", "QPushButton", {225, 225, 84, 25}, "Agregar"},
        {"PushButton3", "QPushButton", {340, 225, 90, 25}, "Bloquer un IP"},
        {"lreglas", "QListWidget", {10, 30, 515, 175}, ""},
        {"TextLabel1", "QLabel", {15, 10, 400, 19}, "Reglas actuales de filtrado (Solo: INPUT,FORWARD y OUTPUT):"},
    };
    const QList<QWidget *> creados = f.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(creados.size(), int(std::size(hijos)));
    for (int i = 0; i < creados.size(); ++i) {
        QWidget *w = creados.at(i);
        QCOMPARE(w->objectName(), QLatin1String(hijos[i].nombre));
        QCOMPARE(w->metaObject()->className(), hijos[i].clase);
        QCOMPARE(w->geometry(), hijos[i].geometria);
        QCOMPARE(w->property("text").toString(), QString::fromUtf8(hijos[i].texto));
    }
    // Focus goes through the creation order.
    QCOMPARE(f.PushButton1->nextInFocusChain(), f.PushButton2);
    QCOMPARE(f.PushButton2->nextInFocusChain(), f.PushButton3);
    QCOMPARE(f.PushButton3->nextInFocusChain(), f.lreglas);

    QCOMPARE(f.lreglas->font().family(), QStringLiteral("Helvetica [Adobe]"));
    QCOMPARE(f.lreglas->font().pointSize(), 12);
    QCOMPARE(f.lreglas->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(f.lreglas->frameShape(), QFrame::StyledPanel);
    QCOMPARE(f.lreglas->frameShadow(), QFrame::Sunken);

    // Slot order in both meta-objects; the buttons reach the form's slots.
    auto ranuras = [](const QMetaObject &mo) {
        QStringList r;
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
            r << QString::fromLatin1(mo.method(i).methodSignature()) + QLatin1Char(' ')
                     + QString::number(mo.method(i).access());
        return r;
    };
    QCOMPARE(ranuras(firewall::staticMetaObject),
             QStringList({"bAgregar() 2", "bEliminar() 2", "bBloquearIp() 2"}));
    QCOMPARE(ranuras(firewallimpl::staticMetaObject),
             QStringList({"bEliminar() 0", "bAgregar() 0", "bBloquearIp() 0"}));
    QTest::ignoreMessage(QtWarningMsg, "firewall::bEliminar(): Not implemented yet!");
    QTest::ignoreMessage(QtWarningMsg, "firewall::bAgregar(): Not implemented yet!");
    QTest::ignoreMessage(QtWarningMsg, "firewall::bBloquearIp(): Not implemented yet!");
    f.PushButton1->click();
    f.PushButton2->click();
    f.PushButton3->click();
}

void TstFirewall::listado_data()
{
    QTest::addColumn<QByteArray>("instantanea");
    QTest::addColumn<QStringList>("esperadas");

    QTest::newRow("tabla filter vacia") << filtro({}) << QStringList();
    QTest::newRow("sin salida") << QByteArray() << QStringList();
    QTest::newRow("nat y mangle ignoradas")
        << tabla("nat", {":PREROUTING ACCEPT [0:0]", ":POSTROUTING ACCEPT [0:0]"},
                 {"-A POSTROUTING -o eth0 -j MASQUERADE"})
               + "# Generated by iptables-save\n"
               + filtro({"-A INPUT -s 65.54.226.254/32 -j DROP", "-A OUTPUT -j ACCEPT"})
               + tabla("mangle", kCadenas, {"-A INPUT -j MARK --set-mark 1"})
        << QStringList{"INPUT -s 65.54.226.254/32 -j DROP", "OUTPUT -j ACCEPT"};
    QTest::newRow("cadenas de usuario")
        << tabla("filter", kCadenas + QStringList{":MICADENA - [0:0]", ":OTRA - [0:0]"},
                 {"-A INPUT -j MICADENA", ":TARDIA - [0:0]", "-A MICADENA -j RETURN"})
        << QStringList{"INPUT -j MICADENA", "MICADENA -j RETURN"};
    QTest::newRow("sin COMMIT") << tabla("filter", kCadenas, {"-A INPUT -j DROP", "-A FORWARD -j DROP"}, false)
                                << QStringList{"INPUT -j DROP", "FORWARD -j DROP"};
    QTest::newRow("sin COMMIT antes de nat")
        << tabla("filter", kCadenas, {"-A INPUT -j DROP"}, false) + tabla("nat", {}, {"-A POSTROUTING -j MASQUERADE"})
        << QStringList{"INPUT -j DROP"};
    QStringList muchas, muchasLineas;
    for (int i = 0; i < 100000; ++i) {
        muchas << QStringLiteral("INPUT -s 10.%1.%2.%3/32 -j DROP").arg(i >> 16).arg((i >> 8) & 255).arg(i & 255);
        muchasLineas << QStringLiteral("-A ") + muchas.last();
    }
    QTest::newRow("100000 reglas") << filtro(muchasLineas) << muchas;
}

void TstFirewall::listado()
{
    QFETCH(QByteArray, instantanea);
    QFETCH(QStringList, esperadas);
    Banco b;
    b.instantanea = instantanea;
    Contestador c;
    firewallimpl d;
    QCOMPARE(entradas(d.lreglas), esperadas);
    QCOMPARE(b.grabador.comandos, b.volcados(1));
    QVERIFY(b.grabador.vectores.isEmpty());
    QVERIFY(c.modales.isEmpty());
}

void TstFirewall::instantaneaIlegible()
{
    RaizTemporal raiz; // no /usr/local/share/talvora: the redirection fails
    Grabador g;
    g.accion = [](const QString &c) {
        QFile f(c.mid(kVolcar.size()));
        return f.open(QIODevice::WriteOnly) ? 0 : 1;
    };
    Contestador c({tecla(Qt::Key_Return)});
    firewallimpl d;
    QCOMPARE(c.modales.size(), 1);
    QCOMPARE(c.modales[0].titulo, QStringLiteral("Error"));
    QCOMPARE(c.modales[0].texto, QStringLiteral("No se pudo leer las reglas de Firewall.\n Intente Recargar..."));
    QCOMPARE(c.modales[0].botones.size(), 1);
    QCOMPARE(d.lreglas->count(), 0);
    QCOMPARE(g.comandos, QStringList{kVolcar + raiz.ruta(kInstantanea)});
}

void TstFirewall::eliminar_data()
{
    QTest::addColumn<int>("respuesta"); // -1: no current entry
    QTest::addColumn<bool>("borra");
    QTest::newRow("Si (Aceptar)") << 0 << true;
    QTest::newRow("No (Cancelar)") << 1 << false;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    QTest::newRow("Enter") << int(Qt::Key_Return) << false;
    QTest::newRow("sin entrada actual") << -1 << false;
}

void TstFirewall::eliminar()
{
    QFETCH(int, respuesta);
    QFETCH(bool, borra);
    const QString peligrosa = QStringLiteral("INPUT -m comment --comment \"x $(touch /tmp/p) y\" -j ACCEPT");
    Banco b;
    b.instantanea = filtro({"-A INPUT -s 10.0.0.1/32 -j DROP", "-A " + peligrosa});
    b.grabador.accionVector = [&b](const QStringList &) {
        b.instantanea = filtro({"-A INPUT -s 10.0.0.1/32 -j DROP"});
        return 0;
    };
    firewallimpl d;
    if (respuesta >= 0)
        d.lreglas->setCurrentRow(1);

    QList<Contestador::Respuesta> r;
    if (respuesta == 0)
        r << boton("Si (Aceptar)");
    else if (respuesta == 1)
        r << boton("No (Cancelar)");
    else if (respuesta > 1)
        r << tecla(Qt::Key(respuesta));
    Contestador c(r);
    d.PushButton1->click();

    QCOMPARE(c.modales.size(), respuesta >= 0 ? 1 : 0);
    if (respuesta >= 0) {
        QCOMPARE(c.modales[0].titulo, QStringLiteral("Confimacion"));
        QCOMPARE(c.modales[0].texto, "Desea eliminar la regla:\n\n" + peligrosa);
        QCOMPARE(c.modales[0].botones, QStringList({"No (Cancelar)", "Si (Aceptar)"}));
    }
    if (borra) {
        const QStringList vector{"iptables", "-D", "INPUT", "-m", "comment", "--comment",
                                 "x $(touch /tmp/p) y", "-j", "ACCEPT"};
        QCOMPARE(b.grabador.vectores, QList<QStringList>{vector});
        QCOMPARE(b.grabador.comandos, b.volcados(2));
        QCOMPARE(entradas(d.lreglas), QStringList{"INPUT -s 10.0.0.1/32 -j DROP"});
    } else {
        QVERIFY(b.grabador.vectores.isEmpty());
        QCOMPARE(b.grabador.comandos, b.volcados(1));
        QCOMPARE(d.lreglas->count(), 2);
    }
}

void TstFirewall::entrada_data()
{
    QTest::addColumn<int>("boton"); // 2: Agregar, 3: Bloquer un IP
    QTest::addColumn<bool>("acepta");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("vector"); // empty: nothing runs
    QTest::addColumn<bool>("avisa");         // "Direccion IP no valida"

    QTest::newRow("regla del ejemplo")
        << 2 << true << "INPUT -s 65.54.226.254 -j DROP"
        << QStringList{"iptables", "-AINPUT", "-s", "65.54.226.254", "-j", "DROP"} << false;
    QTest::newRow("regla con espacio inicial")
        << 2 << true << " FORWARD -j ACCEPT" << QStringList{"iptables", "-A", "FORWARD", "-j", "ACCEPT"} << false;
    QTest::newRow("regla con comentario")
        << 2 << true << "INPUT -m comment --comment \"a b; rm -rf x `id` \\\"c\\\"\" -j ACCEPT"
        << QStringList{"iptables", "-AINPUT", "-m", "comment", "--comment", "a b; rm -rf x `id` \"c\"", "-j", "ACCEPT"}
        << false;
    QTest::newRow("regla con comilla sin cerrar") << 2 << true << "INPUT --comment \"abc" << QStringList() << false;
    QTest::newRow("regla vacia") << 2 << true << "" << QStringList() << false;
    QTest::newRow("regla cancelada") << 2 << false << "INPUT -j DROP" << QStringList() << false;
    QTest::newRow("IP del ejemplo")
        << 3 << true << "65.54.226.254" << QStringList{"iptables", "-A", "INPUT", "-s", "65.54.226.254", "-j", "DROP"}
        << false;
    QTest::newRow("red") << 3 << true << "10.0.0.0/8"
                         << QStringList{"iptables", "-A", "INPUT", "-s", "10.0.0.0/8", "-j", "DROP"} << false;
    QTest::newRow("IP con orden de shell") << 3 << true << "1.2.3.4; touch x" << QStringList() << true;
    QTest::newRow("octeto grande") << 3 << true << "999.1.1.1" << QStringList() << true;
    QTest::newRow("prefijo grande") << 3 << true << "1.2.3.4/33" << QStringList() << true;
    QTest::newRow("IP con opciones") << 3 << true << "1.2.3.4 -j ACCEPT -s 5.6.7.8" << QStringList() << true;
    QTest::newRow("IP vacia") << 3 << true << "" << QStringList() << false;
    QTest::newRow("IP cancelada") << 3 << false << "65.54.226.254" << QStringList() << false;
}

void TstFirewall::entrada()
{
    QFETCH(int, boton);
    QFETCH(bool, acepta);
    QFETCH(QString, texto);
    QFETCH(QStringList, vector);
    QFETCH(bool, avisa);
    Banco b;
    b.instantanea = filtro({"-A INPUT -j ACCEPT"});
    b.grabador.accionVector = [&b](const QStringList &) {
        b.instantanea = filtro({"-A INPUT -j ACCEPT", "-A INPUT -s 65.54.226.254/32 -j DROP"});
        return 0;
    };
    firewallimpl d;

    Contestador c({acepta ? escribir(texto) : tecla(Qt::Key_Escape), tecla(Qt::Key_Return)});
    (boton == 2 ? d.PushButton2 : d.PushButton3)->click();
    QCOMPARE(c.modales.size(), avisa ? 2 : 1);
    QCOMPARE(c.modales[0].titulo, QStringLiteral("Ingreso de Dato"));
    QCOMPARE(c.modales[0].texto,
             boton == 2 ? QStringLiteral("Ingrese la regla\nEjemplo: INPUT -s 65.54.226.254 -j DROP\n\niptables -A")
                        : QStringLiteral("Ingrese el IP a bloquear\nEjemplo: 65.54.226.254\n\nIP?"));
    if (avisa) {
        QCOMPARE(c.modales[1].titulo, QStringLiteral("Error"));
        QCOMPARE(c.modales[1].texto, QStringLiteral("Direccion IP no valida"));
    }
    if (vector.isEmpty()) {
        QVERIFY(b.grabador.vectores.isEmpty());
        QCOMPARE(b.grabador.comandos, b.volcados(1));
        QCOMPARE(entradas(d.lreglas), QStringList{"INPUT -j ACCEPT"});
    } else {
        QCOMPARE(b.grabador.vectores, QList<QStringList>{vector});
        QCOMPARE(b.grabador.comandos, b.volcados(2));
        QCOMPARE(entradas(d.lreglas), QStringList({"INPUT -j ACCEPT", "INPUT -s 65.54.226.254/32 -j DROP"}));
    }
}

void TstFirewall::dividirYCitar()
{
    // Lines as iptables-save prints them.
    const struct {
        const char *linea;
        QStringList argumentos;
    } lineas[] = {
        {R"(-D INPUT -m comment --comment "it\'s" -j ACCEPT)", {"-D", "INPUT", "-m", "comment", "--comment", "it's", "-j", "ACCEPT"}},
        {R"(--comment "a\"b" x)", {"--comment", "a\"b", "x"}},
        {R"(--comment "back\\slash")", {"--comment", "back\\slash"}},
        {R"(--comment "" -j  ACCEPT)", {"--comment", "", "-j", "ACCEPT"}},
        {"--comment \"tab\tx\"\t-j", {"--comment", "tab\tx", "-j"}},
        {R"(--comment "x $(touch /tmp/p) y" # ~ *)", {"--comment", "x $(touch /tmp/p) y", "#", "~", "*"}},
        {R"(a\b 'c d')", {"a\\b", "'c", "d'"}},
        {R"(--comment a"b c"d)", {"--comment", "ab cd"}},
    };
    for (const auto &l : lineas)
        QCOMPARE(Reglas::dividir(QString::fromUtf8(l.linea)).value_or(QStringList{"<sin dividir>"}), l.argumentos);
    for (const char *mala : {R"(--comment "abc)", R"(--comment "abc\")", R"(-i we"ird -j ACCEPT)"})
        QVERIFY2(!Reglas::dividir(QString::fromUtf8(mala)), mala);

    QCOMPARE(Reglas::citar({"simple_-1", "", "it's", "a\"b\\c", "año"}),
             QStringLiteral(R"(simple_-1 "" "it\'s" "a\"b\\c" "año")"));
    const QStringList valores{"", " ", "\"", "\\", "\\\"", "'", "a b", "$(touch /tmp/p)", "`id`", "a#b",
                              "año ñandú", "tab\tx", "nueva\nlinea", "\\\\\"'\"", "-j", "x;y|z&"};
    QCOMPARE(Reglas::dividir(Reglas::citar(valores)).value_or(QStringList{"<sin dividir>"}), valores);
}

void TstFirewall::direcciones()
{
    for (const char *buena : {"65.54.226.254", "0.0.0.0", "255.255.255.255", "10.0.0.0/8", "1.2.3.4/0", "1.2.3.4/32"})
        QVERIFY2(Reglas::esIPv4(QString::fromLatin1(buena)), buena);
    for (const char *mala : {"", "999.1.1.1", "256.1.1.1", "1.2.3", "1.2.3.4.5", "1.2.3.4/33", "1.2.3.4/", "01.2.3.4",
                             "1.2.3.4/08", " 1.2.3.4", "1.2.3.4\n", "1.2.3.4; touch x", "::1", "host.example", "1.2.3.-4"})
        QVERIFY2(!Reglas::esIPv4(QString::fromLatin1(mala)), mala);
    QVERIFY(!Reglas::esIPv4(QStringLiteral("١.2.3.4"))); // non-ASCII digit
}

// The real iptables runs in a copy of this program that has moved into a
// network namespace of its own (see main), never in this process.
void TstFirewall::iptablesReal()
{
    if (geteuid() != 0)
        QSKIP("needs root to create a private network namespace; real iptables not run");
    if (QStandardPaths::findExecutable(QStringLiteral("iptables-save"), {"/usr/sbin", "/sbin"}).isEmpty())
        QSKIP("iptables-save not installed; real iptables not run");

    QProcess hijo;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TALVORA_FW_NETNS"), espacioDeRed());
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/sbin:/sbin:") + env.value(QStringLiteral("PATH")));
    hijo.setProcessEnvironment(env);
    hijo.setProcessChannelMode(QProcess::MergedChannels);
    hijo.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(hijo.waitForFinished(100000));
    const QString salida = QString::fromLocal8Bit(hijo.readAll());
    const qsizetype salto = salida.indexOf(QLatin1String("SKIP   :"));
    if (salto >= 0)
        QSKIP(qPrintable("no private network namespace, real iptables not run: "
                         + salida.mid(salto).section(QLatin1Char('\n'), 0, 0)));
    QVERIFY2(hijo.exitStatus() == QProcess::NormalExit && hijo.exitCode() == 0, qPrintable(salida));
    QVERIFY2(salida.contains(QLatin1String("PASS   : EnNamespace::dialogo()")), qPrintable(salida));
}

void EnNamespace::initTestCase()
{
    if (errorUnshare != 0)
        QSKIP(qPrintable(QStringLiteral("unshare(CLONE_NEWNET): ") + QString::fromLocal8Bit(strerror(errorUnshare))));
    const QString antes = qEnvironmentVariable("TALVORA_FW_NETNS");
    const QString ahora = espacioDeRed();
    QVERIFY2(antes.startsWith(QLatin1String("net:[")) && ahora.startsWith(QLatin1String("net:["))
                 && antes != ahora,
             qPrintable("still in the machine's network namespace: " + ahora));
}

void EnNamespace::dialogo()
{
    RaizTemporal raiz;
    raiz.crearDirectorio(QStringLiteral("/usr/local/share/talvora"));
    QTemporaryDir marcas;
    const QString marca = marcas.filePath(QStringLiteral("p"));
    const QString ip = QStringLiteral("192.0.2.7");

    firewallimpl d;
    QCOMPARE(d.lreglas->count(), 0); // a new namespace starts with no rules
    {
        Contestador c({escribir(ip)});
        d.PushButton3->click();
    }
    QCOMPARE(entradas(d.lreglas), QStringList{"INPUT -s 192.0.2.7/32 -j DROP"});
    {
        d.lreglas->setCurrentRow(0);
        Contestador c({boton(QStringLiteral("Si (Aceptar)"))});
        d.PushButton1->click();
    }
    QCOMPARE(d.lreglas->count(), 0);

    const QStringList comentarios{"con espacios", "a\"b", "it's", "x $(touch " + marca + ") y",
                                  "`touch " + marca + "`", "a#b", "año ñandú", "back\\slash"};
    for (const QString &comentario : comentarios)
        QCOMPARE(Host::runArgv({"iptables", "-A", "INPUT", "-m", "comment", "--comment", comentario, "-j", "ACCEPT"}), 0);
    {
        Contestador c({escribir(R"(OUTPUT -m comment --comment "escrito \"a mano\" \'x\'" -j ACCEPT)")});
        d.PushButton2->click();
    }
    QCOMPARE(d.lreglas->count(), comentarios.size() + 1);
    QVERIFY(entradas(d.lreglas).contains(QStringLiteral(R"(INPUT -m comment --comment "año ñandú" -j ACCEPT)")));
    while (d.lreglas->count() > 0) {
        const QString regla = d.lreglas->item(0)->text();
        const int antes = d.lreglas->count();
        d.lreglas->setCurrentRow(0);
        Contestador c({boton(QStringLiteral("Si (Aceptar)"))});
        d.PushButton1->click();
        QVERIFY2(d.lreglas->count() == antes - 1 && !entradas(d.lreglas).contains(regla), qPrintable(regla));
    }
    QVERIFY(!QFileInfo::exists(marca));
}

int main(int argc, char **argv)
{
    // The copy that may touch real tables leaves the machine's namespace
    // before anything else starts (unshare wants one thread).
    const bool enNamespace = qEnvironmentVariableIsSet("TALVORA_FW_NETNS");
    if (enNamespace && unshare(CLONE_NEWNET) != 0)
        EnNamespace::errorUnshare = errno ? errno : EPERM;
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    if (enNamespace) {
        EnNamespace t;
        return QTest::qExec(&t, argc, argv);
    }
    TstFirewall t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_firewall.moc"

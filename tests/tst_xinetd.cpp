// Switching the xinetd-run services on and off by rewriting their service
// files: the rewriting rules, the re-probe, the xinetd restart, and how the
// file is replaced.
#include "mainwindow/marcas.h"
#include "mainwindow/xinetd.h"
#include "ventana.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QString servicio(const Ventana &v, const QString &nombre)
{
    return v.raiz.ruta(QStringLiteral("/etc/xinetd.d/") + nombre);
}
void escribir(const Ventana &v, const QString &nombre, const QByteArray &c)
{
    v.raiz.escribir(QStringLiteral("/etc/xinetd.d/") + nombre, c);
}
QByteArray leer(const Ventana &v, const QString &nombre)
{
    return v.raiz.leer(QStringLiteral("/etc/xinetd.d/") + nombre);
}
void xinetdEncendido(const Ventana &v)
{
    v.raiz.escribir(QStringLiteral("/var/run/xinetd.pid"), "1\n");
}

const QByteArray apagado = "service telnet\n{\n\tflags\t\t= REUSE\n\tdisable\t\t= yes\n}\n";
const QByteArray encendido = "service telnet\n{\n\tflags\t\t= REUSE\n\tdisable\t= no\n}\n";
const QByteArray apagadoOtraVez = "service telnet\n{\n\tflags\t\t= REUSE\n\tdisable\t= yes\n}\n";

// The four services: file, label, switch-on and switch-off slots.
struct Servicio {
    const char *archivo, *etiqueta, *iniciar, *detener;
};
const Servicio servicios[] = {
    {"telnet", "tTelnet", "bIniciarTelnet_Click", "bDetenerTelnet_Click"},
    {"wu-ftpd", "tFtp", "bIniciarFtp_Click", "bDetenerFtp_Click"},
    {"ipop3", "tPop3", "bIniciarPop3_Click", "bDetenerPop3_Click"},
    {"swat", "tSwat", "bIniciarSwat_Click", "bDetenerSwat_Click"},
};

QLabel *etiqueta(form1 *w, const char *nombre)
{
    return w->findChild<QLabel *>(QLatin1String(nombre));
}

} // namespace

class TstXinetd : public QObject
{
    Q_OBJECT

private slots:
    void reescribir_data();
    void reescribir();
    void encenderYApagar();
    void casos_data();
    void casos();
    void reinicioDeXinetd_data();
    void reinicioDeXinetd();
    void archivoAusente();
    void noReemplazable_data();
    void noReemplazable();
    void conservaAtributos();
    void enlaceSimbolico();
};

void TstXinetd::reescribir_data()
{
    QTest::addColumn<int>("direccion");
    QTest::addColumn<QByteArray>("antes");
    QTest::addColumn<QByteArray>("despues");

    QTest::newRow("on, tabs") << 1 << apagado << encendido;
    QTest::newRow("off, tabs") << 0 << encendido << apagadoOtraVez;
    QTest::newRow("on, already no") << 1 << encendido << encendido;
    QTest::newRow("off, already yes") << 0 << apagado << apagado;
    QTest::newRow("off, comment repeats no") << 0 << QByteArray("\tdisable = no\t# no\n") << QByteArray("\tdisable\t= yes\n");
    QTest::newRow("off, text after last no") << 0 << QByteArray("  disable=no # no!\n") << QByteArray("  disable\t= yes!\n");
    QTest::newRow("on, greedy to last yes") << 1 << QByteArray("disable = yes # yes yes.\n") << QByteArray("disable\t= no.\n");
    QTest::newRow("no disable line") << 0 << QByteArray("service x\n{\n\tport = 23\n}\n") << QByteArray("service x\n{\n\tport = 23\n}\n");
    QTest::newRow("last line gains newline") << 1 << QByteArray("a\n\tdisable = yes") << QByteArray("a\n\tdisable\t= no\n");
    QTest::newRow("comment lines too") << 1 << QByteArray("# disable = yes\n") << QByteArray("# disable\t= no\n");
    QTest::newRow("case-sensitive") << 1 << QByteArray("\tDisable = yes\n\tdisable = YES\n") << QByteArray("\tDisable = yes\n\tdisable = YES\n");
    QTest::newRow("needs an equals sign") << 1 << QByteArray("disable yes\n") << QByteArray("disable yes\n");
    QTest::newRow("other direction switches off") << 7 << encendido << apagadoOtraVez;
    QTest::newRow("bytes kept") << 1 << QByteArray("# caf\xe9\n\tdisable = yes\n\n") << QByteArray("# caf\xe9\n\tdisable\t= no\n\n");
    QTest::newRow("CRLF read as lines") << 0 << QByteArray("a\r\ndisable = no\r\n") << QByteArray("a\ndisable\t= yes\n");
    QTest::newRow("empty file") << 1 << QByteArray() << QByteArray();
}

void TstXinetd::reescribir()
{
    QFETCH(int, direccion);
    QFETCH(QByteArray, antes);
    QFETCH(QByteArray, despues);
    QCOMPARE(reescribirXinetd(antes, direccion), despues);
}

// All four services on, then off, with xinetd shown OFF: the files change,
// the labels follow about a second later, and no command runs.
void TstXinetd::encenderYApagar()
{
    Ventana v({}, [](Ventana &p) {
        for (const Servicio &s : servicios)
            escribir(p, QLatin1String(s.archivo), apagado);
    });
    QCOMPARE(v.w->tXinetd->text(), MarcaOff);

    for (int direccion : {1, 0}) {
        const QString antes = direccion ? MarcaOff : MarcaOn;
        const QString despues = direccion ? MarcaOn : MarcaOff;
        QElapsedTimer reloj;
        reloj.start();
        for (const Servicio &s : servicios) {
            QCOMPARE(etiqueta(v.w.get(), s.etiqueta)->text(), antes);
            QVERIFY(QMetaObject::invokeMethod(v.w.get(), direccion ? s.iniciar : s.detener));
            QCOMPARE(leer(v, QLatin1String(s.archivo)), direccion ? encendido : apagadoOtraVez);
            QCOMPARE(etiqueta(v.w.get(), s.etiqueta)->text(), antes);
        }
        QTest::qWait(600);
        for (const Servicio &s : servicios)
            QCOMPARE(etiqueta(v.w.get(), s.etiqueta)->text(), antes);
        for (const Servicio &s : servicios)
            QTRY_COMPARE_WITH_TIMEOUT(etiqueta(v.w.get(), s.etiqueta)->text(), despues, 3000);
        QVERIFY(reloj.elapsed() >= 900);
    }
    QVERIFY(v.grabador.comandos.isEmpty());
}

// Edge cases on a real file: what is written, and what the re-probe shows.
void TstXinetd::casos_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QByteArray>("antes");
    QTest::addColumn<QByteArray>("despues");
    QTest::addColumn<QString>("marca");

    QTest::newRow("comment repeating no") << QByteArray("bDetenerTelnet_Click")
        << QByteArray("service telnet\n{\n\tdisable\t= no\t# no\n}\n")
        << QByteArray("service telnet\n{\n\tdisable\t= yes\n}\n") << MarcaOff;
    QTest::newRow("no disable line") << QByteArray("bDetenerTelnet_Click")
        << QByteArray("service telnet\n{\n\tport\t= 23\n}\n")
        << QByteArray("service telnet\n{\n\tport\t= 23\n}\n") << MarcaOn;
    QTest::newRow("last line without newline") << QByteArray("bIniciarTelnet_Click")
        << QByteArray("service telnet\n{\n\tdisable\t\t= yes\n}")
        << QByteArray("service telnet\n{\n\tdisable\t= no\n}\n") << MarcaOn;
}

void TstXinetd::casos()
{
    QFETCH(QByteArray, slot);
    QFETCH(QByteArray, antes);
    QFETCH(QByteArray, despues);
    QFETCH(QString, marca);

    Ventana v({}, [&](Ventana &p) { escribir(p, QStringLiteral("telnet"), antes); });
    v.w->tTelnet->setText(QString());
    QVERIFY(QMetaObject::invokeMethod(v.w.get(), slot.constData()));
    QCOMPARE(leer(v, QStringLiteral("telnet")), despues);
    QCOMPARE(v.w->tTelnet->text(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(v.w->tTelnet->text(), marca, 3000);
}

// xinetd is restarted only when its label shows exactly the ON markup.
void TstXinetd::reinicioDeXinetd_data()
{
    QTest::addColumn<QString>("xinetd");
    QTest::addColumn<bool>("reinicia");
    QTest::newRow("ON") << MarcaOn << true;
    QTest::newRow("OFF") << MarcaOff << false;
    QTest::newRow("Error") << MarcaError << false;
    QTest::newRow("pending") << MarcaPendiente << false;
    QTest::newRow("ON with a blank") << MarcaOn + QLatin1Char(' ') << false;
}

void TstXinetd::reinicioDeXinetd()
{
    QFETCH(QString, xinetd);
    QFETCH(bool, reinicia);

    Ventana v({{"cReiniciarXinetd", "service xinetd restart"}, {"cIniciarXinetd", "no"}},
              [](Ventana &p) { escribir(p, QStringLiteral("swat"), encendido); });
    v.w->tXinetd->setText(xinetd);
    v.w->bDetenerSwat->click();
    QCOMPARE(leer(v, QStringLiteral("swat")), apagadoOtraVez);
    QCOMPARE(v.grabador.comandos, reinicia ? QStringList{"service xinetd restart"} : QStringList());
    QCOMPARE(v.w->tXinetd->text(), reinicia ? MarcaPendiente : xinetd);
    QTRY_COMPARE_WITH_TIMEOUT(v.w->tSwat->text(), MarcaOff, 3000);
    if (reinicia) // the restart's own probe, 2 s after it returned (no pid file: OFF)
        QTRY_COMPARE_WITH_TIMEOUT(v.w->tXinetd->text(), MarcaOff, 3000);
}

// A missing service file: Error, no file created, no restart, no re-probe.
void TstXinetd::archivoAusente()
{
    Ventana v({}, [](Ventana &p) { xinetdEncendido(p); });
    QCOMPARE(v.w->tXinetd->text(), MarcaOn);
    QCOMPARE(v.w->tPop3->text(), MarcaError);
    for (const char *slot : {"bIniciarPop3_Click", "bDetenerPop3_Click"}) {
        v.w->tPop3->setText(QString());
        QVERIFY(QMetaObject::invokeMethod(v.w.get(), slot));
        QCOMPARE(v.w->tPop3->text(), MarcaError);
        QVERIFY(!QFileInfo::exists(servicio(v, QStringLiteral("ipop3"))));
    }
    QVERIFY(v.grabador.comandos.isEmpty());
    QCOMPARE(v.w->tXinetd->text(), MarcaOn);
    // Were a re-probe armed, it would now read this file and show ON.
    escribir(v, QStringLiteral("ipop3"), encendido);
    QTest::qWait(1500);
    QCOMPARE(v.w->tPop3->text(), MarcaError);
}

// A file that cannot be replaced: Error, old content whole, no restart,
// no re-probe.
void TstXinetd::noReemplazable_data()
{
    QTest::addColumn<bool>("directorio");
    QTest::newRow("immutable file") << false;
    QTest::newRow("immutable directory") << true;
}

void TstXinetd::noReemplazable()
{
    QFETCH(bool, directorio);

    Ventana v({}, [](Ventana &p) {
        xinetdEncendido(p);
        escribir(p, QStringLiteral("telnet"), apagado);
    });
    Inmutable inmutable;
    const QString ruta = servicio(v, QStringLiteral("telnet"));
    if (!inmutable.poner(directorio ? QFileInfo(ruta).absolutePath() : ruta))
        QSKIP("chattr +i is not available here");

    v.w->bIniciarTelnet->click();
    QCOMPARE(v.w->tTelnet->text(), MarcaError);
    QCOMPARE(leer(v, QStringLiteral("telnet")), apagado);
    QVERIFY(v.grabador.comandos.isEmpty());
    QCOMPARE(v.w->tXinetd->text(), MarcaOn);
    QCOMPARE(QDir(QFileInfo(ruta).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{"telnet"});
    QTest::qWait(1500);
    QCOMPARE(v.w->tTelnet->text(), MarcaError);
}

// The rewritten file is a new file renamed into place that keeps the old
// one's mode, owner, group and extended attributes.
void TstXinetd::conservaAtributos()
{
    Ventana v({}, [](Ventana &p) { escribir(p, QStringLiteral("telnet"), apagado); });
    const QByteArray ruta = QFile::encodeName(servicio(v, QStringLiteral("telnet")));
    QCOMPARE(::chmod(ruta.constData(), 0640), 0);
    if (::chown(ruta.constData(), 65534, 65534) != 0)
        QSKIP("cannot give the file to nobody:nogroup (not root?)");
    const QByteArray valor = "prueba de talvora";
    const bool xattr = ::setxattr(ruta.constData(), "user.talvora", valor.constData(), valor.size(), 0) == 0;
    struct stat antes {};
    QCOMPARE(::stat(ruta.constData(), &antes), 0);

    v.w->bIniciarTelnet->click();
    QCOMPARE(leer(v, QStringLiteral("telnet")), encendido);
    struct stat despues {};
    QCOMPARE(::stat(ruta.constData(), &despues), 0);
    QVERIFY(despues.st_ino != antes.st_ino);
    QCOMPARE(despues.st_mode & 07777, mode_t(0640));
    QCOMPARE(despues.st_uid, antes.st_uid);
    QCOMPARE(despues.st_gid, antes.st_gid);
    if (xattr) {
        char leido[64] = {};
        const ssize_t n = ::getxattr(ruta.constData(), "user.talvora", leido, sizeof leido);
        QCOMPARE(QByteArray(leido, int(qMax<ssize_t>(n, 0))), valor);
    }
    QCOMPARE(despues.st_uid, uid_t(65534));
    QTRY_COMPARE_WITH_TIMEOUT(v.w->tTelnet->text(), MarcaOn, 3000);
    if (!xattr)
        QSKIP("user.* extended attributes unsupported here");
}

void TstXinetd::enlaceSimbolico()
{
    Ventana v({}, [](Ventana &p) {
        p.raiz.escribir(QStringLiteral("/etc/xinetd.real/telnet"), apagado);
        QVERIFY(QFile::link(QStringLiteral("../xinetd.real/telnet"), servicio(p, QStringLiteral("telnet"))));
    });
    QCOMPARE(v.w->tTelnet->text(), MarcaOff);
    v.w->bIniciarTelnet->click();
    const QFileInfo enlace(servicio(v, QStringLiteral("telnet")));
    QVERIFY(enlace.isSymLink());
    QCOMPARE(enlace.symLinkTarget(), v.raiz.ruta(QStringLiteral("/etc/xinetd.real/telnet")));
    QCOMPARE(v.raiz.leer(QStringLiteral("/etc/xinetd.real/telnet")), encendido);
    QTRY_COMPARE_WITH_TIMEOUT(v.w->tTelnet->text(), MarcaOn, 3000);
}

QTEST_MAIN(TstXinetd)
#include "tst_xinetd.moc"

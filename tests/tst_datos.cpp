// The installed data files: the router script run for real in a sandbox,
// the default access-control lists checked by tcpdchk, the alarm sound, the
// manual, the desktop entry and the install rules.
#include "mainwindow/accesos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <unistd.h>

namespace {

QString fuente(const QString &relativa)
{
    return qEnvironmentVariable("TALVORA_SOURCE_DIR") + QLatin1Char('/') + relativa;
}

QByteArray leer(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Salida {
    int codigo = -1;
    QByteArray out, err;
};

// Never waits for ever: a hanging script counts as a failure.
Salida ejecutar(const QString &programa, const QStringList &args,
                const QString &directorio = QString())
{
    QProcess p;
    if (!directorio.isEmpty())
        p.setWorkingDirectory(directorio);
    p.start(programa, args);
    Salida s;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        s.err = "timeout";
        return s;
    }
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.out = p.readAllStandardOutput();
    s.err = p.readAllStandardError();
    return s;
}

// Empty when namespaces can be used; otherwise why not.
QString sinSandbox()
{
    if (geteuid() != 0)
        return QStringLiteral("needs root");
    if (QStandardPaths::findExecutable(QStringLiteral("unshare")).isEmpty())
        return QStringLiteral("unshare not installed");
    if (ejecutar(QStringLiteral("unshare"), {"--net", "--mount", "true"}).codigo != 0)
        return QStringLiteral("unshare --net --mount not permitted here");
    return QString();
}

QMap<QString, QString> claves(const QByteArray &texto)
{
    QMap<QString, QString> m;
    for (const QByteArray &l : texto.split('\n')) {
        const int igual = l.indexOf('=');
        if (igual > 0)
            m.insert(QString::fromUtf8(l.left(igual)), QString::fromUtf8(l.mid(igual + 1)));
    }
    return m;
}

} // namespace

class TstDatos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void korvGateCabecera();
    void korvGateEnUnaRedPrivada();
    void listasPorDefectoSegunTcpdchk();
    void sonidoEsWavPcm();
    void manualYEntradaDeEscritorio();
    void instalacion();
};

void TstDatos::initTestCase()
{
    QVERIFY2(QFileInfo(fuente("data/install.cmake")).isFile(),
             "TALVORA_SOURCE_DIR must name the source tree");
}

void TstDatos::korvGateCabecera()
{
    const QString script = fuente("data/pordefecto/korv-gate");
    QVERIFY(QFileInfo(script).isExecutable());
    const QByteArray texto = leer(script);
    QVERIFY(texto.startsWith("#!/bin/bash\n"));
    QVERIFY(QRegularExpression("^# chkconfig: [0-6-]+ \\d+ \\d+$", QRegularExpression::MultilineOption)
                .match(QString::fromUtf8(texto)).hasMatch());
    QVERIFY(texto.contains("\n# description: "));
    const Salida s = ejecutar("bash", {"-n", script});
    QVERIFY2(s.codigo == 0, s.err.constData());
}

void TstDatos::korvGateEnUnaRedPrivada()
{
    const QString motivo = sinSandbox();
    if (!motivo.isEmpty())
        QSKIP(qPrintable("korv-gate is run for real only in a private namespace: " + motivo));
    if (QStandardPaths::findExecutable("iptables", {"/usr/sbin", "/sbin"}).isEmpty())
        QSKIP("iptables not installed");

    QTemporaryDir run;
    QVERIFY(run.isValid());
    // /var/run is replaced by an empty directory in the private mount
    // namespace; a foreign rule in each table must survive the stop.
    const QString guion = QStringLiteral(R"(
set -u
mount --bind "$1" /var/run || exit 99
S="$2"
pid() { test -e /var/run/korv-gate.pid && echo si || echo no; }
fwd() { cat /proc/sys/net/ipv4/ip_forward; }
echo fwd0=$(fwd)
iptables -w 5 -A FORWARD -s 203.0.113.9 -j DROP
iptables -w 5 -t nat -A POSTROUTING -o lo -j RETURN
"$S" start >/dev/null; echo start=$?; echo pid_start=$(pid); echo fwd_start=$(fwd)
"$S" status >/dev/null; echo status=$?
"$S" restart >/dev/null; echo restart=$?; echo pid_restart=$(pid)
echo masq=$(iptables-save -t nat | grep -c -- '-o eth0 -j MASQUERADE')
echo salto=$(iptables-save -t filter | grep -c -- '-A FORWARD -j KORV-FWD')
"$S" stop >/dev/null; echo stop=$?; echo pid_stop=$(pid); echo fwd_stop=$(fwd)
"$S" status >/dev/null; echo status_stop=$?
echo propias=$(iptables-save | grep -c KORV)
echo ajenas=$(iptables-save | grep -c -e '-s 203.0.113.9/32 -j DROP' -e '-o lo -j RETURN')
IPTABLES=/no/existe "$S" start >/dev/null 2>"$1/err"; echo sin_iptables=$?
echo pid_sin=$(pid); echo msg_sin=$(wc -c <"$1/err")
)");
    const Salida s = ejecutar("unshare", {"--net", "--mount", "bash", "-c", guion, "korv-gate-test",
                                          run.path(), fuente("data/pordefecto/korv-gate")});
    QVERIFY2(s.codigo == 0, s.err.constData());
    const auto r = claves(s.out);

    QCOMPARE(r.value("start"), QString("0"));
    QCOMPARE(r.value("pid_start"), QString("si"));
    QCOMPARE(r.value("fwd_start"), QString("1"));
    QCOMPARE(r.value("status"), QString("0"));
    QCOMPARE(r.value("restart"), QString("0"));
    QCOMPARE(r.value("pid_restart"), QString("si"));
    // A restart must not stack a second copy of its rules.
    QCOMPARE(r.value("masq"), QString("1"));
    QCOMPARE(r.value("salto"), QString("1"));

    QCOMPARE(r.value("stop"), QString("0"));
    QCOMPARE(r.value("pid_stop"), QString("no"));
    QCOMPARE(r.value("fwd_stop"), r.value("fwd0"));
    QCOMPARE(r.value("status_stop"), QString("3"));
    QCOMPARE(r.value("propias"), QString("0"));
    QCOMPARE(r.value("ajenas"), QString("2"));

    QVERIFY(r.value("sin_iptables") != "0");
    QCOMPARE(r.value("pid_sin"), QString("no"));
    QVERIFY(r.value("msg_sin").toInt() > 0);
    QVERIFY(!QFileInfo::exists(run.filePath("korv-gate.pid")));
}

void TstDatos::listasPorDefectoSegunTcpdchk()
{
    const QString motivo = sinSandbox();
    if (!motivo.isEmpty())
        QSKIP(qPrintable("tcpdchk looks host names up, so it runs only without a network: " + motivo));
    const QString tcpdchk = QStandardPaths::findExecutable("tcpdchk", {"/usr/sbin", "/sbin"});
    if (tcpdchk.isEmpty())
        QSKIP("tcpdchk not installed (package tcpd)");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const auto &[nombre, texto] : {std::pair{"hosts.allow", HostsAllowPorDefecto},
                                        std::pair{"hosts.deny", HostsDenyPorDefecto}}) {
        QFile f(dir.filePath(nombre));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(texto);
    }
    const Salida s = ejecutar("unshare", {"--net", tcpdchk, "-d", "-v"}, dir.path());
    QVERIFY2(s.codigo == 0, s.err.constData());

    // One block per rule: ">>> Rule FILE line N:", then "field: value" lines.
    QStringList reglas;
    for (const QString &bloque : QString::fromUtf8(s.out).split(">>> Rule ", Qt::SkipEmptyParts).mid(1)) {
        const auto campo = [&](const char *n) {
            return QRegularExpression(QString("^%1:\\s+(.*)$").arg(n), QRegularExpression::MultilineOption)
                .match(bloque).captured(1).trimmed();
        };
        reglas << bloque.section(':', 0, 0) + " | " + campo("daemons") + " | " + campo("clients")
                      + " | " + campo("access");
    }
    QCOMPARE(reglas, QStringList({"hosts.allow line 5 | ALL | 127.0.0.1 | granted",
                                  "hosts.deny line 2 | ALL | ALL | denied"}));
}

void TstDatos::sonidoEsWavPcm()
{
    const QByteArray w = leer(fuente("data/sounds/attack_detected.wav"));
    QVERIFY(w.size() > 44);
    QCOMPARE(w.left(4), QByteArray("RIFF"));
    QCOMPARE(w.mid(8, 4), QByteArray("WAVE"));
    QCOMPARE(qFromLittleEndian<quint32>(w.constData() + 4), quint32(w.size() - 8));

    const auto u16 = [&](int i) { return qFromLittleEndian<quint16>(w.constData() + i); };
    const auto u32 = [&](int i) { return qFromLittleEndian<quint32>(w.constData() + i); };
    quint32 tasa = 0, bytesPorSegundo = 0, datos = 0;
    for (int i = 12; i + 8 <= w.size();) {
        const QByteArray id = w.mid(i, 4);
        const quint32 largo = u32(i + 4);
        QVERIFY2(i + 8 + qint64(largo) <= w.size(), "chunk runs past the end");
        if (id == "fmt ") {
            QCOMPARE(u16(i + 8), quint16(1)); // PCM
            QVERIFY(u16(i + 10) >= 1);
            tasa = u32(i + 12);
            bytesPorSegundo = u32(i + 16);
        } else if (id == "data") {
            datos = largo;
        }
        i += 8 + int(largo) + int(largo & 1);
    }
    QVERIFY(tasa > 0 && bytesPorSegundo > 0);
    QVERIFY(datos > 0);
    const double segundos = double(datos) / bytesPorSegundo;
    QVERIFY2(segundos >= 0.3 && segundos <= 3, qPrintable(QString::number(segundos)));
}

void TstDatos::manualYEntradaDeEscritorio()
{
    const QByteArray html = leer(fuente("data/doc/talvora/index.html"));
    QVERIFY(html.contains("<html") && html.contains("</html>"));
    QVERIFY(QRegularExpression("<title>[^<]+</title>").match(QString::fromUtf8(html)).hasMatch());
    QVERIFY(html.contains("<meta charset=\"UTF-8\">"));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString texto = utf8(html);
    QVERIFY(!utf8.hasError());
    for (const char *tema : {"Iniciar", "Detener", "Reiniciar", "Editar", "Logs", "Firewall", "Aplicar",
                             "Logs Hosts Deny", "Archivo", "Servicios", "Xinetd Serv", "Ayuda",
                             "/usr/local/share/talvora/conf", "%editor", "Escribir (Recomendado)",
                             "Bloquer un IP"})
        QVERIFY2(texto.contains(QLatin1String(tema)), tema);

    const QString desktop = QString::fromUtf8(leer(fuente("data/talvora.desktop")));
    QVERIFY(desktop.startsWith("[Desktop Entry]\n"));
    for (const char *linea : {"Type=Application", "Exec=talvora", "Icon=talvora", "Categories=System;"})
        QVERIFY2(desktop.split('\n').contains(QLatin1String(linea)), linea);
    QVERIFY(QRegularExpression("^Name=\\S", QRegularExpression::MultilineOption).match(desktop).hasMatch());
    QVERIFY(QRegularExpression("^Comment=\\S", QRegularExpression::MultilineOption).match(desktop).hasMatch());

    const QImage icono(fuente("data/talvora.png"));
    QCOMPARE(icono.size(), QSize(48, 48));
    QVERIFY(icono.hasAlphaChannel());
}

// The install rules on their own, into a staging directory.
void TstDatos::instalacion()
{
    const QString cmake = QStandardPaths::findExecutable("cmake");
    if (cmake.isEmpty())
        QSKIP("cmake not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir(dir.path()).mkpath("src");
    QFile lista(dir.filePath("src/CMakeLists.txt"));
    QVERIFY(lista.open(QIODevice::WriteOnly));
    lista.write(QString("cmake_minimum_required(VERSION 3.25)\nproject(datos LANGUAGES NONE)\n"
                        "set(TALVORA_DATADIR /usr/local/share/talvora)\ninclude(\"%1\")\n")
                    .arg(fuente("data/install.cmake")).toUtf8());
    lista.close();

    const QString build = dir.filePath("build"), destino = dir.filePath("destino");
    Salida s = ejecutar(cmake, {"-S", dir.filePath("src"), "-B", build, "-DCMAKE_INSTALL_PREFIX=/usr"});
    QVERIFY2(s.codigo == 0, s.err.constData());
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    QProcess p;
    entorno.insert("DESTDIR", destino);
    p.setProcessEnvironment(entorno);
    p.start(cmake, {"--install", build});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());

    const QString datos = destino + "/usr/local/share/talvora/";
    const QFileInfo script(datos + "pordefecto/korv-gate");
    QVERIFY(script.isFile());
    QVERIFY(script.permissions() & QFileDevice::ExeOwner);
    QVERIFY(script.permissions() & QFileDevice::ExeOther);
    QCOMPARE(leer(script.filePath()), leer(fuente("data/pordefecto/korv-gate")));
    for (const QString &f : {datos + "pordefecto/ftpaccess", datos + "sounds/attack_detected.wav",
                             datos + "doc/talvora/index.html", destino + "/usr/share/applications/talvora.desktop",
                             destino + "/usr/share/icons/hicolor/48x48/apps/talvora.png"}) {
        QVERIFY2(QFileInfo(f).isFile() && QFileInfo(f).size() > 0, qPrintable(f));
    }
}

QTEST_MAIN(TstDatos)
#include "tst_datos.moc"

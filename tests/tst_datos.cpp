// The installed data files: the router script run for real in a sandbox,
// the default access-control lists checked by tcpdchk, the alarm sound, the
// manual, the desktop entry and the install rules.
#include "mainwindow/accesos.h"
#include <QtTest>
#include <unistd.h>

static QString fuente(const QString &relativa) { return qEnvironmentVariable("TALVORA_SOURCE_DIR") + "/data/" + relativa; }
static QByteArray leer(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// Standard output, or "exit N" when the program failed, crashed or hung for a
// minute; standard error goes to the test log.
static QByteArray ejecutar(const QStringList &orden)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(orden.first(), orden.mid(1));
    const bool bien = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return bien ? p.readAllStandardOutput() : "exit " + QByteArray::number(p.exitCode());
}
static bool redPrivada() { return geteuid() == 0 && QProcess::execute("unshare", {"--net", "--mount", "true"}) == 0; }

class TstDatos : public QObject
{
    Q_OBJECT
private slots:
    void korvGate();
    void listasSegunTcpdchk();
    void archivosInstalados();
};

// Checked, then run for real with /var/run and the firewall tables private:
// its pid file while it runs, and only its own rules removed by the stop.
void TstDatos::korvGate()
{
    const QString script = fuente("pordefecto/korv-gate"), texto = leer(script);
    QVERIFY(QFileInfo(script).isExecutable() && texto.startsWith("#!/bin/bash\n"));
    QVERIFY(texto.contains(QRegularExpression("\\n# chkconfig: [0-6-]+ \\d+ \\d+\\n# description: \\S")));
    QCOMPARE(ejecutar({"bash", "-n", script}), "");
    if (!redPrivada() || QStandardPaths::findExecutable("iptables", {"/usr/sbin", "/sbin"}).isEmpty())
        QSKIP("korv-gate runs for real only as root, with iptables, in a private network namespace");
    QTemporaryDir run;
    const QString guion = R"(mount --bind "$1" /var/run || exit 99
pid() { test -e /var/run/korv-gate.pid && echo si || echo no; }
iptables -w 5 -A FORWARD -s 203.0.113.9 -j DROP
"$2" start >/dev/null; echo start=$? pid=$(pid)
"$2" restart >/dev/null; echo restart=$? pid=$(pid) masq=$(iptables-save -t nat | grep -c MASQUERADE)
"$2" stop >/dev/null; echo stop=$? pid=$(pid) propias=$(iptables-save | grep -c KORV) ajena=$(iptables-save | grep -c 203.0.113.9)
)";
    QCOMPARE(ejecutar({"unshare", "--net", "--mount", "bash", "-c", guion, "-", run.path(), script}),
             "start=0 pid=si\nrestart=0 pid=si masq=1\nstop=0 pid=no propias=0 ajena=1\n");
}

// tcpdchk looks host names up, so it runs without a network.
void TstDatos::listasSegunTcpdchk()
{
    const QString tcpdchk = QStandardPaths::findExecutable("tcpdchk", {"/usr/sbin", "/sbin"});
    if (tcpdchk.isEmpty() || !redPrivada())
        QSKIP("needs tcpdchk (package tcpd), root and unshare --net");
    QTemporaryDir dir;
    const QString salida = ejecutar({"unshare", "--net", "sh", "-c", "cd \"$1\" || exit; printf %s \"$2\" >hosts.allow; "
                                     "printf %s \"$3\" >hosts.deny; exec \"$4\" -d -v", "-", dir.path(),
                                     HostsAllowPorDefecto, HostsDenyPorDefecto, tcpdchk});
    QCOMPARE(salida.mid(salida.indexOf(">>>")).simplified(),
             ">>> Rule hosts.allow line 5: daemons: ALL clients: 127.0.0.1 access: granted "
             ">>> Rule hosts.deny line 2: daemons: ALL clients: ALL access: denied");
}

// The sound, the manual and the desktop entry, then the install rules on
// their own, staged into a temporary directory.
void TstDatos::archivosInstalados()
{
    // Our own sound has the plain 44-byte header: 16-byte PCM format chunk, then the data.
    const QByteArray w = leer(fuente("sounds/attack_detected.wav"));
    const auto u32 = [&](int i) { return qFromLittleEndian<quint32>(w.constData() + i); };
    QVERIFY(w.size() > 44 && w.startsWith("RIFF") && w.mid(8, 8) == "WAVEfmt " && w.mid(36, 4) == "data");
    QCOMPARE((QList<qint64>{u32(4), u32(16), u32(20) & 0xffff, u32(40)}), (QList<qint64>{w.size() - 8, 16, 1, w.size() - 44}));
    const double segundos = double(u32(40)) / u32(28);
    QVERIFY2(segundos >= 0.3 && segundos <= 3, qPrintable(QString::number(segundos)));

    const QString html = leer(fuente("doc/talvora/index.html")), escritorio = leer(fuente("talvora.desktop"));
    QVERIFY(html.contains(QRegularExpression("<html.*<meta charset=\"UTF-8\">.*<title>[^<]+</title>.*</html>",
                                             QRegularExpression::DotMatchesEverythingOption)));
    QVERIFY(escritorio.startsWith("[Desktop Entry]\n"));
    for (const char *clave : {"^Type=Application$", "^Exec=talvora$", "^Icon=talvora$", "^Categories=System;$", "^Name=\\S",
                              "^Comment=\\S"})
        QVERIFY2(escritorio.contains(QRegularExpression(clave, QRegularExpression::MultilineOption)), clave);

    QTemporaryDir dir;
    const QString lista = "cmake_minimum_required(VERSION 3.25)\nproject(datos NONE)\ninclude(\"" + fuente("install.cmake") + "\")\n";
    QVERIFY(!ejecutar({"sh", "-c", "cd \"$1\" && printf %s \"$2\" >CMakeLists.txt && cmake -S . -B b -DCMAKE_INSTALL_PREFIX=/usr "
                       "&& DESTDIR=\"$1/d\" cmake --install b", "-", dir.path(), lista}).startsWith("exit"));
    const QString d = dir.filePath("d/usr/"), p = "local/share/talvora/";
    for (const auto &[instalado, original] : {std::pair{p + "pordefecto/korv-gate", "pordefecto/korv-gate"},
             {p + "pordefecto/ftpaccess", "pordefecto/ftpaccess"}, {p + "sounds/attack_detected.wav", "sounds/attack_detected.wav"},
             {p + "doc/talvora/index.html", "doc/talvora/index.html"}, {"share/applications/talvora.desktop", "talvora.desktop"},
             {"share/icons/hicolor/48x48/apps/talvora.png", "talvora.png"}})
        QVERIFY2(!leer(d + instalado).isEmpty() && leer(d + instalado) == leer(fuente(original)), qPrintable(instalado));
    QVERIFY(QFileInfo(d + p + "pordefecto/korv-gate").permissions() & QFileDevice::ExeOther);
}

QTEST_MAIN(TstDatos)
#include "tst_datos.moc"

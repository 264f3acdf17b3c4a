// The installed data files at work: the router script run for real, and
// the default access lists as TCP wrappers read them.
#include "mainwindow/accesos.h"

#include <QtTest>
#include <unistd.h>

namespace {

QString fuente(const QString &relativa) { return TALVORA_FUENTE "/data/" + relativa; }

// Standard output, or "exit N" when the program failed or hung for a minute.
QByteArray ejecutar(const QStringList &orden)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(orden.first(), orden.mid(1));
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return p.readAllStandardOutput();
    return "exit " + QByteArray::number(p.exitCode());
}

bool redPrivada()
{
    return geteuid() == 0 && QProcess::execute("unshare", {"--net", "--mount", "true"}) == 0;
}

} // namespace

class TstDatos : public QObject
{
    Q_OBJECT

private slots:
    // Run with /var/run and the firewall tables private: its pid file while
    // it runs, and only its own rules removed by the stop.
    void korvGate()
    {
        const QString script = fuente("pordefecto/korv-gate");
        QVERIFY(QFileInfo(script).isExecutable());
        QCOMPARE(ejecutar({"bash", "-n", script}), "");
        if (!redPrivada() || QStandardPaths::findExecutable("iptables", {"/usr/sbin", "/sbin"}).isEmpty())
            QSKIP("korv-gate runs for real only as root, with iptables, in a private namespace");
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
    void listasSegunTcpdchk()
    {
        const QString tcpdchk = QStandardPaths::findExecutable("tcpdchk", {"/usr/sbin", "/sbin"});
        if (tcpdchk.isEmpty() || !redPrivada())
            QSKIP("needs tcpdchk (package tcpd), root and unshare --net");
        QTemporaryDir dir;
        const QString salida = ejecutar(
            {"unshare", "--net", "sh", "-c",
             "cd \"$1\" && printf %s \"$2\" >hosts.allow && printf %s \"$3\" >hosts.deny && \"$4\" -d -v",
             "-", dir.path(), Accesos::HostsAllowPorDefecto, Accesos::HostsDenyPorDefecto, tcpdchk});
        QCOMPARE(salida.mid(salida.indexOf(">>>")).simplified(),
                 ">>> Rule hosts.allow line 5: daemons: ALL clients: 127.0.0.1 access: granted "
                 ">>> Rule hosts.deny line 2: daemons: ALL clients: ALL access: denied");
    }
};

QTEST_MAIN(TstDatos)
#include "tst_datos.moc"

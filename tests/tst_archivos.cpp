// Files under /etc: xinetd service files switched for real, writes that fail
// half way, and the installed data files at work; commands run for real.
#include "configdialog/confimpl.h"
#include "mainwindow/accesos.h"
#include "support.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QString modo(const QString &ruta)
{
    struct stat st {
    };
    stat(QFile::encodeName(ruta), &st);
    return QString::asprintf("%o %u %u %lu", st.st_mode & 07777, st.st_uid, st.st_gid, st.st_ino);
}

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

// Processor time this process has used so far, in milliseconds.
long cpu()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return (uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) * 1000
           + (uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1000;
}

// What a process launched from a closed terminal sees of commands: its
// standard output and error a pipe whose reader is gone. Runs in a child
// of its own and tells, a line per check, what it saw.
QStringList desdeTerminalCerrada(const QString &dir)
{
    int informe[2], tubo[2];
    if (pipe2(informe, O_CLOEXEC) != 0 || pipe(tubo) != 0)
        return {"sin tuberias"};
    close(tubo[0]);
    const pid_t hijo = fork();
    if (hijo == 0) {
        dup2(tubo[1], STDOUT_FILENO);
        dup2(tubo[1], STDERR_FILENO);
        Sistema::prepararPrograma();
        const Sistema s;
        QByteArrayList visto;
        qWarning("aviso de Qt"); // Qt's own messages go to the closed stream too
        Sistema::Resultado r = s.ejecutar("echo uno; echo dos >&2; exit 3");
        visto << "fallo " + QByteArray::number(r.estado) + " " + r.errores.trimmed();
        // A daemon left behind, writing to its standard error once we are gone.
        r = s.ejecutar("cd '" + QFile::encodeName(dir)
                       + "' && (sleep 2; echo aviso >&2; echo vivo > f) &");
        visto << "fondo " + QByteArray::number(r.estado);
        r = s.ejecutarPrograma({"grep", "^SigIgn", "/proc/self/status"});
        const bool ignora
            = r.salida.mid(7).trimmed().toULongLong(nullptr, 16) & (1u << (SIGPIPE - 1));
        visto << "SIGPIPE del hijo " + QByteArray(ignora ? "ignorada" : "por defecto");
        // 50 MB of errors: a bounded tail is kept, from a line's start.
        rusage uso{};
        getrusage(RUSAGE_SELF, &uso);
        const long antes = uso.ru_maxrss;
        r = s.ejecutar("yes 0123456789 | head -n 4545455 >&2; echo fin >&2; exit 4");
        getrusage(RUSAGE_SELF, &uso);
        visto << "grande " + QByteArray::number(r.estado)
                     + (r.errores.size() <= 64 * 1024 && r.errores.size() > 60000 ? " acotado" : "")
                     + (r.errores.startsWith("0123456789\n") && r.errores.endsWith("\nfin\n")
                            ? " lineas enteras"
                            : "")
                     + (uso.ru_maxrss - antes < 16 * 1024 ? " sin crecer" : "");
        const QByteArray texto = visto.join('\n');
        (void)!write(informe[1], texto.constData(), size_t(texto.size()));
        _exit(0);
    }
    close(tubo[1]);
    close(informe[1]);
    QFile lector;
    lector.open(informe[0], QIODevice::ReadOnly, QFile::AutoCloseHandle);
    const QByteArray texto = lector.readAll();
    int estado = 0;
    waitpid(hijo, &estado, 0);
    QStringList visto = QString::fromUtf8(texto).split('\n');
    if (!WIFEXITED(estado))
        visto << "muerto por la senal " + QString::number(WTERMSIG(estado));
    return visto;
}

bool redPrivada()
{
    return geteuid() == 0 && QProcess::execute("unshare", {"--net", "--mount", "true"}) == 0;
}

} // namespace

class TstArchivos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); } // EFBIG instead of a signal

    // Commands run from a program whose terminal is gone: neither it nor a
    // daemon a command left behind dies of a closed stream, commands get
    // SIGPIPE back, and 50 MB of errors cost no memory. A program that closes
    // its standard error before its output does not keep a processor busy.
    void comandosReales()
    {
        QTemporaryDir dir;
        QCOMPARE(desdeTerminalCerrada(dir.path()),
                 QStringList({"fallo 3 dos", "fondo 0", "SIGPIPE del hijo por defecto",
                              "grande 4 acotado lineas enteras sin crecer"}));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath("f")), 15000);

        const long antes = cpu();
        const Sistema::Resultado r
            = Sistema().ejecutarPrograma({"sh", "-c", "exec 2>&-; sleep 1; echo fin"});
        QCOMPARE(r.salida, "fin\n");
        QVERIFY2(cpu() - antes < 300, qPrintable(QString::number(cpu() - antes) + " ms"));

        // A TMPDIR that cannot be written does not stop the commands.
        const QByteArray tmpdir = qgetenv("TMPDIR");
        qputenv("TMPDIR", "/no/existe");
        const Sistema::Resultado sinTmp
            = Sistema().ejecutarPrograma({"sh", "-c", "echo a; exit 2"});
        tmpdir.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpdir);
        QCOMPARE(QByteArray::number(sinTmp.estado) + sinTmp.salida, "2a\n");
    }

    // A switched service file is replaced keeping its extended attributes.
    // (Its mode and owner kept, and a file that cannot be replaced:
    // escrituraFallida; which rows restart and when they are looked at
    // again: tst_nucleo; the rules: fuzz_xinetd_*.)
    void xinetd()
    {
        const QString telnet = "/etc/xinetd.d/telnet";
        Ventana v([&](Ventana &x) { x.raiz.escribir(telnet, "{\n\tdisable\t\t= yes\n}\n"); });
        const QByteArray ruta = QFile::encodeName(v.raiz.ruta(telnet));
        if (::setxattr(ruta, "user.talvora", "prueba", 6, 0) != 0)
            QSKIP("no user.* attributes on this file system");
        const QString antes = modo(ruta);
        v.w->bIniciarTelnet->click();
        QVERIFY(modo(ruta) != antes); // a new file took the old one's place
        char atributo[16] = {};
        QCOMPARE(QByteArray(atributo, int(::getxattr(ruta, "user.talvora", atributo, 16))),
                 "prueba");
    }

    // While writes fail past their first byte, the old file keeps its bytes,
    // mode, owner and place (a link stays a link), no temporary file is left,
    // and the failure shows; once they get through, the new bytes take its place.
    void escrituraFallida_data()
    {
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<QString>("accion"); // a slot of the window, or "dialogo"
        QTest::newRow("ajustes") << TALVORA_DATADIR "/conf"
                                 << "dialogo";
        QTest::newRow("xinetd") << "/etc/xinetd.d/telnet"
                                << "bIniciarTelnet_Click";
        QTest::newRow("hosts.allow") << "/etc/hosts.allow"
                                     << "bAplicarHostsAllow_Click";
        QTest::newRow("enlace") << "/etc/hosts.allow"
                                << "bAplicarHostsAllow_Click";
        QTest::newRow("hosts.deny") << "/etc/hosts.deny"
                                    << "EscribirHostsDeny";
        QTest::newRow("hosts.allow por defecto") << "/etc/hosts.allow"
                                                 << "EscribirHostsAllow";
    }
    void escrituraFallida()
    {
        QFETCH(QString, archivo);
        QFETCH(QString, accion);
        const bool enlace = QTest::currentDataTag() == QByteArray("enlace");
        Ventana v;
        const QString destino = enlace ? "/etc/reglas/hosts.allow" : archivo;
        const QByteArray viejo
            = archivo.endsWith("conf") ? v.raiz.leer(archivo) : "\tdisable = yes\n# viejo\n";
        v.raiz.escribir(destino, viejo);
        const QString ruta = v.raiz.ruta(destino);
        const uid_t dueno = geteuid() ? geteuid() : 65534;
        QVERIFY(chown(QFile::encodeName(ruta), dueno, dueno) == 0); // before chmod: it drops set-id
        QVERIFY(chmod(QFile::encodeName(ruta), 04640) == 0);
        QVERIFY(!enlace || QFile::link("reglas/hosts.allow", v.raiz.ruta(archivo)));
        QVERIFY(v.llamar("LeerEstadoHostsAllow")); // what the editor holds
        const auto estado = [&] {
            return QStringList{
                modo(ruta), QFileInfo(v.raiz.ruta(archivo)).symLinkTarget(),
                QDir(QFileInfo(ruta).path()).entryList(QDir::Files | QDir::Hidden).join(' ')};
        };
        const QStringList antes = estado();
        const QByteArrayList ajustes = v.ajustes.valores();
        v.raiz.escribir("/var/run/xinetd.pid", "1\n"); // a switch would restart xinetd
        QVERIFY(v.llamar("LeerEstadoXinetd"));
        v.w->tTelnet->clear();
        v.w->mlHostsAllow->setPlainText("ALL: 10.0.0.1");
        const auto actuar = [&] {
            if (accion == "dialogo") {
                confimpl d(v.sistema(), v.ajustes);
                d.cEditor->setText("vi");
                d.bAplicar->click();
            } else {
                QVERIFY(v.llamar(qPrintable(accion)));
            }
        };
        rlimit sinLimite{};
        getrlimit(RLIMIT_FSIZE, &sinLimite);
        const rlimit limite{1, sinLimite.rlim_max}; // one byte gets through, then EFBIG
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
        const bool xinetd = archivo.contains("xinetd");
        const QStringList cajas = contestar({}, actuar, !xinetd);
        setrlimit(RLIMIT_FSIZE, &sinLimite);
        QCOMPARE(cajas,
                 xinetd ? QStringList() : QStringList{"Error|No se pudo escribir el Archivo|OK"});
        QCOMPARE(palabra(v.w->tTelnet) == "Error", xinetd);
        QCOMPARE(v.grabador.comandos().filter("xinetd"), QStringList()); // no restart
        QCOMPARE(v.raiz.leer(destino), viejo);
        QCOMPARE(estado(), antes);
        QCOMPARE(v.ajustes.valores(), ajustes);
        if (accion == "EscribirHostsAllow") // shown even though the file refused it
            QCOMPARE(v.w->mlHostsAllow->toPlainText(), Accesos::HostsAllowPorDefecto);
        contestar({}, actuar, accion.startsWith("Escribir")); // "Listo"
        QVERIFY(v.raiz.leer(destino) != viejo);
        QCOMPARE(estado().mid(1), antes.mid(1));
        QCOMPARE(modo(ruta).section(' ', 0, 2), antes[0].section(' ', 0, 2));
        v.w->mlHostsAllow->document()->setModified(false);
    }

    // The router script run for real, with /var/run and the firewall tables
    // private: its pid file while it runs, and only its own rules removed.
    void korvGate()
    {
        const QString script = TALVORA_FUENTE "/data/pordefecto/korv-gate";
        QVERIFY(QFileInfo(script).isExecutable());
        QCOMPARE(ejecutar({"bash", "-n", script}), "");
        if (!redPrivada()
            || QStandardPaths::findExecutable("iptables", {"/usr/sbin", "/sbin"}).isEmpty())
            QSKIP("korv-gate runs for real only as root, with iptables, in a private namespace");
        QTemporaryDir run;
        const QString guion = R"(mount --bind "$1" /var/run || exit 99
pid() { test -e /var/run/korv-gate.pid && echo si || echo no; }
cuenta() { iptables-save $1 | grep -c "$2"; }
iptables -w 5 -A FORWARD -s 203.0.113.9 -j DROP
"$2" start >/dev/null; echo start=$? pid=$(pid)
"$2" restart >/dev/null; echo restart=$? pid=$(pid) masq=$(cuenta "-t nat" MASQUERADE)
"$2" stop >/dev/null; e=$?
echo stop=$e pid=$(pid) propias=$(cuenta "" KORV) ajena=$(cuenta "" 203.0.113.9)
)";
        QCOMPARE(
            ejecutar({"unshare", "--net", "--mount", "bash", "-c", guion, "-", run.path(), script}),
            "start=0 pid=si\nrestart=0 pid=si masq=1\nstop=0 pid=no propias=0 ajena=1\n");
    }

    // The default lists as TCP wrappers read them; tcpdchk looks host names
    // up, so it runs without a network.
    void listasSegunTcpdchk()
    {
        const QString tcpdchk = QStandardPaths::findExecutable("tcpdchk", {"/usr/sbin", "/sbin"});
        if (tcpdchk.isEmpty() || !redPrivada())
            QSKIP("needs tcpdchk (package tcpd), root and unshare --net");
        QTemporaryDir dir;
        const QString salida = ejecutar({"unshare", "--net", "sh", "-c",
                                         "cd \"$1\" && printf %s \"$2\" >hosts.allow && "
                                         "printf %s \"$3\" >hosts.deny && \"$4\" -d -v",
                                         "-", dir.path(), Accesos::HostsAllowPorDefecto,
                                         Accesos::HostsDenyPorDefecto, tcpdchk});
        QCOMPARE(salida.mid(salida.indexOf(">>>")).simplified(),
                 ">>> Rule hosts.allow line 5: daemons: ALL clients: 127.0.0.1 access: granted "
                 ">>> Rule hosts.deny line 2: daemons: ALL clients: ALL access: denied");
    }
};

QTEST_MAIN(TstArchivos)
#include "tst_archivos.moc"

// The main window on a server that runs systemd, with the Debian profile:
// a real systemd, PID 1 of private namespaces, with stand-ins for the
// services' units. tests/systemd/arrancar runs this program beside it; on
// its own it skips.
#include "configdialog/confimpl.h"
#include "support.h"

namespace {

using C = Ajustes::Clave;

QString systemctl(const QStringList &argumentos)
{
    QProcess p;
    p.start("systemctl", argumentos);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString actividad(const QString &unidad)
{
    return systemctl({"show", "-p", "ActiveState", "--value", unidad});
}

} // namespace

class TstSystemd : public QObject
{
    Q_OBJECT

    Ajustes ajustes;
    std::unique_ptr<form1> w;

    void cambiarAjuste(C clave, const QByteArray &valor)
    {
        QByteArrayList valores = ajustes.valores();
        valores[int(clave)] = valor;
        ajustes.asignar(valores);
    }

private slots:
    void initTestCase()
    {
        if (systemctl({"is-system-running"}) != "running")
            QSKIP("needs a systemd of its own: run through tests/systemd/arrancar");
        // Named's status names no unit: that row alone may show Error.
        QByteArrayList valores = Ajustes::valoresDe(Ajustes::Perfil::Debian);
        valores[int(C::cEstadoDns)] = "systemd:";
        QVERIFY(Sistema::reemplazarArchivo(QString(Rutas::Configuracion), lineas(valores)));
        systemctl({"start", "squid.service"}); // before the window, as by hand
        w = std::make_unique<form1>(Sistema(), ajustes);
    }

    // The start-up shows each row as systemd has it: the router's unit is
    // not installed yet.
    void alArrancar()
    {
        QCOMPARE(palabra(w->tSquid) + palabra(w->tHttpd) + palabra(w->tGate) + palabra(w->tDns),
                 "ONOFFErrorError");
        QCOMPARE(confimpl(Sistema(), ajustes).cbPerfil->currentText(),
                 "Debian"); // what Por Defecto gives here
    }

    // The rows follow what is done outside the program.
    void desdeFuera()
    {
        systemctl({"start", "apache2.service"});
        systemctl({"stop", "squid.service"});
        QVERIFY(QMetaObject::invokeMethod(w.get(), "LeerEstadoHttpd"));
        QVERIFY(QMetaObject::invokeMethod(w.get(), "LeerEstadoSquid"));
        QCOMPARE(palabra(w->tHttpd) + palabra(w->tSquid), "ONOFF");
        // A unit on its way up shows as such.
        Sistema::reemplazarArchivo(QString("/etc/systemd/system/lento.service"),
                                   "[Unit]\nDefaultDependencies=no\n[Service]\n"
                                   "ExecStartPre=/bin/sleep 30\nExecStart=/bin/sleep infinity\n");
        systemctl({"daemon-reload"});
        systemctl({"start", "--no-block", "lento.service"});
        cambiarAjuste(C::cEstadoDns, "systemd:lento.service");
        QVERIFY(QMetaObject::invokeMethod(w.get(), "LeerEstadoDns"));
        QCOMPARE(palabra(w->tDns), "---");
        systemctl({"stop", "lento.service"});
        // One that failed to start is as stopped.
        Sistema::reemplazarArchivo(
            QString("/etc/systemd/system/falla.service"),
            "[Unit]\nDefaultDependencies=no\n[Service]\nExecStart=/bin/false\n");
        systemctl({"daemon-reload"});
        systemctl({"start", "falla.service"});
        QTRY_COMPARE(actividad("falla.service"), "failed");
        cambiarAjuste(C::cEstadoDns, "systemd:falla.service");
        QVERIFY(QMetaObject::invokeMethod(w.get(), "LeerEstadoDns"));
        QCOMPARE(palabra(w->tDns), "OFF");
        // A unit made from an init script stays active once its daemon died.
        Sistema::reemplazarArchivo(QString("/etc/systemd/system/envoltorio.service"),
                                   "[Unit]\nDefaultDependencies=no\n[Service]\nType=forking\n"
                                   "RemainAfterExit=yes\nGuessMainPID=no\n"
                                   "ExecStart=/bin/sh -c 'sleep infinity >/dev/null 2>&1 &'\n");
        systemctl({"daemon-reload"});
        systemctl({"start", "envoltorio.service"});
        cambiarAjuste(C::cEstadoDns, "systemd:envoltorio.service");
        QVERIFY(QMetaObject::invokeMethod(w.get(), "LeerEstadoDns"));
        QCOMPARE(palabra(w->tDns), "ON");
        systemctl({"kill", "envoltorio.service"});
        QTRY_COMPARE(systemctl({"show", "-p", "SubState", "--value", "envoltorio.service"}),
                     "exited");
        QCOMPARE(actividad("envoltorio.service"), "active");
        QVERIFY(QMetaObject::invokeMethod(w.get(), "LeerEstadoDns"));
        QCOMPARE(palabra(w->tDns), "OFF");
    }

    // The buttons start and stop the units; the daemon writes its pid file.
    void botones()
    {
        QCOMPARE(contestar({}, [&] { w->bIniciarSamba->click(); }), QStringList());
        QCOMPARE(actividad("smbd.service"), "active");
        QVERIFY(QFileInfo::exists("/run/samba/smbd.pid"));
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tSamba), "ON", 5000);
        QCOMPARE(contestar({}, [&] { w->bDetenerSamba->click(); }), QStringList());
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tSamba), "OFF", 5000);
        QVERIFY(!QFileInfo::exists("/run/samba/smbd.pid"));
    }

    // A unit that does not exist: its start is told as systemctl tells it,
    // and its row shows Error.
    void noExiste()
    {
        cambiarAjuste(C::cIniciarDns, "systemctl start nada.service");
        cambiarAjuste(C::cEstadoDns, "systemd:nada.service");
        const QStringList cajas = contestar({}, [&] { w->bIniciarDns->click(); });
        QCOMPARE(cajas,
                 QStringList{"Error|El comando termino con error (codigo 5):\n\n"
                             "systemctl start nada.service\n\n"
                             "Failed to start nada.service: Unit nada.service not found.|OK"});
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tDns), "Error", 5000);
    }

    // The router: its script in /usr/local/sbin, its unit beside the
    // administrator's; then its row follows its buttons.
    void router()
    {
        QCOMPARE(contestar({}, [&] { QMetaObject::invokeMethod(w.get(), "EscribirKorvgate"); }),
                 QStringList());
        QTRY_VERIFY(QFileInfo("/usr/local/sbin/korv-gate").isExecutable());
        QCOMPARE(contestar({}, [&] { w->bIniciarGate->click(); }), QStringList());
        QCOMPARE(actividad("korv-gate.service"), "active");
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tGate), "ON", 5000);
        QCOMPARE(contestar({}, [&] { w->bDetenerGate->click(); }), QStringList());
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tGate), "OFF", 5000);
    }

    // A switched service makes a running xinetd, as systemd has it, reread
    // its files: a restart, so a new process.
    void xinetd()
    {
        systemctl({"start", "xinetd.service"});
        QVERIFY(QMetaObject::invokeMethod(w.get(), "LeerEstadoXinetd"));
        QCOMPARE(palabra(w->tXinetd), "ON");
        const QString antes = systemctl({"show", "-p", "MainPID", "--value", "xinetd.service"});
        QVERIFY(Sistema::reemplazarArchivo(QString("/etc/xinetd.d/telnet"),
                                           "service telnet\n{\n\tdisable\t= yes\n}\n"));
        QCOMPARE(contestar({}, [&] { w->bIniciarTelnet->click(); }), QStringList());
        QCOMPARE(palabra(w->tXinetd), "---");
        QVERIFY(systemctl({"show", "-p", "MainPID", "--value", "xinetd.service"}) != antes);
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tTelnet) + palabra(w->tXinetd), "ONON", 5000);
    }

    void cleanupTestCase() { w.reset(); }
};

QTEST_MAIN(TstSystemd)
#include "tst_systemd.moc"

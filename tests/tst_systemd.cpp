// The main window on a server that runs systemd, with the Debian profile:
// a real systemd, PID 1 of private namespaces, with stand-ins for the
// services' units, reached over its system bus or, without one, over its
// private socket. tests/systemd/arrancar runs this program beside it; on
// its own it skips.
#include "configdialog/confimpl.h"
#include "support.h"

#include <csignal>

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

// A unit of the test's own, with no ordinary boot behind it.
void unidad(const QString &nombre, const QByteArray &servicio)
{
    Sistema::reemplazarArchivo("/etc/systemd/system/" + nombre + ".service",
                               "[Unit]\nDefaultDependencies=no\n[Service]\n" + servicio);
    systemctl({"daemon-reload"});
}

} // namespace

class TstSystemd : public QObject
{
    Q_OBJECT

    Ajustes ajustes;
    std::unique_ptr<form1> w;

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

    // The start-up shows each row as systemd has it, once systemd answers:
    // the router's unit is not installed yet.
    void alArrancar()
    {
        QTRY_COMPARE(palabra(w->tSquid) + palabra(w->tHttpd) + palabra(w->tGate) + palabra(w->tDns),
                     "ONOFFErrorError");
        QCOMPARE(confimpl(Sistema(), ajustes).cbPerfil->currentText(), "Debian");
    }

    // The rows follow what is done outside the program within a second:
    // units started, stopped, killed; one named before it exists; one on
    // its way up; one that failed; a wrapper whose daemon died.
    void desdeFuera()
    {
        systemctl({"start", "apache2.service"});
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tHttpd), "ON", 1000);
        systemctl({"stop", "squid.service"});
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tSquid), "OFF", 1000);
        systemctl({"start", "squid.service"});
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tSquid), "ON", 1000);
        const int principal
            = systemctl({"show", "-p", "MainPID", "--value", "squid.service"}).toInt();
        QVERIFY(principal > 0 && ::kill(principal, SIGKILL) == 0);
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tSquid), "OFF", 1000);

        cambiarAjuste(ajustes, C::cEstadoDns, "systemd:nuevo.service"); // not there yet
        QTRY_COMPARE(palabra(w->tDns), "Error");
        unidad("nuevo", "ExecStart=/bin/sleep infinity\n");
        systemctl({"start", "nuevo.service"});
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tDns), "ON", 1000);

        unidad("lento", "ExecStartPre=/bin/sh -c 'until [ -e /run/seguir ]; do sleep 0.05; done'\n"
                        "ExecStart=/bin/sleep infinity\n");
        cambiarAjuste(ajustes, C::cEstadoDns, "systemd:lento.service");
        systemctl({"start", "--no-block", "lento.service"});
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tDns), "---", 1000);
        QFile("/run/seguir").open(QIODevice::WriteOnly);
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tDns), "ON", 1000);
        QFile::remove("/run/seguir");

        unidad("falla", "ExecStart=/bin/false\n");
        cambiarAjuste(ajustes, C::cEstadoDns, "systemd:falla.service");
        systemctl({"start", "falla.service"});
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tDns), "OFF", 1000);

        unidad("envoltorio", "Type=forking\nRemainAfterExit=yes\nGuessMainPID=no\n"
                             "ExecStart=/bin/sh -c 'sleep infinity >/dev/null 2>&1 &'\n");
        systemctl({"start", "envoltorio.service"});
        cambiarAjuste(ajustes, C::cEstadoDns, "systemd:envoltorio.service");
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tDns), "ON", 1000);
        systemctl({"kill", "envoltorio.service"});
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tDns), "OFF", 1000);
        QCOMPARE(actividad("envoltorio.service"), "active");
    }

    // A slow start from the window leaves it answering: the slow row shows
    // "---" until it ends while another row's button acts; a slow start
    // that fails still brings its box.
    void lento()
    {
        unidad("lento2", "ExecStartPre=/bin/sh -c 'until [ -e /run/seguir ]; do sleep 0.05; done'\n"
                         "ExecStartPre=/bin/sh -c '[ ! -e /run/fallar ]'\n"
                         "ExecStart=/bin/sleep infinity\n");
        cambiarAjuste(ajustes, C::cEstadoDns, "systemd:lento2.service");
        cambiarAjuste(ajustes, C::cIniciarDns, "systemctl start lento2.service");
        for (const bool fallar : {false, true}) {
            systemctl({"stop", "lento2.service", "smbd.service"});
            if (fallar)
                QFile("/run/fallar").open(QIODevice::WriteOnly);
            w->bIniciarDns->click();
            QCOMPARE(palabra(w->tDns), "---");
            QVERIFY(!w->bIniciarDns->isEnabled());
            w->bIniciarSamba->click();
            QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tSamba), "ON", 5000);
            QCOMPARE(palabra(w->tDns), "---");
            QFile("/run/seguir").open(QIODevice::WriteOnly);
            QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tDns), fallar ? "OFF" : "ON", 5000);
            QFile::remove("/run/seguir");
            QFile::remove("/run/fallar");
        }
        QTRY_VERIFY(caja());
        QVERIFY2(caja()->text().startsWith("El comando termino con error (codigo 1):\n\n"
                                           "systemctl start lento2.service"),
                 qPrintable(caja()->text()));
        caja()->close();
    }

    // The router: its script in /usr/local/sbin, its unit beside the
    // administrator's; then its row follows its buttons.
    void router()
    {
        QCOMPARE(contestar({}, [&] { QMetaObject::invokeMethod(w.get(), "EscribirKorvgate"); }),
                 QStringList());
        QTRY_VERIFY(QFileInfo("/usr/local/sbin/korv-gate").isExecutable());
        QTRY_COMPARE(systemctl({"show", "-p", "LoadState", "--value", "korv-gate.service"}),
                     "loaded"); // reloaded off the window's thread
        QCOMPARE(contestar({}, [&] { w->bIniciarGate->click(); }), QStringList());
        QTRY_COMPARE(actividad("korv-gate.service"), "active");
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tGate), "ON", 5000);
        QCOMPARE(contestar({}, [&] { w->bDetenerGate->click(); }), QStringList());
        QTRY_COMPARE_WITH_TIMEOUT(palabra(w->tGate), "OFF", 5000);
    }

    void cleanupTestCase() { w.reset(); }
};

QTEST_MAIN(TstSystemd)
#include "tst_systemd.moc"

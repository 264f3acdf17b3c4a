// The systemd watcher beside a real systemd of its own: tests/systemd/arrancar
// runs this program with the system bus, and with systemd's private socket
// alone (ARRANCAR_BUS=0). On its own only the cases with no systemd run.
#include "mainwindow/vigiasystemd.h"
#include "rutas.h"

#include <QtTest>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QByteArray systemctl(const QStringList &argumentos)
{
    QProcess p;
    p.start("systemctl", argumentos);
    p.waitForFinished(30000);
    return p.readAllStandardOutput().trimmed();
}

// The last state told of each unit, and how many times.
struct Oyente {
    QHash<QByteArray, Estado> estado;
    QHash<QByteArray, int> veces;
    explicit Oyente(HiloSystemd &hilo)
    {
        QObject::connect(&hilo, &HiloSystemd::estado, &hilo,
                         [this](const QByteArray &unidad, Estado e) {
                             estado[unidad] = e;
                             ++veces[unidad];
                         });
    }
    Estado de(const QByteArray &unidad) const { return estado.value(unidad, Estado(-1)); }
};

// The watcher runs no command.
Sistema sinOrdenes(const QString &raiz)
{
    return Sistema(raiz, [](Sistema::Forma, const QByteArrayList &orden) -> Sistema::Resultado {
        qFatal("orden ejecutada: %s", orden.join(' ').constData());
    });
}

// A temporary "/" where systemd runs, with no socket to reach it.
struct Raiz {
    QTemporaryDir dir;
    Raiz() { QDir().mkpath(dir.path() + Rutas::SystemdEnMarcha); }
    Sistema sistema() const { return sinOrdenes(dir.path()); }
};

} // namespace

class TstVigia : public QObject
{
    Q_OBJECT

    bool arnes = false;

private slots:
    void initTestCase()
    {
        // The harness's systemd, never the machine's.
        QFile entorno("/proc/1/environ");
        const QByteArray r = systemctl({"is-system-running"});
        arnes = (r == "running" || r == "degraded") && entorno.open(QIODevice::ReadOnly)
                && entorno.readAll().split('\0').contains("container=talvora-pruebas");
    }

    // Without systemd running, or with it but no socket to reach it, every
    // unit is Error; asking again says so again.
    void sinSystemd()
    {
        QTemporaryDir sinMarcha;
        Raiz sinSockets;
        for (const Sistema &s : {sinOrdenes(sinMarcha.path()), sinSockets.sistema()}) {
            HiloSystemd hilo(s);
            Oyente o(hilo);
            hilo.vigilar({"squid.service", "apache2.service"});
            QTRY_COMPARE(o.de("squid.service"), Estado::Error);
            QTRY_COMPARE(o.de("apache2.service"), Estado::Error);
            hilo.consultar("squid.service");
            QTRY_COMPARE(o.veces.value("squid.service"), 2);
        }
    }

    // A bus that accepts the connection and never answers must neither hold
    // the window that drops the watcher nor leave the rows without a state.
    void busColgado()
    {
        Raiz raiz;
        QVERIFY(QDir().mkpath(raiz.dir.path() + "/run/dbus"));
        const QByteArray ruta = QFile::encodeName(raiz.dir.path() + Rutas::BusSistema);
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un dir{};
        dir.sun_family = AF_UNIX;
        QVERIFY(size_t(ruta.size()) < sizeof dir.sun_path);
        memcpy(dir.sun_path, ruta.constData(), ruta.size());
        QVERIFY(bind(fd, reinterpret_cast<sockaddr *>(&dir), sizeof dir) == 0);
        QVERIFY(listen(fd, 4) == 0);
        HiloSystemd queda(raiz.sistema());
        Oyente o(queda);
        queda.vigilar({"squid.service"});
        auto *hilo = new HiloSystemd(raiz.sistema());
        hilo->vigilar({"squid.service"});
        // Both connected, and waiting for an answer that never comes.
        int aceptadas[2];
        for (int &a : aceptadas) {
            pollfd espera{fd, POLLIN, 0};
            QTRY_VERIFY(poll(&espera, 1, 0) == 1);
            a = accept(fd, nullptr, nullptr);
        }
        QElapsedTimer reloj;
        reloj.start();
        delete hilo;
        QVERIFY2(reloj.elapsed() < 1000, qPrintable(QString::number(reloj.elapsed())));
        QTRY_COMPARE(o.de("squid.service"), Estado::Error);
        for (const int a : aceptadas)
            close(a);
        close(fd);
    }

    // A name systemd refuses is Error alone; one without a type is a
    // service; asking again says it again. An alias made by a link and
    // loaded after vigilar() follows its unit. (Rows following units made
    // later, started, stopped and killed outside, and how soon: tst_systemd,
    // bench_vivo.)
    void nombres()
    {
        if (!arnes)
            QSKIP("needs a systemd of its own: run through tests/systemd/arrancar");
        HiloSystemd hilo{Sistema()};
        Oyente o(hilo);
        const QByteArrayList malos = {"foo@.service", "@x", "x@", ""};
        hilo.vigilar(QByteArrayList{"squid", "alias.service"} + malos);
        QTRY_COMPARE(o.de("squid"), Estado::Off);
        for (const QByteArray &u : malos + QByteArrayList{"alias.service"})
            QTRY_COMPARE(o.de(u), Estado::Error);
        const int antes = o.veces.value("squid");
        hilo.consultar("squid");
        QTRY_COMPARE(o.veces.value("squid"), antes + 1);

        QVERIFY(Sistema::reemplazarArchivo(QString("/etc/systemd/system/real.service"),
                                           "[Unit]\nDefaultDependencies=no\n[Service]\n"
                                           "ExecStart=/bin/sleep infinity\n"));
        QVERIFY(QFile::link("real.service", "/etc/systemd/system/alias.service"));
        systemctl({"daemon-reload"});
        QTRY_COMPARE_WITH_TIMEOUT(o.de("alias.service"), Estado::Off, 1000);
        systemctl({"start", "real.service"});
        QTRY_COMPARE_WITH_TIMEOUT(o.de("alias.service"), Estado::On, 1000);
        systemctl({"stop", "real.service"});
        QTRY_COMPARE_WITH_TIMEOUT(o.de("alias.service"), Estado::Off, 1000);
    }

    // systemd re-executes, dropping its connections, and the bus restarts,
    // dropping its clients: the rows follow after. (Each way in alone: the
    // bus, taken first, and the private socket in the run without a bus.)
    void reconexion()
    {
        if (!arnes)
            QSKIP("needs a systemd of its own: run through tests/systemd/arrancar");
        HiloSystemd hilo{Sistema()};
        Oyente o(hilo);
        hilo.vigilar({"smbd.service"});
        QTRY_COMPARE(o.de("smbd.service"), Estado::Off);
        systemctl({"daemon-reexec"});
        systemctl({"start", "smbd.service"});
        QTRY_COMPARE_WITH_TIMEOUT(o.de("smbd.service"), Estado::On, 1000);
        if (QFileInfo::exists(Rutas::BusSistema))
            systemctl({"restart", "dbus.service"});
        systemctl({"stop", "smbd.service"});
        QTRY_COMPARE_WITH_TIMEOUT(o.de("smbd.service"), Estado::Off, 1000);
    }
};

QTEST_GUILESS_MAIN(TstVigia)
#include "tst_vigia.moc"

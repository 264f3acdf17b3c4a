// The systemd watcher beside a real systemd of its own: tests/systemd/arrancar
// runs this program with the system bus, and with systemd's private socket
// alone (ARRANCAR_BUS=0). On its own only the cases with no systemd run.
#include "mainwindow/vigiasystemd.h"
#include "rutas.h"

#include <QtTest>
#include <algorithm>
#include <poll.h>
#include <signal.h>
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

// A temporary "/" where systemd runs, with these sockets linked to the real ones.
struct Raiz {
    QTemporaryDir dir;
    explicit Raiz(const QList<const char *> &sockets = {})
    {
        QDir().mkpath(dir.path() + Rutas::SystemdEnMarcha);
        for (const char *s : sockets) {
            QDir().mkpath(QFileInfo(dir.path() + s).absolutePath());
            QFile::link(s, dir.path() + s);
        }
    }
    Sistema sistema() const { return sinOrdenes(dir.path()); }
};

void escribir(const QString &ruta, const QByteArray &contenido)
{
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenido);
}

const QByteArray UnidadSimple = "[Unit]\nDefaultDependencies=no\n[Service]\n"
                                "ExecStart=/bin/sleep infinity\n";

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
    // service; asking again says it again. (Rows following units started,
    // stopped and killed outside, and how soon: tst_systemd, bench_vivo.)
    void nombres()
    {
        if (!arnes)
            QSKIP("needs a systemd of its own: run through tests/systemd/arrancar");
        HiloSystemd hilo{Sistema()};
        Oyente o(hilo);
        const QByteArrayList malos = {"foo@.service", "@x", "x@", ""};
        hilo.vigilar(QByteArrayList{"squid"} + malos);
        systemctl({"start", "squid.service"});
        QTRY_COMPARE_WITH_TIMEOUT(o.de("squid"), Estado::On, 1000);
        for (const QByteArray &u : malos)
            QTRY_COMPARE(o.de(u), Estado::Error);
        const int antes = o.veces.value("squid");
        hilo.consultar("squid");
        QTRY_COMPARE(o.veces.value("squid"), antes + 1);
        systemctl({"stop", "squid.service"});
    }

    // A unit written and loaded after vigilar(), and an alias made by a link.
    void unidadNuevaYAlias()
    {
        if (!arnes)
            QSKIP("needs a systemd of its own: run through tests/systemd/arrancar");
        HiloSystemd hilo{Sistema()};
        Oyente o(hilo);
        hilo.vigilar({"nueva.service", "alias.service"});
        QTRY_COMPARE(o.de("nueva.service"), Estado::Error);
        QTRY_COMPARE(o.de("alias.service"), Estado::Error);

        escribir("/etc/systemd/system/nueva.service", UnidadSimple);
        escribir("/etc/systemd/system/real.service", UnidadSimple);
        QVERIFY(QFile::link("real.service", "/etc/systemd/system/alias.service"));
        systemctl({"daemon-reload"});
        QTRY_COMPARE_WITH_TIMEOUT(o.de("nueva.service"), Estado::Off, 1000);
        QTRY_COMPARE_WITH_TIMEOUT(o.de("alias.service"), Estado::Off, 1000);
        systemctl({"start", "nueva.service", "real.service"});
        QTRY_COMPARE_WITH_TIMEOUT(o.de("nueva.service"), Estado::On, 1000);
        QTRY_COMPARE_WITH_TIMEOUT(o.de("alias.service"), Estado::On, 1000);
        systemctl({"stop", "nueva.service", "real.service"});
        QTRY_COMPARE_WITH_TIMEOUT(o.de("alias.service"), Estado::Off, 1000);
    }

    // Each way in alone: the bus (when it runs) and the private socket. Then
    // systemd re-executes, dropping its connections; the rows follow after.
    void viasYReconexion()
    {
        if (!arnes)
            QSKIP("needs a systemd of its own: run through tests/systemd/arrancar");
        std::vector<std::unique_ptr<Raiz>> raices;
        raices.push_back(std::make_unique<Raiz>(QList{Rutas::SystemdPrivado}));
        if (QFileInfo::exists(Rutas::BusSistema))
            raices.push_back(std::make_unique<Raiz>(QList{Rutas::BusSistema}));
        std::vector<std::unique_ptr<HiloSystemd>> hilos;
        std::vector<std::unique_ptr<Oyente>> oyentes;
        for (const auto &r : raices) {
            hilos.push_back(std::make_unique<HiloSystemd>(r->sistema()));
            oyentes.push_back(std::make_unique<Oyente>(*hilos.back()));
            hilos.back()->vigilar({"smbd.service"});
        }
        for (const auto &o : oyentes)
            QTRY_COMPARE(o->de("smbd.service"), Estado::Off);
        systemctl({"daemon-reexec"});
        systemctl({"start", "smbd.service"});
        for (const auto &o : oyentes)
            QTRY_COMPARE_WITH_TIMEOUT(o->de("smbd.service"), Estado::On, 1000);
        // The bus restarted: its clients are dropped.
        if (raices.size() > 1)
            systemctl({"restart", "dbus.service"});
        systemctl({"stop", "smbd.service"});
        for (const auto &o : oyentes)
            QTRY_COMPARE_WITH_TIMEOUT(o->de("smbd.service"), Estado::Off, 1000);
    }
};

QTEST_GUILESS_MAIN(TstVigia)
#include "tst_vigia.moc"

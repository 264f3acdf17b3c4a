// The core without a window: the plan of every action, the board that
// carries plans out without blocking, the runner, the monitor's states from
// the files' changes, hosts.allow followed on disk, and what a screen reader
// is told of the rows.
#include "mainwindow/accesos.h"
#include "mainwindow/anuncios.h"
#include "mainwindow/comandos.h"
#include "mainwindow/corredor.h"
#include "mainwindow/monitor.h"
#include "mainwindow/plan.h"
#include "mainwindow/tablero.h"
#include "nucleo.h"

#include <atomic>
#include <sys/stat.h>

using C = Ajustes::Clave;

namespace {

const QString Squid = "/var/run/squid.pid", Xinetd = "/var/run/xinetd.pid";

QString texto(const Plan &p)
{
    QStringList t;
    if (!p.aviso.isEmpty())
        t << "aviso " + p.aviso;
    if (!p.lanzar.isEmpty())
        t << "lanzar " + p.lanzar;
    if (!p.xinetd.isEmpty())
        t << QString(p.encender ? "encender " : "apagar ") + p.xinetd;
    if (p.fila)
        t << "fila " + QString(datos(*p.fila).id) + ": " + p.comandos.join('|');
    for (const Sonda &s : p.sondas)
        t << QString("%1 %2").arg(datos(s.servicio).id).arg(s.ms);
    return t.join(", ");
}

} // namespace

class TstNucleo : public QObject
{
    Q_OBJECT

private slots:
    // Every action of every row with each setting's value set to its key:
    // what runs, which row waits, what is looked at again and when.
    void planes()
    {
        Ajustes ajustes;
        QByteArrayList claves;
        for (const QString &c : Ajustes::claves())
            claves << c.toUtf8();
        ajustes.asignar(claves);
        const auto todoOn = [](Servicio) { return std::optional<Estado>(Estado::On); };
        QStringList vistos;
        for (const Servicio s : Servicios) {
            for (const Accion a : {Accion::Iniciar, Accion::Detener, Accion::Reiniciar,
                                   Accion::Editar, Accion::Log}) {
                const QString plan = texto(planear(s, a, ajustes, todoOn));
                if (!plan.isEmpty())
                    vistos << plan;
            }
        }
        // A daemon's row: the router restarts by a stop and a start, httpd is
        // looked at again late, the router and named have no log.
        QStringList esperado;
        for (const QString d : {"Gate", "Squid", "Httpd", "Samba", "Sendmail", "Dns", "Xinetd"}) {
            const QString fila = "fila " + d + ": c%1" + d + ", " + d + " 2000";
            const QString tarde = d == "Httpd" ? ", Httpd 5000" : "";
            esperado << fila.arg("Iniciar") + tarde << fila.arg("Detener")
                     << (d == "Gate" ? "fila Gate: cDetenerGate|cIniciarGate, Gate 2000"
                                     : fila.arg("Reiniciar") + tarde)
                     << "lanzar cEditar" + d + " &";
            if (d != "Gate" && d != "Dns")
                esperado << "lanzar cLog" + d + " &";
        }
        // A switch under xinetd, which runs: its file, then xinetd restarted.
        const QString x = "cDirectorioXinetd/",
                      r = ", fila Xinetd: cReiniciarXinetd, Xinetd 2000, ";
        for (const auto &[s, archivo] : {std::pair{"Telnet", "telnet"},
                                         {"Ftp", "wu-ftpd"},
                                         {"Pop3", "ipop3"},
                                         {"Swat", "swat"}}) {
            for (const QString a : {"encender ", "apagar "})
                esperado << a + x + archivo + r + s + " 1000";
            if (QString(s) == "Ftp")
                esperado << "lanzar cEditarFtp &";
        }
        QCOMPARE(vistos, esperado);
        // xinetd not running, as its row shows it: the file only.
        for (const Estado e : {Estado::Off, Estado::Pendiente, Estado::Error})
            QCOMPARE(texto(planear(Servicio::Telnet, Accion::Detener, ajustes,
                                   [e](Servicio) { return std::optional<Estado>(e); })),
                     "apagar " + x + "telnet, Telnet 1000");
        // "%editor" taken literally, every time; the rest of the line as it is.
        ajustes.asignar(Ajustes::valoresPorDefecto());
        cambiarAjuste(ajustes, C::cEditor, "ed\\1 $0 %editor .*");
        cambiarAjuste(ajustes, C::cEditarFtp, "%editor /a; %Editor %editorx");
        QCOMPARE(planear(Servicio::Ftp, Accion::Editar, ajustes, todoOn).lanzar,
                 "ed\\1 $0 %editor .* /a; %Editor ed\\1 $0 %editor .*x &");
    }

    // Samba through SWAT, which only runs under xinetd: both rows must read
    // ON, xinetd asked first; smb.conf in an editor, or a page on another
    // port, needs neither.
    void samba()
    {
        Ajustes ajustes;
        const struct {
            Estado xinetd, swat;
            QString visto;
        } casos[]
            = {{Estado::Off, Estado::On, "aviso Debe estar iniciado el servicio XINETD"},
               {Estado::Pendiente, Estado::On, "aviso Debe estar iniciado el servicio XINETD"},
               {Estado::On, Estado::Error, "aviso Debe estar iniciado el servicio SWAT"},
               {Estado::On, Estado::On, "lanzar htmlview http://127.0.0.1:901/ &"}};
        for (const auto &c : casos) {
            const Mostrado m = [&](Servicio s) {
                return std::optional<Estado>(s == Servicio::Xinetd ? c.xinetd : c.swat);
            };
            QCOMPARE(texto(planear(Servicio::Samba, Accion::Editar, ajustes, m)), c.visto);
        }
        for (const QByteArray editar :
             {"%editor /etc/samba/smb.conf", "xdg-open https://h:9090/"}) {
            cambiarAjuste(ajustes, C::cEditarSamba, editar);
            QVERIFY(planear(Servicio::Samba, Accion::Editar, ajustes, [](Servicio) {
                        return std::optional<Estado>(Estado::Off);
                    }).aviso.isEmpty());
        }
    }

    // The board: a row's commands run off this thread while every other row
    // acts; the row shows "---" and refuses a second action meanwhile; the
    // re-probes are armed when the commands end, and failures told then.
    void tablero()
    {
        Raiz raiz;
        Grabador g;
        QSemaphore lenta; // squid's stop ends when the test says so
        g.accion = [&](const QString &c) {
            if (c.endsWith("squid stop"))
                lenta.acquire();
            return c.endsWith("squid stop") ? 1 : 0;
        };
        raiz.escribir(Squid, "1\n");
        raiz.escribir(Xinetd, "1\n");
        raiz.escribir("/etc/xinetd.d/telnet", "\tdisable\t= yes\n");
        Ajustes ajustes;
        ajustes.asignar(ajustesEnRaiz(raiz));
        Tablero t(raiz.sistema(g.ejecutor), ajustes);
        QList<Sonda> armadas;
        t.fijarReloj([&](int ms, QObject *, std::function<void()> hecho) {
            armadas.append({Servicio::Gate, ms});
            hecho(); // looked at once armed: the test does not wait
        });
        QStringList filas;
        connect(&t, &Tablero::fila, [&](Servicio s, Estado e, bool ocupada) {
            filas << QString(datos(s).id) + (ocupada ? " ocupada " : " ") + QString::number(int(e));
        });
        QSignalSpy fallos(&t, &Tablero::fallo);
        for (const Servicio s : {Servicio::Squid, Servicio::Xinetd})
            t.sondear(s);

        t.actuar(Servicio::Squid, Accion::Detener);
        QCOMPARE(t.mostrado(Servicio::Squid), Estado::Pendiente);
        QVERIFY(t.ocupado(Servicio::Squid));
        t.actuar(Servicio::Squid, Accion::Iniciar); // refused while busy
        t.actuar(Servicio::Httpd, Accion::Iniciar); // another row goes on
        QTRY_VERIFY(!t.ocupado(Servicio::Httpd));
        QCOMPARE(armadas.size(), 2); // httpd at 2 s and 5 s, from its end
        QCOMPARE(armadas[0].ms + armadas[1].ms, 7000);
        QVERIFY(t.ocupado(Servicio::Squid));
        QTRY_COMPARE(g.comandos().size(), 2);
        lenta.release();
        QTRY_VERIFY(!t.ocupado(Servicio::Squid));
        QCOMPARE(fallos.size(), 1);
        QCOMPARE(fallos[0][0].toByteArray(), "/etc/rc.d/init.d/squid stop");
        QCOMPARE(armadas.size(), 3);
        QStringList corridos = g.comandos(); // each from its own thread, in either order
        corridos.sort();
        QCOMPARE(corridos,
                 QStringList({"/etc/rc.d/init.d/httpd start", "/etc/rc.d/init.d/squid stop"}));
        QVERIFY(filas.contains("Squid ocupada 3") && filas.last().startsWith("Squid 0"));

        // A switch with xinetd running restarts it; the rewritten row is
        // looked at again a second after the restart ended.
        armadas.clear();
        g.limpiar();
        t.actuar(Servicio::Telnet, Accion::Iniciar);
        QCOMPARE(raiz.leer("/etc/xinetd.d/telnet"), "\tdisable\t= no\n");
        QTRY_VERIFY(!t.ocupado(Servicio::Xinetd) && armadas.size() == 2);
        QCOMPARE(g.comandos(), QStringList{"/etc/rc.d/init.d/xinetd restart"});
        QCOMPARE(armadas[0].ms + armadas[1].ms, 3000);
        // A file that cannot be rewritten: Error, no restart, no probe.
        armadas.clear();
        g.limpiar();
        t.actuar(Servicio::Pop3, Accion::Iniciar);
        QCOMPARE(filas.last(), "Pop3 2");
        QVERIFY(g.comandos().isEmpty() && armadas.isEmpty());
    }

    // The runner: every line runs in turn, failures in order with their
    // standard error; the event loop goes on meanwhile; a runner deleted
    // while a command runs leaves it to finish.
    void corredor()
    {
        Raiz raiz;
        const QString fifo = raiz.ruta("/fifo"), hecho = raiz.ruta("/hecho");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo), 0600), 0);
        auto c = std::make_unique<Corredor>(Sistema());
        QSignalSpy fin(c.get(), &Corredor::terminado);
        const QByteArrayList lineas
            = {"read x <" + QFile::encodeName(fifo), "echo uno >&2; echo dos >&2; exit 3",
               "/no/existe", "exit 130", "kill -INT $$"};
        c->correr(Servicio::Dns, lineas); // returns while the first waits for the fifo
        raiz.escribir("/fifo", "\n");
        QVERIFY(fin.wait(10000));
        const auto fallos = fin[0][1].value<QList<Fallo>>();
        QStringList dichos;
        for (const Fallo &f : fallos)
            dichos << Comandos::describirFallo(f.comando, f.resultado).section(':', 0, 0);
        // A shell's own status above 128 is no signal; a shell killed is.
        QCOMPARE(dichos, QStringList({"El comando termino con error (codigo 3)",
                                      "No se encontro el comando",
                                      "El comando termino con error (codigo 130)",
                                      "El comando fue interrumpido (senal 2)"}));
        QCOMPARE(fallos[0].comando, lineas[1]);
        QCOMPARE(fallos[0].resultado.errores, "uno\ndos\n");

        c->correr(Servicio::Dns, {"read x <" + QFile::encodeName(fifo) + "; echo si >"
                                  + QFile::encodeName(hecho)});
        c.reset();
        raiz.escribir("/fifo", "\n"); // the command still waits for it
        QTRY_COMPARE(raiz.leer("/hecho"), "si\n");
    }

    // Files changed outside the program reach their rows: a pid file made
    // and removed, one in a directory made later, an xinetd file edited in
    // place or replaced; a burst costs one probe per row; new settings are
    // followed.
    void monitor()
    {
        Raiz raiz;
        Ajustes ajustes;
        QByteArrayList v = ajustesEnRaiz(raiz);
        v[int(C::cEstadoDns)] = QFile::encodeName(raiz.ruta("/run/named/named.pid"));
        raiz.escribir("/etc/xinetd.d/telnet", "service telnet\n{\n}\n");
        ajustes.asignar(v);
        Monitor m(raiz.sistema(), ajustes);
        QList<QPair<Servicio, Estado>> vistos;
        connect(&m, &Monitor::cambio, [&](Servicio s, Estado e) { vistos.append({s, e}); });
        const auto ultimo = [&](Servicio s) { return m.estado(s).value_or(Estado::Pendiente); };

        raiz.escribir(Squid, "1\n");
        QTRY_COMPARE(ultimo(Servicio::Squid), Estado::On);
        QFile::remove(raiz.ruta(Squid));
        QTRY_COMPARE(ultimo(Servicio::Squid), Estado::Off);
        raiz.escribir("/run/named/named.pid", "1\n"); // /run and /run/named are new
        QTRY_COMPARE(ultimo(Servicio::Dns), Estado::On);

        QFile telnet(raiz.ruta("/etc/xinetd.d/telnet"));
        QVERIFY(telnet.open(QIODevice::Append));
        telnet.write("\tdisable = yes\n");
        telnet.close();
        QTRY_COMPARE(ultimo(Servicio::Telnet), Estado::Off);
        QVERIFY(Sistema::reemplazarArchivo(telnet.fileName(), "{\n\tdisable = no\n}\n"));
        QTRY_COMPARE(ultimo(Servicio::Telnet), Estado::On);
        QFile::remove(telnet.fileName());
        QTRY_COMPARE(ultimo(Servicio::Telnet), Estado::Error);

        vistos.clear();
        for (int i = 0; i < 100; ++i) {
            raiz.escribir(Squid, "1\n");
            QFile::remove(raiz.ruta(Squid));
        }
        raiz.escribir(Squid, "1\n");
        QTRY_COMPARE(ultimo(Servicio::Squid), Estado::On);
        QVERIFY2(vistos.size() <= 2, qPrintable(QString::number(vistos.size())));

        v[int(C::cEstadoSquid)] = QFile::encodeName(raiz.ruta("/otra/squid.pid"));
        ajustes.asignar(v);
        raiz.escribir("/otra/squid.pid", "1\n");
        QFile::remove(raiz.ruta(Squid));
        m.sondear(Servicio::Squid);
        QCOMPARE(ultimo(Servicio::Squid), Estado::On);
        QFile::remove(raiz.ruta("/otra/squid.pid"));
        QTRY_COMPARE(ultimo(Servicio::Squid), Estado::Off);
    }

    // hosts.allow changed by another program: told; a save then needs the
    // administrator's word; a save of our own is no change.
    void hostsAllow()
    {
        Raiz raiz;
        raiz.escribir("/etc/hosts.allow", "ALL: 127.0.0.1\n");
        Accesos::HostsAllow h(raiz.sistema());
        QSignalSpy cambio(&h, &Accesos::HostsAllow::cambio);
        QCOMPARE(h.leer()->texto, "ALL: 127.0.0.1");
        using G = Accesos::HostsAllow::Guardado;
        QCOMPARE(h.guardar("ALL: 10.0.0.1", Texto::Codificacion::Utf8, false), G::Hecho);
        QCOMPARE(raiz.leer("/etc/hosts.allow"), "ALL: 10.0.0.1\n\n");
        QVERIFY(Sistema::reemplazarArchivo(raiz.ruta("/etc/hosts.allow"), "ALL: .ejemplo.org\n"));
        QTRY_VERIFY(!cambio.isEmpty());
        QCOMPARE(h.guardar("ALL: 10.0.0.2", Texto::Codificacion::Utf8, false), G::CambioEnDisco);
        QCOMPARE(raiz.leer("/etc/hosts.allow"), "ALL: .ejemplo.org\n");
        QCOMPARE(h.guardar("ALL: 10.0.0.2", Texto::Codificacion::Utf8, true), G::Hecho);
        QVERIFY(!h.cambioEnDisco());
    }

    // What a screen reader hears: one row's change, a few, a burst summed
    // up by state; "---" never; a row counted once, at its latest state.
    // Urgent is a service that went down without being asked.
    void anuncios()
    {
        Anuncios::Resumen r;
        r.anotar(Servicio::Squid, Estado::Pendiente, true);
        QVERIFY(r.vacio());
        r.anotar(Servicio::Squid, Estado::Off, true);
        QCOMPARE(r.texto(), "Squid: OFF");
        QVERIFY(!r.urgente());
        r.anotar(Servicio::Samba, Estado::On, false);
        r.anotar(Servicio::Squid, Estado::On, false); // once, at its latest state
        QCOMPARE(r.texto(), "Squid: ON, Samba: ON");
        QVERIFY(!r.urgente());
        r.anotar(Servicio::Dns, Estado::Error, false);
        QVERIFY(r.urgente());
        r.anotar(Servicio::Gate, Estado::Off, true);
        r.anotar(Servicio::Swat, Estado::Off, false);
        QCOMPARE(r.texto(), "5 servicios: 2 ON; OFF: Korv-Gate, Swat; Error: Named");
        r.vaciar();
        QVERIFY(r.vacio() && !r.urgente());
    }

    // A launched line that cannot start is told, from another thread; one
    // that starts is not (the window's Error box: tst_form1).
    void lanzador()
    {
        const Sistema real;
        Raiz hecho;
        const QString marca = hecho.ruta("/arranco");
        std::atomic<int> bien{-1}, mal{-1};
        real.lanzar("touch '" + marca.toUtf8() + "' &",
                    [&](const Sistema::Resultado &r) { bien = r.estado; });
        QTRY_VERIFY(QFile::exists(marca));
        real.lanzar("talvora-no-existe-este-editor /etc/hosts &",
                    [&](const Sistema::Resultado &r) { mal = r.estado; });
        QTRY_COMPARE(mal.load(), 127);
        QCOMPARE(bien.load(), -1);
    }
};

QTEST_GUILESS_MAIN(TstNucleo)
#include "tst_nucleo.moc"

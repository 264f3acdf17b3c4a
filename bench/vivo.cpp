// How live the main window is: from an outside change to its label's new
// text, median and worst over 50 changes (a pid file written and removed;
// beside a real systemd, a unit started and stopped too); then the window
// left idle for 30 s: CPU time, wake-ups and processes started.
//
//     bench_vivo [SEGUNDOS_QUIETA]
//
// Prints one line per target: the figure, the target, "ok" or "over".
#include "mainwindow/form1impl.h"
#include "platform/sistema.h"
#include "settings/ajustes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

using C = Ajustes::Clave;

void linea(const char *nombre, const QString &cifra, const char *objetivo, bool bien)
{
    std::printf("%-34s %-28s %-26s %s\n", nombre, qPrintable(cifra), objetivo,
                bien ? "ok" : "over");
    std::fflush(stdout);
}

QString palabra(const QLabel *l) { return l->text().section('>', -1); }

// Milliseconds from each change to the label showing its result.
std::vector<double> latencias(QLabel *etiqueta, const std::function<void(bool)> &cambiar)
{
    std::vector<double> ms;
    for (int i = 0; i < 50; ++i) {
        const bool encender = palabra(etiqueta) != "ON";
        const QString esperado = encender ? "ON" : "OFF";
        cambiar(encender);
        QElapsedTimer t;
        t.start();
        while (palabra(etiqueta) != esperado && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

void informar(const char *nombre, const std::vector<double> &ms)
{
    const double mediana = ms[ms.size() / 2], peor = ms.back();
    linea(nombre, QString::asprintf("mediana %.1f ms, peor %.1f ms", mediana, peor),
          "< 200 ms, peor < 1000 ms", mediana < 200 && peor < 1000);
}

QString systemctl(const QStringList &argumentos)
{
    QProcess p;
    p.start("systemctl", argumentos);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int quieta = argc > 1 ? std::atoi(argv[1]) : 30;
    QTemporaryDir raiz;
    // Beside a private systemd (tests/systemd/arrancar) the window works on
    // "/", whose data directory is the harness's own; elsewhere on a root of
    // its own. Its status files lie in the temporary directory either way.
    QFile entorno("/proc/1/environ"); // the harness's PID 1 says what it is
    const bool systemd = entorno.open(QIODevice::ReadOnly)
                         && entorno.readAll().split('\0').contains("container=talvora-pruebas")
                         && systemctl({"is-system-running"}) == "running";
    // Every command passes here: an idle window must start none.
    std::atomic<int> ordenes{0};
    const Sistema real;
    const Sistema sistema(
        systemd ? QString() : raiz.path(), [&](Sistema::Forma forma, const QByteArrayList &orden) {
            ++ordenes;
            return forma == Sistema::Forma::Programa ? real.ejecutarPrograma(orden)
                                                     : real.ejecutar(orden.first());
        });
    QByteArrayList valores = Ajustes::valoresPorDefecto();
    for (QByteArray &v : valores) {
        if (v.startsWith("/var/") || v == "/etc/xinetd.d")
            v = QFile::encodeName(raiz.path()) + v;
    }
    if (systemd) // the stand-in unit of tests/systemd, beside the file rows
        valores[int(C::cEstadoHttpd)] = "systemd:apache2.service";
    QDir().mkpath(QFileInfo(Ajustes::rutaArchivo(sistema)).path());
    QDir().mkpath(raiz.path() + "/var/run");
    QFile conf(Ajustes::rutaArchivo(sistema));
    if (!conf.open(QIODevice::WriteOnly) || conf.write(valores.join('\n') + '\n') <= 0)
        return 1;
    conf.close();
    Ajustes ajustes;
    form1 ventana(sistema, ajustes);
    ventana.show();
    QCoreApplication::processEvents();

    const QString pid = raiz.path() + "/var/run/squid.pid";
    informar("archivo de estado -> etiqueta", latencias(ventana.tSquid, [&](bool encender) {
                 if (encender) {
                     QFile f(pid);
                     f.open(QIODevice::WriteOnly);
                     f.write("1\n");
                 } else {
                     QFile::remove(pid);
                 }
             }));
    if (systemd) {
        while (palabra(ventana.tHttpd) == "---")
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        informar("unidad de systemd -> etiqueta", latencias(ventana.tHttpd, [](bool encender) {
                     systemctl({encender ? "start" : "stop", "apache2.service"});
                 }));
    } else {
        std::printf("%-34s %s\n", "unidad de systemd -> etiqueta",
                    "(sin systemd propio: tests/systemd/arrancar bench_vivo)");
    }

    // Idle: nothing changes for a while.
    const int antes = ordenes;
    rusage inicio{}, fin{};
    getrusage(RUSAGE_SELF, &inicio);
    QTimer::singleShot(quieta * 1000, &app, &QCoreApplication::quit);
    app.exec();
    getrusage(RUSAGE_SELF, &fin);
    const auto segundos = [](const timeval &t) { return t.tv_sec + t.tv_usec / 1e6; };
    const double cpu = segundos(fin.ru_utime) - segundos(inicio.ru_utime) + segundos(fin.ru_stime)
                       - segundos(inicio.ru_stime);
    const long despertares = (fin.ru_nvcsw - inicio.ru_nvcsw) + (fin.ru_nivcsw - inicio.ru_nivcsw);
    const double parte = 100 * cpu / quieta;
    linea("ventana quieta: CPU", QString::asprintf("%.3f %% de un nucleo (%d s)", parte, quieta),
          "< 0.1 %", parte < 0.1);
    linea("ventana quieta: despertares", QString::number(despertares), "(informa)", true);
    linea("ventana quieta: procesos", QString::number(ordenes - antes), "0", ordenes == antes);
    return 0;
}

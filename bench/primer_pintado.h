#ifndef TALVORA_PRIMER_PINTADO_H
#define TALVORA_PRIMER_PINTADO_H

// Reports the moment of a window's first paint (CLOCK_MONOTONIC, ns) and
// the peak resident size so far, on standard output, then ends the run.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <ctime>

class PrimerPintado : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override
    {
        if (evento->type() == QEvent::Paint && !visto_) {
            visto_ = true;
            timespec ahora{};
            clock_gettime(CLOCK_MONOTONIC, &ahora);
            const long long ns
                = static_cast<long long>(ahora.tv_sec) * 1000000000LL + ahora.tv_nsec;
            std::printf("pintado %lld %ld\n", ns, picoResidente());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(objeto, evento);
    }

private:
    static long picoResidente()
    {
        QFile estado(QStringLiteral("/proc/self/status"));
        if (!estado.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &linea : estado.readAll().split('\n')) {
            if (linea.startsWith("VmHWM:"))
                return linea.mid(6).trimmed().split(' ').value(0).toLong();
        }
        return -1;
    }

    bool visto_ = false;
};

#endif

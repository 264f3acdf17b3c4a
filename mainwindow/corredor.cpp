#include "mainwindow/corredor.h"

#include <QMetaObject>

#include <mutex>
#include <system_error>
#include <thread>

// Where a finished command reports. The object may be gone by then: the
// thread asks under the lock, and a queued call to a deleted object is
// dropped by Qt.
struct Corredor::Buzon {
    std::mutex cerrojo;
    Corredor *destino = nullptr;
};

Corredor::Corredor(const Sistema &sistema, QObject *parent)
    : QObject(parent), sistema_(sistema), buzon_(std::make_shared<Buzon>())
{
    buzon_->destino = this;
}

Corredor::~Corredor()
{
    const std::lock_guard<std::mutex> cerrado(buzon_->cerrojo);
    buzon_->destino = nullptr;
}

bool Corredor::lanzar(std::function<std::function<void()>()> trabajo)
{
    const auto hilo = [buzon = buzon_, trabajo] {
        const std::function<void()> despues = trabajo();
        const std::lock_guard<std::mutex> cerrado(buzon->cerrojo);
        if (Corredor *c = buzon->destino)
            QMetaObject::invokeMethod(c, despues, Qt::QueuedConnection);
    };
    try {
        std::thread(hilo).detach();
        return true;
    } catch (const std::system_error &) {
        return false;
    }
}

void Corredor::correr(Servicio fila, const QByteArrayList &comandos)
{
    // No thread to be had: the command is told as not run.
    Sistema::Resultado sinHilo;
    sinHilo.estado = 126;
    sinHilo.errores = "talvora: no se pudo crear un hilo\n";
    enHilo<QList<Fallo>>(
        [sistema = sistema_, comandos] {
            QList<Fallo> fallos;
            for (const QByteArray &comando : comandos) {
                const Sistema::Resultado r = sistema.ejecutar(comando);
                if (!r.bien())
                    fallos.append({comando, r});
            }
            return fallos;
        },
        {{comandos.value(0), sinHilo}},
        [this, fila](const QList<Fallo> &fallos) { emit terminado(fila, fallos); });
}

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

void Corredor::correr(Servicio fila, const QByteArrayList &comandos)
{
    const auto trabajo = [sistema = sistema_, buzon = buzon_, fila, comandos] {
        QList<Fallo> fallos;
        for (const QByteArray &comando : comandos) {
            const Sistema::Resultado r = sistema.ejecutar(comando);
            if (!r.bien())
                fallos.append({comando, r});
        }
        const std::lock_guard<std::mutex> cerrado(buzon->cerrojo);
        if (Corredor *c = buzon->destino)
            QMetaObject::invokeMethod(
                c, [c, fila, fallos] { emit c->terminado(fila, fallos); }, Qt::QueuedConnection);
    };
    try {
        std::thread(trabajo).detach();
    } catch (const std::system_error &) {
        // No thread to be had: the command is told as not run.
        Sistema::Resultado r;
        r.estado = 126;
        r.errores = "talvora: no se pudo crear un hilo\n";
        emit terminado(fila, {{comandos.value(0), r}});
    }
}

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
    const auto trabajo = [this, sistema = sistema_, fila, comandos]() -> std::function<void()> {
        QList<Fallo> fallos;
        for (const QByteArray &comando : comandos) {
            const Sistema::Resultado r = sistema.ejecutar(comando);
            if (!r.bien())
                fallos.append({comando, r});
        }
        // Called only while this object is there.
        return [this, fila, fallos] { emit terminado(fila, fallos); };
    };
    if (!lanzar(trabajo)) {
        // No thread to be had: the command is told as not run.
        Sistema::Resultado r;
        r.estado = 126;
        r.errores = "talvora: no se pudo crear un hilo\n";
        emit terminado(fila, {{comandos.value(0), r}});
    }
}

#include "mainwindow/tablero.h"

#include "mainwindow/monitor.h"
#include "mainwindow/xinetd.h"
#include "settings/ajustes.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace {

size_t indice(Servicio s) { return static_cast<size_t>(s); }

} // namespace

Tablero::Tablero(const Sistema &sistema, Ajustes &ajustes, QObject *parent)
    : QObject(parent), sistema_(sistema), ajustes_(ajustes),
      monitor_(new Monitor(sistema, ajustes, this)), corredor_(new Corredor(sistema, this)),
      reloj_([](int ms, QObject *contexto, std::function<void()> hecho) {
          QTimer::singleShot(ms, contexto, std::move(hecho));
      })
{
    connect(monitor_, &Monitor::cambio, this, &Tablero::cambio);
    connect(corredor_, &Corredor::terminado, this, &Tablero::terminado);
}

Tablero::~Tablero() = default;

void Tablero::fijarReloj(Reloj reloj) { reloj_ = std::move(reloj); }

std::optional<Estado> Tablero::mostrado(Servicio servicio) const
{
    if (ocupado(servicio))
        return Estado::Pendiente;
    return monitor_->estado(servicio);
}

bool Tablero::ocupado(Servicio servicio) const { return ocupados_[indice(servicio)]; }

void Tablero::sondear(Servicio servicio) { monitor_->sondear(servicio); }

void Tablero::dibujar(Servicio servicio)
{
    emit fila(servicio, mostrado(servicio).value_or(Estado::Pendiente), ocupado(servicio));
}

void Tablero::cambio(Servicio servicio, Estado) { dibujar(servicio); }

void Tablero::actuar(Servicio servicio, Accion accion)
{
    const Plan plan
        = planear(servicio, accion, ajustes_, [this](Servicio s) { return mostrado(s); });
    if (!plan.aviso.isEmpty()) {
        emit aviso(plan.aviso);
        return;
    }
    if (!plan.lanzar.isEmpty())
        sistema_.lanzar(plan.lanzar, siNoArranca(plan.lanzar));
    if (!plan.xinetd.isEmpty() && !Xinetd::cambiarArchivo(plan.xinetd, plan.encender)) {
        // Nothing to restart or look at again: the row tells the failure.
        emit fila(servicio, Estado::Error, ocupado(servicio));
        return;
    }
    if (!plan.fila || plan.comandos.isEmpty()) {
        armar(plan.sondas);
        return;
    }
    // A row runs one action at a time; its buttons wait meanwhile.
    if (ocupado(*plan.fila))
        return;
    ocupados_[indice(*plan.fila)] = true;
    despues_[indice(*plan.fila)] = plan.sondas;
    dibujar(*plan.fila);
    corredor_->correr(*plan.fila, plan.comandos);
}

// The row shows what its source says now, and looks again as planned,
// counted from here; a failure is told once the probes are set.
void Tablero::terminado(Servicio servicio, const QList<Fallo> &fallos)
{
    ocupados_[indice(servicio)] = false;
    armar(std::exchange(despues_[indice(servicio)], {}));
    dibujar(servicio);
    for (const Fallo &f : fallos)
        emit fallo(f.comando, f.resultado);
}

void Tablero::armar(const QList<Sonda> &sondas)
{
    for (const Sonda &s : sondas)
        reloj_(s.ms, this, [this, servicio = s.servicio] { sondear(servicio); });
}

Sistema::AlFallar Tablero::siNoArranca(const QByteArray &linea)
{
    // Told from the launcher's thread; this board may be gone by then.
    return [yo = QPointer<Tablero>(this), linea](const Sistema::Resultado &r) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [yo, linea, r] {
                if (yo)
                    emit yo->fallo(linea, r);
            },
            Qt::QueuedConnection);
    };
}

#ifndef TALVORA_TABLERO_H
#define TALVORA_TABLERO_H

// The rows of the main window without the window: what each row shows, and
// every action of a row carried out without blocking. The window draws what
// fila() says, asks and tells what aviso() and fallo() say, and nothing else.

#include "mainwindow/corredor.h"
#include "mainwindow/estado.h"
#include "mainwindow/plan.h"
#include "mainwindow/servicios.h"
#include "platform/sistema.h"

#include <QObject>

#include <array>
#include <functional>
#include <optional>

class Ajustes;
class Monitor;

class Tablero : public QObject
{
    Q_OBJECT

public:
    Tablero(const Sistema &sistema, Ajustes &ajustes, QObject *parent = nullptr);
    ~Tablero() override;

    // How a re-probe waits: a single-shot timer by default. Tests hand in
    // their own, so that nothing waits on real time.
    using Reloj = std::function<void(int ms, QObject *contexto, std::function<void()> hecho)>;
    void fijarReloj(Reloj reloj);

    // What a row shows: nothing before its first answer, "---" while its
    // commands run; and whether they do.
    std::optional<Estado> mostrado(Servicio servicio) const;
    bool ocupado(Servicio servicio) const;

    // A row's state asked for again now.
    void sondear(Servicio servicio);
    // A row's action, as its button and its menu entry do it.
    void actuar(Servicio servicio, Accion accion);

    Monitor &monitor() const { return *monitor_; }

    // For Sistema::lanzar: an editor or viewer that cannot start is told as
    // fallo(), on this board's thread.
    Sistema::AlFallar siNoArranca(const QByteArray &linea);

signals:
    // Draw this row: its state as shown, and whether its commands run.
    void fila(Servicio servicio, Estado estado, bool ocupada);
    // Tell the administrator: a command failed, or an action was refused.
    void fallo(const QByteArray &comando, const Sistema::Resultado &resultado);
    void aviso(const QString &texto);

private:
    void cambio(Servicio servicio, Estado estado);
    void terminado(Servicio servicio, const QList<Fallo> &fallos);
    void armar(const QList<Sonda> &sondas);
    void dibujar(Servicio servicio);

    const Sistema sistema_;
    Ajustes &ajustes_;
    Monitor *monitor_;
    Corredor *corredor_;
    Reloj reloj_;
    std::array<bool, std::size(Servicios)> ocupados_{};
    // Re-probes of a plan whose commands still run: armed when they end.
    std::array<QList<Sonda>, std::size(Servicios)> despues_;
};

#endif

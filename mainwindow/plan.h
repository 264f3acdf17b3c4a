#ifndef TALVORA_PLAN_H
#define TALVORA_PLAN_H

// What an action of a row comes to, decided before anything runs: the
// commands and their order, the file rewritten, whether xinetd restarts,
// the row that waits, the re-probes after. Pure: the board carries it out.

#include "mainwindow/estado.h"
#include "mainwindow/servicios.h"

#include <QByteArrayList>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class Ajustes;

// A row probed again this long after its commands ended.
struct Sonda {
    Servicio servicio;
    int ms;
    bool operator==(const Sonda &otra) const { return servicio == otra.servicio && ms == otra.ms; }
};

struct Plan {
    QString aviso;                // refused: nothing runs, the window warns with this
    QByteArray lanzar;            // an editor or viewer, started in the background
    QByteArray xinetd;            // a service file rewritten first; if that fails, nothing else
    bool encender = false;        // ...to switch it on, or off
    std::optional<Servicio> fila; // whose commands run: it shows "---" and its buttons wait
    QByteArrayList comandos;      // shell lines, in turn, off the window's thread
    QList<Sonda> sondas;          // counted from the end of the commands (or the rewrite)
};

// After a start, stop or restart returned; after a service file was rewritten.
constexpr int SondaComando = 2000;
constexpr int SondaXinetd = 1000;

// What a row shows now: nothing before its first probe, "---" while it waits.
using Mostrado = std::function<std::optional<Estado>(Servicio)>;

// A row's action with the settings as they are now. An action the row does
// not have comes to nothing.
Plan planear(Servicio servicio, Accion accion, const Ajustes &ajustes, const Mostrado &mostrado);

#endif

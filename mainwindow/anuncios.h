#ifndef TALVORA_ANUNCIOS_H
#define TALVORA_ANUNCIOS_H

// What a screen reader says of the rows: each status's name with its state,
// and the changes of a moment gathered into one short phrase, so that a
// burst (start-up, a reload) is heard once and not row by row.

#include "mainwindow/estado.h"
#include "mainwindow/servicios.h"

#include <QList>
#include <QString>

namespace Anuncios {

// A state as it is heard: "ON", "OFF", "Error", "---".
QString palabra(Estado estado);

// A status as a screen reader names it: "Estado de Squid: ON".
QString nombreDeEstado(Servicio servicio, Estado estado);

// The changes since the last phrase. Each row counts once, with its latest
// state; "---" (a row waiting for an answer) is never said.
class Resumen
{
public:
    // `pedido`: the administrator's own action led to it.
    void anotar(Servicio servicio, Estado estado, bool pedido);
    bool vacio() const { return cambios_.isEmpty(); }
    // A service went OFF or Error that nobody stopped: said at once, over
    // whatever is being read.
    bool urgente() const;
    // "Squid: OFF"; a few rows one by one ("Squid: OFF, Samba: ON"); more,
    // counted by state, naming only those not running:
    // "11 servicios: 8 ON; OFF: Squid, Samba; Error: Swat".
    QString texto() const;
    void vaciar() { cambios_.clear(); }

private:
    struct Cambio {
        Servicio servicio;
        Estado estado;
        bool pedido;
    };
    QList<Cambio> cambios_;
};

} // namespace Anuncios

#endif

#ifndef TALVORA_ESTADO_H
#define TALVORA_ESTADO_H

// Status probes: a status file's existence, a systemd unit's state, or an
// xinetd service file's disable line. They say what they found; the window
// decides how it looks.

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <optional>

class Sistema;

// What a probe finds: running, stopped, unknown (the probe failed), or on
// its way from one to the other.
enum class Estado { On, Off, Error, Pendiente };

namespace Sondas {

// ON while the path (its exact bytes) exists, a directory too; OFF otherwise.
Estado porArchivo(const QByteArray &ruta);

// A status setting that names a systemd unit instead of a file:
// "systemd:squid.service" gives "squid.service". An absolute path, or
// anything else, is a file.
std::optional<QByteArray> unidadSystemd(const QByteArray &ajuste);

// One unit's state from its properties, as systemd gives them. A unit that
// forks a daemon and stays active after its start (RemainAfterExit, as the
// units made from init scripts do) is running only while it has processes
// (SubState running); once it has none the daemon is gone, whatever
// ActiveState says.
struct Unidad {
    QByteArrayView carga, actividad, subestado, tipo;
};
Estado deSystemd(const Unidad &unidad);

// Error when the file cannot be read; OFF when a line switches it off; ON.
Estado porXinetd(const QByteArray &ruta);

// True when some line of an xinetd service file holds "disable" and "yes"
// exactly once each: the service is switched off.
bool xinetdDesactivado(const QByteArray &contenido);

} // namespace Sondas

#endif

#ifndef TALVORA_ESTADO_H
#define TALVORA_ESTADO_H

// Status probes: a status file's existence, or an xinetd service file's
// disable line. They say what they found; the window decides how it looks.

#include <QByteArray>

// What a probe finds: running, stopped, unknown (the probe failed), or on
// its way from one to the other.
enum class Estado { On, Off, Error, Pendiente };

namespace Sondas {

// ON while the path (its exact bytes) exists, a directory too; OFF otherwise.
Estado porArchivo(const QByteArray &ruta);

// Error when the file cannot be read; OFF when a line switches it off; ON.
Estado porXinetd(const QByteArray &ruta);

// True when some line of an xinetd service file holds "disable" and "yes"
// exactly once each: the service is switched off.
bool xinetdDesactivado(const QByteArray &contenido);

} // namespace Sondas

#endif

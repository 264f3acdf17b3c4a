#ifndef TALVORA_ESTADO_H
#define TALVORA_ESTADO_H

// Status probes: a status file's existence, or an xinetd service file's
// disable line. They return what the service's label shows.

#include <QByteArray>
#include <QString>

// What a probe finds: running, stopped, unknown (the probe failed), or on
// its way from one to the other.
enum class Estado { On, Off, Error, Pendiente };

// What a status label can show. The label's text is the only record of a
// service's state, and other actions compare it with MarcaOn verbatim.
inline const QString MarcaOn = QStringLiteral("<b><font color=darkgreen>ON");
inline const QString MarcaOff = QStringLiteral("<b><font color=red>OFF");
inline const QString MarcaError = QStringLiteral("<b><font color=darkblue>Error");
inline const QString MarcaPendiente = QStringLiteral("<b><font color=darkblue>---");

namespace Sonda {

// ON while the path (its exact bytes) exists, a directory too; OFF otherwise.
QString porArchivo(const QByteArray &ruta);

// Error when the file cannot be read; OFF when a line switches it off; ON.
QString porXinetd(const QByteArray &ruta);

// True when some line of an xinetd service file holds "disable" and "yes"
// exactly once each: the service is switched off.
bool xinetdDesactivado(const QByteArray &contenido);

} // namespace Sonda

#endif

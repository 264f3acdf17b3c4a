#ifndef TALVORA_XINETD_H
#define TALVORA_XINETD_H

// Switching an xinetd-run service on or off by rewriting the disable line
// of its service file.

#include <QByteArray>
#include <QString>

namespace Xinetd {

// Switching on turns "disable ... = ... yes" into "disable\t= no"; switching
// off turns "disable ... = ... no" into "disable\t= yes". Every line comes
// out ended by "\n"; bytes outside the matches are kept as they are.
QByteArray reescribir(const QByteArray &contenido, bool activar);

// Reads the file and replaces it with the rewritten text (even when no line
// changed). False, with the file untouched, when it cannot be read or replaced.
// The path is taken byte for byte: it comes from the settings file.
bool cambiarArchivo(const QByteArray &ruta, bool activar);

} // namespace Xinetd

#endif

#ifndef TALVORA_COMANDOS_H
#define TALVORA_COMANDOS_H

// Running a setting's command line, the "%editor" expansion of the edit and
// log commands, and how a failure is told. Command lines are bytes: they
// come from the settings file as it was written.

#include "platform/sistema.h"

#include <QByteArray>
#include <QString>

namespace Comandos {

// Every "%editor" (literal, case-sensitive) becomes the editor setting, and
// " &" is appended so that the editor runs in the background.
QByteArray expandirEditor(const QByteArray &comando, const QByteArray &editor);

// Whether a command opens SWAT, the web tool on port 901 that xinetd runs.
bool abreSwat(const QByteArray &comando);

// The warning for a command that could not start or ended in a failure:
// the command and the last lines it wrote to standard error.
QString describirFallo(const QByteArray &comando, const Sistema::Resultado &resultado);

} // namespace Comandos

#endif

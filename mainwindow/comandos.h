#ifndef TALVORA_COMANDOS_H
#define TALVORA_COMANDOS_H

// Running a setting's command line, and the "%editor" expansion of the
// edit and log commands. Command lines are bytes: they come from the
// settings file as it was written.

#include <QByteArray>

namespace Comandos {

// Runs the command through the shell and waits; the result is not looked at.
void ejecutar(const QByteArray &comando);

// Every "%editor" (literal, case-sensitive) becomes the editor setting, and
// " &" is appended so that the editor runs in the background.
QByteArray expandirEditor(const QByteArray &comando, const QByteArray &editor);

} // namespace Comandos

#endif

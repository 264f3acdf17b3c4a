#ifndef TALVORA_COMANDOS_H
#define TALVORA_COMANDOS_H

// Running a setting's command line, and the "%editor" expansion of the
// edit and log commands.

#include <QString>

namespace Comandos {

// Runs the command through the shell and waits; the result is not looked at.
void ejecutar(const QString &comando);

// Every "%editor" (literal, case-sensitive) becomes the editor setting, and
// " &" is appended so that the editor runs in the background.
QString expandirEditor(const QString &comando, const QString &editor);

} // namespace Comandos

#endif

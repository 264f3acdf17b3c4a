#ifndef TALVORA_AVISOS_H
#define TALVORA_AVISOS_H

// The warnings every window gives in the same words.

#include "platform/sistema.h"

class QWidget;

namespace Avisos {

// "Error" / "No se pudo escribir el Archivo".
void noSePudoEscribir(QWidget *padre);

// "Error" with the command and the last lines it wrote to standard error;
// nothing when it went well.
void siFallo(QWidget *padre, const QByteArray &comando, const Sistema::Resultado &resultado);

} // namespace Avisos

#endif

#ifndef TALVORA_MARCAS_H
#define TALVORA_MARCAS_H

// How a status label shows a state.

#include "mainwindow/estado.h"

#include <QPalette>
#include <QString>

namespace Marcas {

// The rich text for a state as the forms were drawn for it:
// "<b><font color=darkgreen>ON", "<b><font color=red>OFF",
// "<b><font color=darkblue>Error" and "<b><font color=darkblue>---".
QString clasica(Estado estado);

// The same, legible on the given palette.
QString texto(Estado estado, const QPalette &paleta);

} // namespace Marcas

#endif

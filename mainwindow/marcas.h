#ifndef TALVORA_MARCAS_H
#define TALVORA_MARCAS_H

// What a status label shows for each state, in colours its palette can
// carry. The words tell the states apart; the colours only help.

#include "mainwindow/estado.h"

#include <QString>

class QPalette;

namespace Marcas {

// On a light palette the markups the window always had: ON dark green, OFF
// red, Error and "---" dark blue. On a dark one, lighter shades of the same
// hues, each at a contrast of 4.5:1 at least with the palette's window
// colour, which is what lies behind a status label.
QString texto(Estado estado, const QPalette &paleta);

// The markup as the forms were drawn for it, whatever the palette:
// "<b><font color=darkgreen>ON", "<b><font color=red>OFF",
// "<b><font color=darkblue>Error" and "<b><font color=darkblue>---".
QString clasica(Estado estado);

// Light text on a dark window: the status colours must change.
bool esOscura(const QPalette &paleta);

} // namespace Marcas

#endif

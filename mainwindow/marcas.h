#ifndef TALVORA_MARCAS_H
#define TALVORA_MARCAS_H

// What a status label can show. The label's text is the only record of a
// service's state, and other actions compare it with MarcaOn verbatim.

#include <QString>

inline const QString MarcaOn = QStringLiteral("<b><font color=darkgreen>ON");
inline const QString MarcaOff = QStringLiteral("<b><font color=red>OFF");
inline const QString MarcaError = QStringLiteral("<b><font color=darkblue>Error");
inline const QString MarcaPendiente = QStringLiteral("<b><font color=darkblue>---");

#endif

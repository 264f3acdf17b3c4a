#include "mainwindow/marcas.h"

namespace Marcas {

QString clasica(Estado estado)
{
    switch (estado) {
    case Estado::On:
        return QStringLiteral("<b><font color=darkgreen>ON");
    case Estado::Off:
        return QStringLiteral("<b><font color=red>OFF");
    case Estado::Error:
        break;
    case Estado::Pendiente:
        return QStringLiteral("<b><font color=darkblue>---");
    }
    return QStringLiteral("<b><font color=darkblue>Error");
}

QString texto(Estado estado, const QPalette &) { return clasica(estado); }

} // namespace Marcas

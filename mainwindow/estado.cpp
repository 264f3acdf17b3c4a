#include "mainwindow/estado.h"

#include "platform/sistema.h"
#include "platform/texto.h"

namespace Sondas {

Estado porArchivo(const QByteArray &ruta)
{
    return Sistema::existe(ruta) ? Estado::On : Estado::Off;
}

Estado porXinetd(const QByteArray &ruta)
{
    const std::optional<QByteArray> contenido = Sistema::leerArchivo(ruta);
    if (!contenido)
        return Estado::Error;
    return xinetdDesactivado(*contenido) ? Estado::Off : Estado::On;
}

bool xinetdDesactivado(const QByteArray &contenido)
{
    for (const QByteArrayView linea : Texto::lineas(contenido)) {
        if (linea.count("disable") == 1 && linea.count("yes") == 1)
            return true;
    }
    return false;
}

} // namespace Sondas

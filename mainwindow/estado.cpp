#include "mainwindow/estado.h"

#include "platform/sistema.h"
#include "platform/texto.h"
#include "rutas.h"

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

std::optional<QByteArray> unidadSystemd(const QByteArray &ajuste)
{
    static constexpr QByteArrayView prefijo("systemd:");
    if (!ajuste.startsWith(prefijo))
        return std::nullopt;
    return ajuste.mid(prefijo.size());
}

Estado deSystemd(const Unidad &u)
{
    if (u.carga != "loaded" && u.carga != "masked")
        return Estado::Error; // not-found, bad-setting, error
    if (u.actividad == "active" && u.subestado == "exited" && u.tipo == "forking")
        return Estado::Off;
    if (u.actividad == "active" || u.actividad == "reloading" || u.actividad == "refreshing")
        return Estado::On;
    if (u.actividad == "inactive" || u.actividad == "failed")
        return Estado::Off;
    if (u.actividad == "activating" || u.actividad == "deactivating"
        || u.actividad == "maintenance")
        return Estado::Pendiente;
    return Estado::Error;
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

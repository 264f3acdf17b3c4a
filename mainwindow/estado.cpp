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

namespace {

// What systemd takes as a unit name; anything else would make systemctl
// refuse the whole query, and every row with it.
bool nombreValido(const QByteArray &unidad)
{
    if (unidad.isEmpty() || unidad.size() > 255 || unidad.startsWith('-'))
        return false;
    for (const char c : unidad) {
        const bool valido = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
                            || (c >= '0' && c <= '9') || QByteArrayView(":_.\\@-").contains(c);
        if (!valido)
            return false;
    }
    return true;
}

} // namespace

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

QList<Estado> porSystemd(const Sistema &sistema, const QByteArrayList &unidades)
{
    QList<Estado> estados(unidades.size(), Estado::Error);
    QByteArrayList orden{"systemctl", "show", "--property=LoadState,ActiveState,SubState,Type"};
    QList<qsizetype> preguntadas;
    for (qsizetype i = 0; i < unidades.size(); ++i) {
        if (nombreValido(unidades[i])) {
            orden.append(unidades[i]);
            preguntadas.append(i);
        }
    }
    // systemctl itself looks here first; without it every answer is Error.
    if (preguntadas.isEmpty() || !Sistema::existe(sistema.rutaBytes(Rutas::SystemdEnMarcha)))
        return estados;
    const Sistema::Resultado r = sistema.ejecutarPrograma(orden);
    if (!r.bien())
        return estados;
    // One block of properties per unit, in the order asked, blank lines between.
    QList<Unidad> bloques(1);
    const std::pair<QByteArrayView, QByteArrayView Unidad::*> campos[]
        = {{"LoadState=", &Unidad::carga},
           {"ActiveState=", &Unidad::actividad},
           {"SubState=", &Unidad::subestado},
           {"Type=", &Unidad::tipo}};
    bool vacio = true;
    for (const QByteArrayView linea : Texto::lineas(r.salida)) {
        if (linea.isEmpty()) {
            if (!vacio)
                bloques.append(Unidad());
            vacio = true;
        }
        for (const auto &[prefijo, campo] : campos) {
            if (linea.startsWith(prefijo)) {
                bloques.last().*campo = linea.sliced(prefijo.size());
                vacio = false;
            }
        }
    }
    if (vacio)
        bloques.removeLast();
    if (bloques.size() != preguntadas.size())
        return estados;
    for (qsizetype i = 0; i < preguntadas.size(); ++i)
        estados[preguntadas[i]] = deSystemd(bloques[i]);
    return estados;
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

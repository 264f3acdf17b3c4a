#include "mainwindow/plan.h"

#include "mainwindow/comandos.h"
#include "settings/ajustes.h"

using C = Ajustes::Clave;

namespace {

// SWAT only runs under xinetd: both rows must read ON, xinetd asked first.
QString faltaSwat(const Mostrado &mostrado)
{
    if (mostrado(Servicio::Xinetd) != Estado::On)
        return QStringLiteral("Debe estar iniciado el servicio XINETD");
    if (mostrado(Servicio::Swat) != Estado::On)
        return QStringLiteral("Debe estar iniciado el servicio SWAT");
    return {};
}

} // namespace

Plan planear(Servicio servicio, Accion accion, const Ajustes &ajustes, const Mostrado &mostrado)
{
    const DatosServicio &d = datos(servicio);
    Plan plan;
    const auto correr = [&](std::initializer_list<DatosServicio::Clave> claves) {
        for (const DatosServicio::Clave &clave : claves) {
            if (clave)
                plan.comandos.append(ajustes.valor(*clave));
        }
        if (plan.comandos.isEmpty())
            return;
        plan.fila = servicio;
        plan.sondas.append({servicio, SondaComando});
        if (accion != Accion::Detener && d.sondaTardia)
            plan.sondas.append({servicio, d.sondaTardia});
    };

    // A running xinetd (as its row shows) rereads the files only when restarted.
    if (d.archivoXinetd && (accion == Accion::Iniciar || accion == Accion::Detener)) {
        plan.xinetd = ajustes.valor(C::cDirectorioXinetd) + '/' + d.archivoXinetd;
        plan.encender = accion == Accion::Iniciar;
        if (mostrado(Servicio::Xinetd) == Estado::On) {
            plan.fila = Servicio::Xinetd;
            plan.comandos = {ajustes.valor(C::cReiniciarXinetd)};
            plan.sondas.append({Servicio::Xinetd, SondaComando});
        }
        plan.sondas.append({servicio, SondaXinetd});
        return plan;
    }

    switch (accion) {
    case Accion::Iniciar:
        correr({d.iniciar});
        break;
    case Accion::Detener:
        correr({d.detener});
        break;
    case Accion::Reiniciar:
        // The router restarts as a stop and a start; cReiniciarGate is never run.
        correr({d.reiniciar[0], d.reiniciar[1]});
        break;
    case Accion::Editar:
    case Accion::Log: {
        const DatosServicio::Clave &clave = accion == Accion::Editar ? d.editar : d.log;
        if (!clave)
            break;
        const QByteArray comando = ajustes.valor(*clave);
        if (d.editarPideSwat && accion == Accion::Editar && Comandos::abreSwat(comando))
            plan.aviso = faltaSwat(mostrado);
        if (plan.aviso.isEmpty())
            plan.lanzar = Comandos::expandirEditor(comando, ajustes.valor(C::cEditor));
        break;
    }
    }
    return plan;
}

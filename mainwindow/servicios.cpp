#include "mainwindow/servicios.h"

namespace {

using C = Ajustes::Clave;

// A switch without a default: the compiler names any service left out.
DatosServicio describir(Servicio servicio)
{
    DatosServicio d;
    switch (servicio) {
    case Servicio::Gate:
        d.id = "Gate";
        d.nombre = "Korv-Gate";
        d.menu = "Korv-&Gate";
        d.estado = C::cEstadoGate;
        d.iniciar = C::cIniciarGate;
        d.detener = C::cDetenerGate;
        // The router restarts as a stop and a start; cReiniciarGate is never run.
        d.reiniciar = {C::cDetenerGate, C::cIniciarGate};
        d.editar = C::cEditarGate;
        break;
    case Servicio::Squid:
        d.id = d.nombre = d.menu = "Squid";
        d.estado = C::cEstadoSquid;
        d.iniciar = C::cIniciarSquid;
        d.detener = C::cDetenerSquid;
        d.reiniciar = {C::cReiniciarSquid, {}};
        d.editar = C::cEditarSquid;
        d.log = C::cLogSquid;
        break;
    case Servicio::Httpd:
        d.id = d.nombre = d.menu = "Httpd";
        d.estado = C::cEstadoHttpd;
        d.iniciar = C::cIniciarHttpd;
        d.detener = C::cDetenerHttpd;
        d.reiniciar = {C::cReiniciarHttpd, {}};
        d.editar = C::cEditarHttpd;
        d.log = C::cLogHttpd;
        d.sondaTardia = 5000; // httpd can take a while to come up
        break;
    case Servicio::Samba:
        d.id = d.nombre = d.menu = "Samba";
        d.estado = C::cEstadoSamba;
        d.iniciar = C::cIniciarSamba;
        d.detener = C::cDetenerSamba;
        d.reiniciar = {C::cReiniciarSamba, {}};
        d.editar = C::cEditarSamba;
        d.log = C::cLogSamba;
        d.editarPideSwat = true;
        break;
    case Servicio::Sendmail:
        d.id = d.nombre = d.menu = "Sendmail";
        d.estado = C::cEstadoSendmail;
        d.iniciar = C::cIniciarSendmail;
        d.detener = C::cDetenerSendmail;
        d.reiniciar = {C::cReiniciarSendmail, {}};
        d.editar = C::cEditarSendmail;
        d.log = C::cLogSendmail;
        break;
    case Servicio::Dns:
        d.id = d.menu = "Dns";
        d.nombre = "Named";
        d.estado = C::cEstadoDns;
        d.iniciar = C::cIniciarDns;
        d.detener = C::cDetenerDns;
        d.reiniciar = {C::cReiniciarDns, {}};
        d.editar = C::cEditarDns;
        break;
    case Servicio::Xinetd:
        d.id = d.nombre = d.menu = "Xinetd";
        d.estado = C::cEstadoXinetd;
        d.iniciar = C::cIniciarXinetd;
        d.detener = C::cDetenerXinetd;
        d.reiniciar = {C::cReiniciarXinetd, {}};
        d.editar = C::cEditarXinetd;
        d.log = C::cLogXinetd;
        break;
    case Servicio::Telnet:
        d.id = d.nombre = d.menu = "Telnet";
        d.archivoXinetd = "telnet";
        break;
    case Servicio::Ftp:
        d.id = d.nombre = d.menu = "Ftp";
        d.archivoXinetd = "wu-ftpd";
        d.editar = C::cEditarFtp;
        break;
    case Servicio::Pop3:
        d.id = d.nombre = d.menu = "Pop3";
        d.archivoXinetd = "ipop3";
        break;
    case Servicio::Swat:
        d.id = d.nombre = d.menu = "Swat";
        d.archivoXinetd = "swat";
        break;
    }
    return d;
}

} // namespace

const DatosServicio &datos(Servicio servicio)
{
    static const auto tabla = [] {
        std::array<DatosServicio, std::size(Servicios)> t;
        for (Servicio s : Servicios)
            t[static_cast<size_t>(s)] = describir(s);
        return t;
    }();
    return tabla[static_cast<size_t>(servicio)];
}

// Servicios lists every service once, in the order of the enumeration.
static_assert([] {
    for (size_t i = 0; i < std::size(Servicios); ++i) {
        if (static_cast<size_t>(Servicios[i]) != i)
            return false;
    }
    return static_cast<size_t>(Servicio::Swat) + 1 == std::size(Servicios);
}());

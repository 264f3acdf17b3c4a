#ifndef TALVORA_SERVICIOS_H
#define TALVORA_SERVICIOS_H

// The eleven services of the main window and what the program knows of
// each: the settings its actions run, where its status lies, when to look
// again. Facts only; the window turns them into rows, menus and timers.

#include "settings/ajustes.h"

#include <array>
#include <optional>

// In the order of the window's rows.
enum class Servicio { Gate, Squid, Httpd, Samba, Sendmail, Dns, Xinetd, Telnet, Ftp, Pop3, Swat };
constexpr Servicio Servicios[]
    = {Servicio::Gate,     Servicio::Squid, Servicio::Httpd,  Servicio::Samba,
       Servicio::Sendmail, Servicio::Dns,   Servicio::Xinetd, Servicio::Telnet,
       Servicio::Ftp,      Servicio::Pop3,  Servicio::Swat};

enum class Accion { Iniciar, Detener, Reiniciar, Editar, Log };

struct DatosServicio {
    using Clave = std::optional<Ajustes::Clave>;
    const char *id = "";                 // in its widgets' names: "Squid" in bIniciarSquid, tSquid
    const char *nombre = "";             // as a person reads it: "Korv-Gate", "Named"
    const char *menu = "";               // its submenu's title
    Clave estado;                        // its status setting (a file, or a systemd unit)
    const char *archivoXinetd = nullptr; // run by xinetd: its file in cDirectorioXinetd
    Clave iniciar, detener;
    std::array<Clave, 2> reiniciar; // run in turn
    Clave editar, log;
    int sondaTardia = 0;         // ms after a start or restart, besides the usual probe
    bool editarPideSwat = false; // its edit command may open SWAT, which needs xinetd
};

const DatosServicio &datos(Servicio servicio);

#endif

#ifndef TALVORA_AJUSTES_H
#define TALVORA_AJUSTES_H

// The 44 settings: every command line and path that an action uses. One
// table for the whole process; each action reads its value when it runs.

#include "rutas.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <optional>

// The table, in file order: line 1 is cEditor, line 44 is cEditarFtp. Each
// key is also the object name of its field in the configuration dialog.
#define TALVORA_AJUSTES(X)                                                                         \
    X(cEditor, "kwrite")                                                                           \
    X(cAbrirManual, "htmlview file:" TALVORA_DATADIR "/doc/talvora/index.html")                    \
    X(cIniciarGate, "/etc/rc.d/init.d/korv-gate start")                                            \
    X(cDetenerGate, "/etc/rc.d/init.d/korv-gate stop")                                             \
    X(cReiniciarGate, "/etc/rc.d/init.d/korv-gate restart")                                        \
    X(cEstadoGate, "/var/run/korv-gate.pid")                                                       \
    X(cEditarGate, "%editor /etc/rc.d/init.d/korv-gate")                                           \
    X(cIniciarSquid, "/etc/rc.d/init.d/squid start")                                               \
    X(cDetenerSquid, "/etc/rc.d/init.d/squid stop")                                                \
    X(cReiniciarSquid, "/etc/rc.d/init.d/squid restart")                                           \
    X(cEstadoSquid, "/var/run/squid.pid")                                                          \
    X(cEditarSquid, "%editor /etc/squid/squid.conf")                                               \
    X(cLogSquid, "%editor /var/log/squid/access.log")                                              \
    X(cIniciarHttpd, "/etc/rc.d/init.d/httpd start")                                               \
    X(cDetenerHttpd, "/etc/rc.d/init.d/httpd stop")                                                \
    X(cReiniciarHttpd, "/etc/rc.d/init.d/httpd restart")                                           \
    X(cEstadoHttpd, "/var/run/httpd.pid")                                                          \
    X(cEditarHttpd, "%editor /etc/httpd/conf/httpd.conf")                                          \
    X(cLogHttpd, "%editor /var/log/httpd/access_log")                                              \
    X(cIniciarSamba, "/etc/rc.d/init.d/smb start")                                                 \
    X(cDetenerSamba, "/etc/rc.d/init.d/smb stop")                                                  \
    X(cReiniciarSamba, "/etc/rc.d/init.d/smb restart")                                             \
    X(cEstadoSamba, "/var/lock/subsys/smb")                                                        \
    X(cEditarSamba, "htmlview http://127.0.0.1:901/")                                              \
    X(cLogSamba, "kfmclient openProfile filemanagement /var/log/samba")                            \
    X(cIniciarSendmail, "/etc/rc.d/init.d/sendmail start")                                         \
    X(cDetenerSendmail, "/etc/rc.d/init.d/sendmail stop")                                          \
    X(cReiniciarSendmail, "/etc/rc.d/init.d/sendmail restart")                                     \
    X(cEstadoSendmail, "/var/run/sendmail.pid")                                                    \
    X(cEditarSendmail, "%editor /etc/sendmail.cf")                                                 \
    X(cLogSendmail, "%editor /var/log/maillog")                                                    \
    X(cIniciarDns, "/etc/rc.d/init.d/named start")                                                 \
    X(cDetenerDns, "/etc/rc.d/init.d/named stop")                                                  \
    X(cReiniciarDns, "/etc/rc.d/init.d/named restart")                                             \
    X(cEstadoDns, "/var/run/named/named.pid")                                                      \
    X(cEditarDns, "/usr/bin/bindconf")                                                             \
    X(cIniciarXinetd, "/etc/rc.d/init.d/xinetd start")                                             \
    X(cDetenerXinetd, "/etc/rc.d/init.d/xinetd stop")                                              \
    X(cReiniciarXinetd, "/etc/rc.d/init.d/xinetd restart")                                         \
    X(cEstadoXinetd, "/var/run/xinetd.pid")                                                        \
    X(cEditarXinetd, "kfmclient openProfile filemanagement /etc/xinetd.d")                         \
    X(cLogXinetd, "%editor /var/log/secure")                                                       \
    X(cDirectorioXinetd, "/etc/xinetd.d")                                                          \
    X(cEditarFtp, "%editor /etc/ftpaccess")

namespace Ajustes {

// A setting by its key: a misspelt key does not compile.
enum class Clave {
#define TALVORA_CLAVE(clave, defecto) clave,
    TALVORA_AJUSTES(TALVORA_CLAVE)
#undef TALVORA_CLAVE
};

constexpr int Cantidad = 44;

// Values are kept as the bytes the file holds: commands and paths must reach
// the system as they were written, in whatever encoding that was.
QByteArray valor(Clave clave); // current value

// All 44 in file order.
const QStringList &claves();
const QByteArrayList &valoresPorDefecto();
QByteArrayList valores();

// Replaces all 44 values at once, in file order.
void asignar(const QByteArrayList &nuevos);

// A value is one line: a line break in a typed or pasted text becomes a
// blank, so that memory and file hold the same value.
QByteArray limpiar(const QByteArray &valor);

// A value as the configuration dialog shows it (see Texto::detectar).
QString mostrar(const QByteArray &valor);

// The dialog's 44 texts back to values. A text still equal to what the
// value showed keeps its bytes; an edited one is cleaned and takes the
// value's encoding, or, for a value that was plain ASCII, the file's
// (ISO-8859-1 when some value is not UTF-8). Nothing when an edited text
// holds a character its encoding cannot.
std::optional<QByteArrayList> editar(const QByteArrayList &anteriores, const QStringList &textos);

// Path of the configuration file, TALVORA_DATADIR "/conf".
QString rutaArchivo();

enum class Carga { NoExiste, NoSePuedeLeer, Cargado };

// Reads the configuration file into the table. On NoExiste and
// NoSePuedeLeer the table is left as it was.
Carga cargar();

// Writes the 44 values to the configuration file, replacing it atomically.
// Returns false (the old file intact) if any step fails.
bool guardar(const QByteArrayList &valores);

// The file format, without any I/O: 44 lines taken from the bytes, missing
// ones empty, extra ones ignored, a "\r" before "\n" dropped; and back.
QByteArrayList analizar(const QByteArray &contenido);
QByteArray componer(const QByteArrayList &valores);

} // namespace Ajustes

#endif

#ifndef TALVORA_ACCESOS_H
#define TALVORA_ACCESOS_H

// /etc/hosts.allow as the editor shows it, and the default access-control
// and service files.

#include "platform/sistema.h"
#include "platform/texto.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace Accesos {

extern const char *const HostsDenyPorDefecto;
extern const char *const HostsAllowPorDefecto;

// /etc/hosts.allow as the editor shows it: its lines, without the last line
// end, decoded in the file's encoding (see Texto::detectar), which a save
// keeps. Nothing when it cannot be read.
struct ArchivoHostsAllow {
    QString texto;
    Texto::Codificacion codificacion;
};
std::optional<ArchivoHostsAllow> leerHostsAllow(const Sistema &sistema);
ArchivoHostsAllow analizarHostsAllow(const QByteArray &contenido); // the same, without I/O

// Whether anything on this host can read /etc/hosts.allow: TCP wrappers,
// gone from the Red Hat family since 8, are installed.
bool hayTcpWrappers(const Sistema &sistema);

// The editor's text as it is saved: one "\n" more, and another if the text
// does not then end in an empty line.
QString textoHostsAllow(const QString &editor);
// Those bytes in the file's encoding; nothing when the text holds a
// character the encoding cannot.
std::optional<QByteArray> bytesHostsAllow(const QString &editor, Texto::Codificacion codificacion);
// False, the file untouched, when it cannot be encoded or replaced.
bool guardarHostsAllow(const Sistema &sistema, const QString &editor,
                       Texto::Codificacion codificacion);

// Backs /etc/hosts.deny up to hosts.deny.viejo (and waits for the copy),
// then writes the default list. False when the list could not be written.
bool escribirHostsDeny(const Sistema &sistema);
bool escribirHostsAllow(const Sistema &sistema);

// Backs the installed file up, then copies the default one over it in the
// background.
void instalarFtp(const Sistema &sistema);

// The router script is installed as instalarFtp does. Under systemd it goes
// to /usr/local/sbin, which every family has and no package owns, and a
// oneshot unit korv-gate.service that runs it is written beside the
// administrator's units and systemd reloads them, so that the unit's state
// is the router's. Without systemd it goes where init scripts live
// (/etc/rc.d/init.d, else /etc/init.d). Tells what failed: nothing, the unit file that could not
// be written (an empty command), or the reload.
struct Fallo {
    QByteArray comando; // empty: the unit file could not be written
    Sistema::Resultado resultado;
};
std::optional<Fallo> instalarKorvgate(const Sistema &sistema);

// The unit for a script at that path.
QByteArray unidadKorvgate(const QByteArray &script);

// The editor setting run as it is on the log of refused connections.
QByteArray comandoLogHostsDeny(const Sistema &sistema, const QByteArray &editor);

} // namespace Accesos

#endif

#ifndef TALVORA_ACCESOS_H
#define TALVORA_ACCESOS_H

// /etc/hosts.allow as the editor shows it, and the default access-control
// and service files.

#include <QString>
#include <optional>

namespace Accesos {

extern const char *const HostsDenyPorDefecto;
extern const char *const HostsAllowPorDefecto;

// /etc/hosts.allow as the editor shows it: its lines, without the last line
// end. Nothing when it cannot be read.
std::optional<QString> leerHostsAllow();

// The editor's text as it is saved: one "\n" more, and another if the text
// does not then end in an empty line.
QString textoHostsAllow(const QString &editor);
bool guardarHostsAllow(const QString &editor);

// Backs /etc/hosts.deny up to hosts.deny.viejo (and waits for the copy),
// then writes the default list. False when the list could not be written.
bool escribirHostsDeny();
bool escribirHostsAllow();

// Backs the installed file up, then copies the default one over it in the
// background.
void instalarKorvgate();
void instalarFtp();

// The editor setting run as it is on the log of refused connections.
QString comandoLogHostsDeny(const QString &editor);

} // namespace Accesos

#endif

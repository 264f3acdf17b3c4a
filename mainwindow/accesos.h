#ifndef TALVORA_ACCESOS_H
#define TALVORA_ACCESOS_H

#include <QString>

// The hosts.allow editor's text as it is saved: one "\n" more, and another
// if the text does not then end in an empty line.
QString textoHostsAllow(const QString &editor);

extern const char *const HostsDenyPorDefecto;
extern const char *const HostsAllowPorDefecto;

#endif

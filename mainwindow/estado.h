#ifndef TALVORA_ESTADO_H
#define TALVORA_ESTADO_H

#include <QByteArray>

// True when some line of an xinetd service file holds "disable" and "yes"
// exactly once each: the service is switched off.
bool xinetdDesactivado(const QByteArray &contenido);

#endif

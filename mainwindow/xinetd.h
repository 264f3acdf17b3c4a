#ifndef TALVORA_XINETD_H
#define TALVORA_XINETD_H

#include <QByteArray>

// Rewrites the disable lines of an xinetd service file: direction 1 turns
// "disable ... = ... yes" into "disable\t= no", any other value turns
// "disable ... = ... no" into "disable\t= yes". Every line comes out ended
// by "\n"; bytes outside the matches are kept as they are.
QByteArray reescribirXinetd(const QByteArray &contenido, int direccion);

#endif

#ifndef TALVORA_TEXTO_H
#define TALVORA_TEXTO_H

#include <QString>
#include <QStringList>

namespace Texto {

// Splits file contents into lines the way a text stream's readLine does:
// on "\n", dropping a "\r" right before it; a last line without "\n" counts,
// an empty file has no lines.
QStringList lineas(const QString &texto);

} // namespace Texto

#endif

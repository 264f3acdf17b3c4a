#ifndef TALVORA_TEXTO_H
#define TALVORA_TEXTO_H

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

namespace Texto {

// Splits file contents into lines the way a text stream's readLine does:
// on "\n", dropping a "\r" right before it; a last line without "\n" counts,
// an empty file has no lines. The lines are views into `texto`, which must
// outlive them: a large file is split without a copy per line.
QList<QByteArrayView> lineas(QByteArrayView texto);

// How text that came from the system is shown and written back. Servers
// still hold ISO-8859-1 files next to UTF-8 ones, and nothing says which is
// which: bytes that are valid UTF-8 are taken as UTF-8, any others as
// ISO-8859-1. Either way encoding the shown text in the same encoding gives
// the very same bytes back.
enum class Codificacion { Utf8, Latin1 };

bool esAscii(const QByteArray &bytes); // the same in both
Codificacion detectar(const QByteArray &bytes);
QString decodificar(const QByteArray &bytes, Codificacion codificacion);
QString decodificar(const QByteArray &bytes); // in the encoding detectar() picks

// Nothing when the text holds a character the encoding cannot: a silent
// substitute would end up in a system file or a command.
std::optional<QByteArray> codificar(const QString &texto, Codificacion codificacion);

} // namespace Texto

#endif

#ifndef TALVORA_REGLAS_H
#define TALVORA_REGLAS_H

// The text side of the firewall dialog: reading an iptables-save snapshot,
// and turning a rule's text into an argument vector without any shell.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace Reglas {

// Splits a command line into arguments with the quoting iptables-save
// writes: words are separated by blanks; a double-quoted part may hold
// blanks, and inside it a backslash takes the next character literally.
// Outside quotes every character but blanks and '"' is literal. Nothing is
// expanded. An unclosed quote (or a quote ending in a lone backslash) gives
// no result.
std::optional<QStringList> dividir(const QString &linea);

// A dotted IPv4 address, optionally followed by "/0" to "/32". Parts are
// written without leading zeros, which some parsers read as octal.
bool esIPv4(const QString &texto);

// The rules of the filter table in an iptables-save snapshot: its "-A "
// lines with those three characters cut. Chain lines and everything else
// are skipped; a block lasts to "COMMIT", the next table or the end.
QStringList leerInstantanea(const QByteArray &contenido);

} // namespace Reglas

#endif

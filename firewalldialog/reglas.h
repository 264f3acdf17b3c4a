#ifndef TALVORA_REGLAS_H
#define TALVORA_REGLAS_H

// The text side of the firewall dialog: reading an iptables-save snapshot,
// and turning a rule's text into an argument vector without any shell. Both
// work on bytes: a rule must go back to iptables as iptables-save printed it,
// whatever the encoding of its comments.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <optional>

namespace Reglas {

// Splits a command line into arguments with the quoting iptables-save
// writes: words are separated by blanks; a double-quoted part may hold
// blanks, and inside it a backslash takes the next character literally.
// Outside quotes every byte but blanks and '"' is literal. Nothing is
// expanded. An unclosed quote (or a quote ending in a lone backslash) gives
// no result. The bytes that matter are ASCII, which never occur inside a
// UTF-8 sequence, so this splits UTF-8 and ISO-8859-1 text alike.
std::optional<QByteArrayList> dividir(const QByteArray &linea);

// Splits a line typed by hand as a POSIX shell splits words, without
// expanding anything: blanks separate words; a backslash takes the next
// character; single quotes keep everything up to the next one; inside
// double quotes a backslash takes only $ ` " \ and a line break. Nothing
// when a quote is left open or the line ends in a backslash; `fallo` then
// says which.
enum class Fallo { ComillaAbierta, BarraFinal };
std::optional<QByteArrayList> dividirComoShell(const QByteArray &linea, Fallo *fallo = nullptr);

// A dotted IPv4 address, optionally followed by "/0" to "/32" or by a
// dotted mask, as iptables -s takes them. Parts are written without leading
// zeros, which iptables reads as octal.
bool esIPv4(const QString &texto);

// An address that esIPv4 takes, as iptables stores it: the host bits
// cleared, a mask that is a prefix written as "/N" (a single address stays
// as typed, without "/32"); and how many addresses it covers.
struct Red {
    QString texto;
    quint64 direcciones = 1;
};
std::optional<Red> red(const QString &texto);

// The rules of the filter table in an iptables-save snapshot: its "-A "
// lines with those three characters cut, each with its bytes as they are.
// Chain lines and everything else are skipped; a block lasts to "COMMIT",
// the next table or the end.
QByteArrayList leerInstantanea(const QByteArray &contenido);

} // namespace Reglas

#endif

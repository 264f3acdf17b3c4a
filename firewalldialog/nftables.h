#ifndef TALVORA_NFTABLES_H
#define TALVORA_NFTABLES_H

// The rules nftables filters with, from the JSON that "nft -j -a list ruleset"
// prints: each with the place that names it exactly (family, table, chain,
// handle) and a text to show. Only the JSON is read; the text form of nft is
// never parsed.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace Nftables {

struct Regla {
    QString familia, tabla, cadena;
    qint64 handle = 0;
    QString texto; // the statements, written the way nft writes them
    // Whether iptables-save prints this rule as it is. A rule with a set, a
    // map or anything iptables-nft does not read back is printed without
    // it (a set of addresses becomes "-j DROP"), so it must not be shown or
    // deleted through iptables.
    bool fielEnIptables = false;

    QString lugar() const { return familia + ' ' + tabla + ' ' + cadena; }
};

// The rules of every chain that filters: the base chains of type filter and
// every chain they jump or go to, table by table as nft lists them; and all
// of iptables' own "ip filter" table, whose chains iptables-save lists even
// when nothing jumps to them. Nothing, with the reason in `error`, when the
// text is not the ruleset nft prints.
std::optional<QList<Regla>> leer(const QByteArray &json, QString *error = nullptr);

// The arguments that delete exactly this rule, by its handle.
QByteArrayList eliminar(const Regla &regla);

} // namespace Nftables

#endif

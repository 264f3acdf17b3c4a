#ifndef TALVORA_FILAS_H
#define TALVORA_FILAS_H

// What the firewall list shows and what each button runs, decided apart
// from the window: which tool each row comes from, what deleting it runs
// (or why it must not be deleted here), how an address is blocked and
// whether a change outlives a reboot.

#include "firewalldialog/nftables.h"
#include "firewalldialog/reglas.h"
#include "platform/sistema.h"

#include <QList>
#include <optional>

namespace Filas {

enum class Origen {
    Iptables,  // as iptables-save printed it; deleted with iptables -D and its bytes
    Nft,       // read from nft; deleted by its handle
    Firewalld, // in one of firewalld's tables: firewalld puts it back
    ReglaRica, // a rich rule of firewalld; removed through firewall-cmd
};

struct Fila {
    Origen origen = Origen::Iptables;
    QString texto;       // as the list shows it
    QByteArray iptables; // Iptables: what iptables-save printed after "-A "
    Nftables::Regla nft; // Nft, Firewalld
    QByteArray rica;     // ReglaRica: as firewall-cmd lists it
};

// Whether nft is asked: not on a host whose iptables-save says it works
// without nf_tables (legacy iptables), where nft would see none of its rules.
bool consultarNft(const QByteArray &instantanea);
// Whether a missing nft must be told: iptables says it writes to nf_tables,
// so rules may be there that only nft shows.
bool faltaNft(const QByteArray &instantanea);

// The list: the rules of iptables-save's filter table in its order, each
// from iptables when it prints it as it is and from nft otherwise; then what
// else nft filters with; then firewalld's rich rules. Without nft's reading
// (a legacy host, or nft failed) iptables' rows alone, as iptables prints
// them. When the two do not agree on iptables' own table (the ruleset
// changed between them), nft's rows stand for it.
QList<Fila> componer(const QByteArrayList &iptables,
                     const std::optional<QList<Nftables::Regla>> &nft, const QByteArrayList &ricas);

// A command to run without a shell, and how it is told when it fails.
struct Orden {
    QByteArray linea;
    QByteArrayList argv;
};

// What Eliminar runs, in order; or, when `negativa` is set, nothing and why.
struct Eliminacion {
    QList<Orden> ordenes;
    QString negativa;
};
Eliminacion eliminar(const Fila &fila);

// "Bloquer un IP": through firewalld (now and in its permanent
// configuration) when it runs, else an iptables rule. `red` is as
// Reglas::red() wrote it.
QByteArray reglaRica(const QString &red);
QList<Orden> bloquear(const QString &red, bool firewalld);
// The question before blocking more than a /8 (its negative answer first);
// empty when none is needed.
QString preguntaAmplia(const Reglas::Red &red);

// What keeps iptables' rules over a reboot on this host.
enum class Guardado { Ninguno, NetfilterPersistent, IptablesServices };
Guardado guardado(const Sistema &sistema);
Orden guardar(Guardado g);

// What the last change was, and what the dialog then says about how long it lasts.
enum class Cambio { Ninguno, Iptables, Nft, Firewalld, AManoConFirewalld, Guardado };
QString duracion(Cambio cambio, Guardado g, bool firewalld);
// The change a deletion makes.
Cambio cambioAlEliminar(const Fila &fila);

// What reading the rules found, for the dialog to draw and tell. It waits
// on iptables-save, nft and firewall-cmd: never on the window's thread.
struct Lectura {
    bool instantanea = false; // iptables-save's snapshot was read; nothing else is set without it
    QByteArray orden;         // the iptables-save line, told when it failed
    Sistema::Resultado resultado;
    QString titulo;   // the list's title when it lacks something; empty: the usual one
    QString falloNft; // why nft's reading failed; empty: it did not
    bool firewalld = false;
    QList<Fila> filas;
};
Lectura leer(const Sistema &sistema);

// A change run: its commands in order, up to the first that fails
// (`fallida`, -1 when none did), and then, when asked, the rules read again.
struct Hecho {
    qsizetype fallida = -1;
    Sistema::Resultado resultado;
    std::optional<Lectura> lectura;
};
Hecho hacer(const Sistema &sistema, const QList<Orden> &ordenes, bool releer);
// The same when no thread could run it: the first command told as not run,
// and the rules as unread.
Hecho sinHilo(const QList<Orden> &ordenes, bool releer);

} // namespace Filas

#endif

#ifndef TALVORA_ACCESOS_H
#define TALVORA_ACCESOS_H

// /etc/hosts.allow as the editor shows it, and the default access-control
// and service files.

#include "platform/sistema.h"
#include "platform/texto.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

class QFileSystemWatcher;

namespace Accesos {

extern const char *const HostsDenyPorDefecto;
extern const char *const HostsAllowPorDefecto;

// /etc/hosts.allow as the editor shows it: its lines, without the last line
// end, decoded in the file's encoding (see Texto::detectar), which a save
// keeps. Nothing when it cannot be read.
struct ArchivoHostsAllow {
    QString texto;
    Texto::Codificacion codificacion;
};
std::optional<ArchivoHostsAllow> leerHostsAllow(const Sistema &sistema);
ArchivoHostsAllow analizarHostsAllow(const QByteArray &contenido); // the same, without I/O

// Whether anything on this host can read /etc/hosts.allow: TCP wrappers,
// gone from the Red Hat family since 8, are installed.
bool hayTcpWrappers(const Sistema &sistema);

// The editor's text as it is saved: one "\n" more, and another if the text
// does not then end in an empty line.
QString textoHostsAllow(const QString &editor);
// Those bytes in the file's encoding; nothing when the text holds a
// character the encoding cannot.
std::optional<QByteArray> bytesHostsAllow(const QString &editor, Texto::Codificacion codificacion);
// False, the file untouched, when it cannot be encoded or replaced.
bool guardarHostsAllow(const Sistema &sistema, const QString &editor,
                       Texto::Codificacion codificacion);

// /etc/hosts.allow as the editor loaded or last saved it, followed on disk:
// another program may change it while the window is open.
class HostsAllow : public QObject
{
    Q_OBJECT

public:
    explicit HostsAllow(const Sistema &sistema, QObject *parent = nullptr);

    // Reads the file, which becomes what the editor holds.
    std::optional<ArchivoHostsAllow> leer();

    enum class Guardado { Hecho, CambioEnDisco, NoSePudo };
    // Saves the editor's text in that encoding, unless the file changed on
    // disk since it was read or saved here and `aunAsi` is false.
    Guardado guardar(const QString &editor, Texto::Codificacion codificacion, bool aunAsi);

    // Whether the file on disk is no longer what the editor holds.
    bool cambioEnDisco() const;

signals:
    // The file changed on disk (another program, an editor, a terminal).
    void cambio();

private:
    void notado();

    const Sistema sistema_;
    const QString ruta_;
    std::optional<QByteArray> base_; // nothing: the file could not be read
    QFileSystemWatcher *vigia_;
};

// Backs /etc/hosts.deny up to hosts.deny.viejo (and waits for the copy),
// then writes the default list. False when the list could not be written.
bool escribirHostsDeny(const Sistema &sistema);
bool escribirHostsAllow(const Sistema &sistema);

// Backs the installed file up, then copies the default one over it in the
// background.
void instalarFtp(const Sistema &sistema);

// The router script is installed as instalarFtp does. Under systemd it goes
// to /usr/local/sbin, which every family has and no package owns, and a
// oneshot unit korv-gate.service that runs it is written beside the
// administrator's units and systemd reloads them, so that the unit's state
// is the router's. Without systemd it goes where init scripts live
// (/etc/rc.d/init.d, else /etc/init.d). Tells what failed: nothing, the unit file that could not
// be written (an empty command), or the reload.
struct Fallo {
    QByteArray comando; // empty: the unit file could not be written
    Sistema::Resultado resultado;
};
std::optional<Fallo> instalarKorvgate(const Sistema &sistema);

// The unit for a script at that path.
QByteArray unidadKorvgate(const QByteArray &script);

// The editor setting run as it is on the log of refused connections.
QByteArray comandoLogHostsDeny(const Sistema &sistema, const QByteArray &editor);

} // namespace Accesos

#endif

#ifndef TALVORA_VIGIASYSTEMD_H
#define TALVORA_VIGIASYSTEMD_H

// Follows the state of systemd units as it changes, over D-Bus: the system
// bus, or as root systemd's private socket when no bus answers. It lives in
// a thread of its own (see HiloSystemd), so that no call that waits on
// systemd ever runs on the window's thread.

#include "mainwindow/estado.h"
#include "platform/sistema.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <QVariantMap>

class QDBusMessage;
class QDBusObjectPath;

class VigiaSystemd : public QObject
{
    Q_OBJECT

public:
    // The bus and socket paths go through the Sistema's root.
    explicit VigiaSystemd(const Sistema &sistema, QObject *parent = nullptr);
    ~VigiaSystemd() override;

public slots:
    // The units to follow, replacing the last set; each one's state is
    // emitted at once, and again whenever it changes. A unit that does not
    // exist yet is picked up when it appears (a package installed, a
    // daemon-reload). An alias reads as the unit it names.
    void vigilar(const QByteArrayList &unidades);

    // Asks again now (after an action), and emits the answer even when it
    // did not change.
    void consultar(const QByteArray &unidad);

signals:
    // Error for a unit that does not exist, a name systemd refuses, or no
    // systemd to ask; otherwise as Sondas::deSystemd reads its properties.
    void estado(const QByteArray &unidad, Estado estado);

private slots:
    // What systemd tells.
    void unidadNueva(const QString &id, const QDBusObjectPath &ruta);
    void recargando(bool empieza);
    void propiedadesCambiadas(const QString &interfaz, const QVariantMap &cambios,
                              const QStringList &invalidadas, const QDBusMessage &mensaje);
    void systemdVuelve();
    void desconectado();
    void reintentar();

private:
    struct Datos;
    Datos *d;
};

// Owns the thread a VigiaSystemd lives in. Calls are queued to it; its
// answers arrive in the thread that made this object.
class HiloSystemd : public QObject
{
    Q_OBJECT

public:
    explicit HiloSystemd(const Sistema &sistema, QObject *parent = nullptr);
    // Ends the thread without waiting on systemd: a call still waiting for
    // an answer is left to end on its own.
    ~HiloSystemd() override;

    void vigilar(const QByteArrayList &unidades);
    void consultar(const QByteArray &unidad);

signals:
    void estado(const QByteArray &unidad, Estado estado);

private:
    struct Datos;
    Datos *d;
};

#endif

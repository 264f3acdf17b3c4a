#ifndef TALVORA_MONITOR_H
#define TALVORA_MONITOR_H

// Keeps every row's state as the server has it, without polling: systemd
// units through the systemd watcher, status files and xinetd service files
// through file system notifications on the directories that hold them. An
// idle monitor starts no process and arms no timer.

#include "mainwindow/estado.h"
#include "mainwindow/servicios.h"
#include "platform/sistema.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>

#include <array>
#include <optional>

class Ajustes;
class HiloSystemd;
class QFileSystemWatcher;
class QTimer;

class Monitor : public QObject
{
    Q_OBJECT

public:
    Monitor(const Sistema &sistema, const Ajustes &ajustes, QObject *parent = nullptr);
    ~Monitor() override;

    // Looks again now: a file at once, a unit when systemd answers. The
    // answer is emitted even when nothing changed.
    void sondear(Servicio servicio);

    // What the row's source said last; nothing before its first answer.
    std::optional<Estado> estado(Servicio servicio) const;

    // The path or unit a row's state comes from, as the settings say now.
    struct Fuente {
        std::optional<QByteArray> unidad; // a systemd unit (perhaps a name it refuses), or
        QByteArray archivo;               // a status or xinetd service file
        bool xinetd = false;
    };
    Fuente fuente(Servicio servicio) const;

signals:
    // A row's state: each probe's answer, and each change seen.
    void cambio(Servicio servicio, Estado estado);

private:
    void seguirAjustes();
    void vigilarArchivos();
    void notado(const QString &ruta);
    void revisarPendientes();
    void desdeSystemd(const QByteArray &unidad, Estado estado);
    void anotar(Servicio servicio, Estado estado, bool siempre);

    const Sistema sistema_;
    const Ajustes &ajustes_;
    HiloSystemd *systemd_ = nullptr; // made on the first unit
    QFileSystemWatcher *vigia_;
    QTimer *juntar_;                         // a burst of notices costs one probe per row
    QHash<QString, QSet<Servicio>> porRuta_; // watched path -> rows it may change
    QSet<Servicio> pendientes_;
    QByteArrayList unidades_;
    std::array<std::optional<Estado>, std::size(Servicios)> estados_;
};

#endif

// Placeholder until the D-Bus watcher lands: every unit reads Error.
#include "mainwindow/vigiasystemd.h"

struct VigiaSystemd::Datos {};
VigiaSystemd::VigiaSystemd(const Sistema &, QObject *parent) : QObject(parent), d(nullptr) {}
VigiaSystemd::~VigiaSystemd() = default;
void VigiaSystemd::vigilar(const QByteArrayList &unidades)
{
    for (const QByteArray &u : unidades)
        emit estado(u, Estado::Error);
}
void VigiaSystemd::consultar(const QByteArray &unidad) { emit estado(unidad, Estado::Error); }

struct HiloSystemd::Datos {
    VigiaSystemd vigia{Sistema()};
};
HiloSystemd::HiloSystemd(const Sistema &, QObject *parent) : QObject(parent), d(new Datos)
{
    connect(&d->vigia, &VigiaSystemd::estado, this, &HiloSystemd::estado, Qt::QueuedConnection);
}
HiloSystemd::~HiloSystemd() { delete d; }
void HiloSystemd::vigilar(const QByteArrayList &unidades) { d->vigia.vigilar(unidades); }
void HiloSystemd::consultar(const QByteArray &unidad) { d->vigia.consultar(unidad); }

#include "mainwindow/anuncios.h"

#include <QStringList>

namespace Anuncios {

QString palabra(Estado estado)
{
    switch (estado) {
    case Estado::On:
        return QStringLiteral("ON");
    case Estado::Off:
        return QStringLiteral("OFF");
    case Estado::Error:
        break;
    case Estado::Pendiente:
        return QStringLiteral("---");
    }
    return QStringLiteral("Error");
}

QString nombreDeEstado(Servicio servicio, Estado estado)
{
    return QStringLiteral("Estado de ") + QString::fromLatin1(datos(servicio).nombre)
           + QStringLiteral(": ") + palabra(estado);
}

void Resumen::anotar(Servicio servicio, Estado estado, bool pedido)
{
    if (estado == Estado::Pendiente)
        return;
    for (Cambio &c : cambios_) {
        if (c.servicio == servicio) {
            c = {servicio, estado, pedido || c.pedido};
            return;
        }
    }
    cambios_.append({servicio, estado, pedido});
}

bool Resumen::urgente() const
{
    for (const Cambio &c : cambios_) {
        if (!c.pedido && (c.estado == Estado::Off || c.estado == Estado::Error))
            return true;
    }
    return false;
}

QString Resumen::texto() const
{
    auto nombre = [](const Cambio &c) { return QString::fromLatin1(datos(c.servicio).nombre); };
    QStringList partes;
    if (cambios_.size() <= 3) {
        for (const Cambio &c : cambios_)
            partes << nombre(c) + QStringLiteral(": ") + palabra(c.estado);
        return partes.join(QStringLiteral(", "));
    }
    int encendidos = 0;
    QStringList apagados, errores;
    for (const Cambio &c : cambios_) {
        if (c.estado == Estado::On)
            ++encendidos;
        else
            (c.estado == Estado::Off ? apagados : errores) << nombre(c);
    }
    if (encendidos)
        partes << QString::number(encendidos) + QStringLiteral(" ON");
    if (!apagados.isEmpty())
        partes << QStringLiteral("OFF: ") + apagados.join(QStringLiteral(", "));
    if (!errores.isEmpty())
        partes << QStringLiteral("Error: ") + errores.join(QStringLiteral(", "));
    return QString::number(cambios_.size()) + QStringLiteral(" servicios: ")
           + partes.join(QStringLiteral("; "));
}

} // namespace Anuncios

#include "mainwindow/estado.h"

#include "platform/host.h"
#include "platform/texto.h"

namespace Sonda {

QString porArchivo(const QByteArray &ruta) { return Host::exists(ruta) ? MarcaOn : MarcaOff; }

QString porXinetd(const QByteArray &ruta)
{
    const std::optional<QByteArray> contenido = Host::readFile(ruta);
    if (!contenido)
        return MarcaError;
    return xinetdDesactivado(*contenido) ? MarcaOff : MarcaOn;
}

bool xinetdDesactivado(const QByteArray &contenido)
{
    // Latin-1 keeps every byte as one character, whatever the file holds.
    for (const QString &linea : Texto::lineas(QString::fromLatin1(contenido))) {
        if (linea.count(QLatin1String("disable")) == 1 && linea.count(QLatin1String("yes")) == 1)
            return true;
    }
    return false;
}

} // namespace Sonda

#include "mainwindow/estado.h"

#include "platform/texto.h"

#include <QFile>

namespace Estado {

QString porArchivo(const QString &ruta) { return QFile::exists(ruta) ? MarcaOn : MarcaOff; }

QString porXinetd(const QString &ruta)
{
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        return MarcaError;
    const QByteArray contenido = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError)
        return MarcaError;
    return xinetdDesactivado(contenido) ? MarcaOff : MarcaOn;
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

} // namespace Estado

#include "mainwindow/xinetd.h"

#include "platform/sistema.h"
#include "platform/texto.h"

#include <QRegularExpression>

namespace Xinetd {

QByteArray reescribir(const QByteArray &contenido, bool activar)
{
    static const QRegularExpression encender(QStringLiteral("disable.*=.*yes"));
    static const QRegularExpression apagar(QStringLiteral("disable.*=.*no"));
    const QString reemplazo
        = activar ? QStringLiteral("disable\t= no") : QStringLiteral("disable\t= yes");

    // Latin-1 both ways, so that bytes the rules do not touch survive as they are.
    QString texto;
    texto.reserve(contenido.size() + 16);
    for (const QByteArrayView bytes : Texto::lineas(contenido)) {
        QString linea = QString::fromLatin1(bytes);
        linea.replace(activar ? encender : apagar, reemplazo);
        texto += linea;
        texto += QLatin1Char('\n');
    }
    return texto.toLatin1();
}

bool cambiarArchivo(const QByteArray &ruta, bool activar)
{
    const std::optional<QByteArray> contenido = Sistema::leerArchivo(ruta);
    return contenido && Sistema::reemplazarArchivo(ruta, reescribir(*contenido, activar));
}

} // namespace Xinetd

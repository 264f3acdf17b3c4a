#include "mainwindow/comandos.h"

#include "platform/texto.h"

#include <cctype>

namespace Comandos {

// ASCII bytes never occur inside a UTF-8 sequence, so the byte search finds
// the same places in UTF-8 and in ISO-8859-1.
QByteArray expandirEditor(const QByteArray &comando, const QByteArray &editor)
{
    QByteArray resultado = comando;
    resultado.replace("%editor", editor);
    return resultado + " &";
}

bool abreSwat(const QByteArray &comando)
{
    for (qsizetype i = comando.indexOf(":901"); i >= 0; i = comando.indexOf(":901", i + 1)) {
        const qsizetype despues = i + 4;
        if (despues == comando.size()
            || !std::isdigit(static_cast<unsigned char>(comando[despues])))
            return true;
    }
    return false;
}

QString describirFallo(const QByteArray &comando, const Sistema::Resultado &resultado)
{
    constexpr int UltimasLineas = 6;
    QString texto;
    if (resultado.estado == 127)
        texto = QStringLiteral("No se encontro el comando");
    else if (resultado.estado == 126)
        texto = QStringLiteral("No se pudo ejecutar el comando");
    else if (resultado.senal)
        texto
            = QStringLiteral("El comando fue interrumpido (senal %1)").arg(resultado.estado - 128);
    else
        texto = QStringLiteral("El comando termino con error (codigo %1)").arg(resultado.estado);
    texto += QStringLiteral(":\n\n") + Texto::decodificar(comando);
    QList<QByteArrayView> lineas;
    for (const QByteArrayView linea : Texto::lineas(resultado.errores)) {
        if (!linea.trimmed().isEmpty())
            lineas.append(linea);
    }
    if (!lineas.isEmpty())
        texto += QStringLiteral("\n\n");
    for (qsizetype i = qMax<qsizetype>(0, lineas.size() - UltimasLineas); i < lineas.size(); ++i)
        texto += Texto::decodificar(lineas[i].toByteArray()) + QLatin1Char('\n');
    return texto.trimmed();
}

} // namespace Comandos

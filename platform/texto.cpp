#include "platform/texto.h"

namespace Texto {

QStringList lineas(const QString &texto)
{
    QStringList resultado;
    qsizetype inicio = 0;
    const qsizetype n = texto.size();
    while (inicio < n) {
        qsizetype fin = texto.indexOf(QLatin1Char('\n'), inicio);
        if (fin < 0)
            fin = n;
        qsizetype corte = fin;
        if (corte > inicio && texto.at(corte - 1) == QLatin1Char('\r'))
            --corte;
        resultado.append(texto.mid(inicio, corte - inicio));
        inicio = fin + 1;
    }
    return resultado;
}

} // namespace Texto

#include "firewalldialog/reglas.h"

#include "platform/texto.h"

#include <QRegularExpression>

namespace Reglas {

namespace {

bool esBlanco(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')
           || c == QLatin1Char('\r');
}

} // namespace

std::optional<QStringList> dividir(const QString &linea)
{
    QStringList argumentos;
    QString actual;
    bool enPalabra = false; // "" is an (empty) argument of its own
    bool entreComillas = false;
    for (qsizetype i = 0; i < linea.size(); ++i) {
        const QChar c = linea.at(i);
        if (entreComillas) {
            if (c == QLatin1Char('\\')) {
                if (++i == linea.size())
                    return std::nullopt;
                actual += linea.at(i);
            } else if (c == QLatin1Char('"')) {
                entreComillas = false;
            } else {
                actual += c;
            }
        } else if (c == QLatin1Char('"')) {
            entreComillas = true;
            enPalabra = true;
        } else if (esBlanco(c)) {
            if (enPalabra)
                argumentos.append(actual);
            actual.clear();
            enPalabra = false;
        } else {
            actual += c;
            enPalabra = true;
        }
    }
    if (entreComillas)
        return std::nullopt;
    if (enPalabra)
        argumentos.append(actual);
    return argumentos;
}

bool esIPv4(const QString &texto)
{
    static const QRegularExpression patron(QRegularExpression::anchoredPattern(
        QStringLiteral("(?:(?:25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\\.){3}"
                       "(?:25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])"
                       "(?:/(?:3[0-2]|[12]?[0-9]))?")));
    return patron.match(texto).hasMatch();
}

QStringList leerInstantanea(const QByteArray &contenido)
{
    const QStringList lineas = Texto::lineas(QString::fromUtf8(contenido));
    QStringList reglas;
    bool enFiltro = false;
    for (const QString &linea : lineas) {
        if (!enFiltro) {
            enFiltro = linea == QLatin1String("*filter");
        } else if (linea == QLatin1String("COMMIT")) {
            enFiltro = false;
        } else if (linea.startsWith(QLatin1Char('*'))) {
            // A table header inside an unfinished block: that block ended.
            enFiltro = linea == QLatin1String("*filter");
        } else if (linea.startsWith(QLatin1String("-A "))) {
            reglas.append(linea.mid(3));
        }
    }
    return reglas;
}

} // namespace Reglas

#include "firewalldialog/reglas.h"

#include "platform/texto.h"

#include <QRegularExpression>

namespace Reglas {

namespace {

bool esBlanco(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

} // namespace

std::optional<QByteArrayList> dividir(const QByteArray &linea)
{
    QByteArrayList argumentos;
    QByteArray actual;
    bool enPalabra = false; // "" is an (empty) argument of its own
    bool entreComillas = false;
    for (qsizetype i = 0; i < linea.size(); ++i) {
        const char c = linea.at(i);
        if (entreComillas) {
            if (c == '\\') {
                if (++i == linea.size())
                    return std::nullopt;
                actual += linea.at(i);
            } else if (c == '"') {
                entreComillas = false;
            } else {
                actual += c;
            }
        } else if (c == '"') {
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

QByteArrayList leerInstantanea(const QByteArray &contenido)
{
    // Latin-1 keeps every byte as one character; the rules go back as bytes.
    const QStringList lineas = Texto::lineas(QString::fromLatin1(contenido));
    QByteArrayList reglas;
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
            reglas.append(linea.mid(3).toLatin1());
        }
    }
    return reglas;
}

} // namespace Reglas

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

std::optional<QByteArrayList> dividirComoShell(const QByteArray &linea)
{
    QByteArrayList argumentos;
    QByteArray actual;
    bool enPalabra = false; // '' and "" are (empty) arguments of their own
    for (qsizetype i = 0; i < linea.size(); ++i) {
        const char c = linea.at(i);
        if (c == '\\') {
            if (++i == linea.size())
                return std::nullopt;
            if (linea.at(i) != '\n') { // a backslash and a line break join two lines
                actual += linea.at(i);
                enPalabra = true;
            }
        } else if (c == '\'') {
            const qsizetype fin = linea.indexOf('\'', i + 1);
            if (fin < 0)
                return std::nullopt;
            actual += linea.mid(i + 1, fin - i - 1);
            enPalabra = true;
            i = fin;
        } else if (c == '"') {
            enPalabra = true;
            for (++i;; ++i) {
                if (i == linea.size())
                    return std::nullopt;
                const char d = linea.at(i);
                if (d == '"')
                    break;
                if (d == '\\' && i + 1 < linea.size()
                    && QByteArrayView("$`\"\\\n").contains(linea.at(i + 1))) {
                    if (linea.at(++i) != '\n')
                        actual += linea.at(i);
                } else {
                    actual += d;
                }
            }
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (enPalabra)
                argumentos.append(actual);
            actual.clear();
            enPalabra = false;
        } else {
            actual += c;
            enPalabra = true;
        }
    }
    if (enPalabra)
        argumentos.append(actual);
    return argumentos;
}

bool esIPv4(const QString &texto)
{
    static const QString parte = QStringLiteral("(?:25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])");
    static const QString direccion = QStringLiteral("(?:%1\\.){3}%1").arg(parte);
    static const QRegularExpression patron(QRegularExpression::anchoredPattern(
        QStringLiteral("%1(?:/(?:3[0-2]|[12]?[0-9]|%1))?").arg(direccion)));
    return patron.match(texto).hasMatch();
}

QByteArrayList leerInstantanea(const QByteArray &contenido)
{
    // Byte by byte: the rules go back to iptables as they were printed.
    QByteArrayList reglas;
    bool enFiltro = false;
    for (const QByteArrayView linea : Texto::lineas(contenido)) {
        if (!enFiltro) {
            enFiltro = linea == "*filter";
        } else if (linea == "COMMIT") {
            enFiltro = false;
        } else if (linea.startsWith('*')) {
            // A table header inside an unfinished block: that block ended.
            enFiltro = linea == "*filter";
        } else if (linea.startsWith("-A ")) {
            reglas.append(linea.sliced(3).toByteArray());
        }
    }
    return reglas;
}

} // namespace Reglas

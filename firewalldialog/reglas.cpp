#include "firewalldialog/reglas.h"

#include "platform/texto.h"

#include <QRegularExpression>
#include <QtAlgorithms>

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

std::optional<QByteArrayList> dividirComoShell(const QByteArray &linea, Fallo *fallo)
{
    const auto fallar = [fallo](Fallo f) {
        if (fallo)
            *fallo = f;
        return std::nullopt;
    };
    QByteArrayList argumentos;
    QByteArray actual;
    bool enPalabra = false; // '' and "" are (empty) arguments of their own
    for (qsizetype i = 0; i < linea.size(); ++i) {
        const char c = linea.at(i);
        if (c == '\\') {
            if (++i == linea.size())
                return fallar(Fallo::BarraFinal);
            if (linea.at(i) != '\n') { // a backslash and a line break join two lines
                actual += linea.at(i);
                enPalabra = true;
            }
        } else if (c == '\'') {
            const qsizetype fin = linea.indexOf('\'', i + 1);
            if (fin < 0)
                return fallar(Fallo::ComillaAbierta);
            actual += linea.mid(i + 1, fin - i - 1);
            enPalabra = true;
            i = fin;
        } else if (c == '"') {
            enPalabra = true;
            for (++i;; ++i) {
                if (i == linea.size())
                    return fallar(Fallo::ComillaAbierta);
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

std::optional<Red> red(const QString &texto)
{
    if (!esIPv4(texto))
        return std::nullopt;
    const auto numero = [](QStringView punteado) {
        quint32 n = 0;
        for (const QStringView parte : punteado.split(u'.'))
            n = n << 8 | parte.toUInt();
        return n;
    };
    const qsizetype barra = texto.indexOf('/');
    const quint32 direccion = numero(QStringView(texto).left(barra));
    if (barra < 0)
        return Red{texto, 1};
    const QStringView despues = QStringView(texto).sliced(barra + 1);
    quint32 mascara;
    if (despues.contains(u'.')) {
        mascara = numero(despues);
    } else {
        const int largo = despues.toInt();
        mascara = largo == 0 ? 0 : ~quint32(0) << (32 - largo);
    }
    const auto punteado = [](quint32 n) {
        return QStringLiteral("%1.%2.%3.%4")
            .arg(n >> 24)
            .arg(n >> 16 & 255)
            .arg(n >> 8 & 255)
            .arg(n & 255);
    };
    const int unos = qPopulationCount(mascara);
    const bool prefijo = unos == 0 || mascara == ~quint32(0) << (32 - unos);
    return Red{punteado(direccion & mascara) + '/'
                   + (prefijo ? QString::number(unos) : punteado(mascara)),
               quint64(1) << (32 - unos)};
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

#include "platform/texto.h"

#include <QStringDecoder>

namespace Texto {

void Lineas::iterator::leer()
{
    if (inicio_ >= texto_.size()) {
        inicio_ = texto_.size();
        return;
    }
    qsizetype fin = texto_.indexOf('\n', inicio_);
    if (fin < 0)
        fin = texto_.size();
    qsizetype corte = fin;
    if (corte > inicio_ && texto_.at(corte - 1) == '\r')
        --corte;
    linea_ = texto_.sliced(inicio_, corte - inicio_);
    siguiente_ = fin + 1;
}

namespace {

// QString::fromUtf8 drops a leading byte order mark; it is part of the file.
QString desdeUtf8(const QByteArray &bytes, bool *fallo)
{
    QStringDecoder decodificador(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom
                                                           | QStringDecoder::Flag::Stateless);
    QString texto = decodificador(bytes);
    if (fallo)
        *fallo = decodificador.hasError();
    return texto;
}

} // namespace

bool esAscii(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

Codificacion detectar(const QByteArray &bytes)
{
    if (esAscii(bytes)) // most lines: no need to decode twice
        return Codificacion::Utf8;
    bool fallo = false;
    const QString texto = desdeUtf8(bytes, &fallo);
    // The round trip also catches anything the decoder lets through but
    // would not write the same way.
    return !fallo && texto.toUtf8() == bytes ? Codificacion::Utf8 : Codificacion::Latin1;
}

QString decodificar(const QByteArray &bytes, Codificacion codificacion)
{
    return codificacion == Codificacion::Utf8 ? desdeUtf8(bytes, nullptr)
                                              : QString::fromLatin1(bytes);
}

QString decodificar(const QByteArray &bytes)
{
    return esAscii(bytes) ? QString::fromLatin1(bytes) : decodificar(bytes, detectar(bytes));
}

std::optional<QByteArray> codificar(const QString &texto, Codificacion codificacion)
{
    if (codificacion == Codificacion::Latin1) {
        for (const QChar c : texto) {
            if (c.unicode() > 0xff)
                return std::nullopt;
        }
        return texto.toLatin1();
    }
    // A lone surrogate would come out as '?'.
    QByteArray bytes = texto.toUtf8();
    if (desdeUtf8(bytes, nullptr) != texto)
        return std::nullopt;
    return bytes;
}

} // namespace Texto

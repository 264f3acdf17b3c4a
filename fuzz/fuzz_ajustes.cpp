// The configuration file loader: any file gives exactly 44 values, and what
// the program writes it reads back unchanged.
#include "comun.h"
#include "settings/ajustes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QByteArray archivo = bytes(datos, largo);
    const QStringList valores = Ajustes::analizar(archivo);
    EXIGIR(valores.size() == Ajustes::Cantidad);
    for (const QString &v : valores)
        EXIGIR(!v.contains(QLatin1Char('\n')));

    // Saving what was loaded and loading it again changes nothing but
    // the carriage returns a value may hold inside, which become blanks.
    QStringList esperado = valores;
    for (QString &v : esperado)
        v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    const QByteArray guardado = Ajustes::componer(valores);
    EXIGIR(guardado.count('\n') == Ajustes::Cantidad && guardado.endsWith('\n'));
    EXIGIR(Ajustes::analizar(guardado) == esperado);

    // Arbitrary values (the input cut at NUL bytes): line breaks become
    // blanks, missing values come back empty, extra ones are dropped.
    QStringList libres;
    for (const QByteArray &trozo : archivo.split('\0'))
        libres.append(QString::fromUtf8(trozo));
    QStringList libresEsperados;
    for (int i = 0; i < Ajustes::Cantidad; ++i) {
        QString v = i < libres.size() ? libres.at(i) : QString();
        v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        libresEsperados.append(v);
    }
    EXIGIR(Ajustes::analizar(Ajustes::componer(libres)) == libresEsperados);
    return 0;
}

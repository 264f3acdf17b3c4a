// The rule-text splitter. An argument vector quoted the way iptables-save
// does splits back to the same vector; any text that splits at all gives a
// vector that survives the same round trip.
#include "comun.h"
#include "firewalldialog/reglas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QByteArray entrada = bytes(datos, largo);

    // The input as a vector: arguments separated by NUL bytes.
    QStringList vector;
    if (!entrada.isEmpty())
        for (const QByteArray &trozo : entrada.split('\0'))
            vector.append(QString::fromUtf8(trozo));
    EXIGIR(Reglas::dividir(citar(vector)) == vector);

    // The input as a rule's text.
    const QString texto = QString::fromUtf8(entrada);
    if (const auto argumentos = Reglas::dividir(texto))
        EXIGIR(Reglas::dividir(citar(*argumentos)) == argumentos);
    else
        EXIGIR(texto.contains(QLatin1Char('"'))); // only an open quote fails
    return 0;
}

// The rule-text splitters. An argument vector quoted the way iptables-save
// does splits back to the same vector, whatever bytes it holds; any text
// that splits at all gives a vector that survives the same round trip. The
// same for a typed rule, quoted as a shell would take it.
#include "comun.h"
#include "firewalldialog/reglas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QByteArray entrada = bytes(datos, largo);

    // The input as a vector: arguments separated by NUL bytes.
    const QByteArrayList vector = entrada.isEmpty() ? QByteArrayList() : entrada.split('\0');
    EXIGIR(Reglas::dividir(citar(vector)) == vector);
    EXIGIR(!Reglas::dividir(citar(vector) + " \"abierta")); // a quote left open

    // The input as a rule's text.
    if (const auto argumentos = Reglas::dividir(entrada))
        EXIGIR(Reglas::dividir(citar(*argumentos)) == argumentos);
    else
        EXIGIR(entrada.contains('"')); // only an open quote fails

    EXIGIR(Reglas::dividirComoShell(citarComoShell(vector)) == vector);
    for (const char *abierta : {" 'abierta", " \"abierta", " abierta\\"})
        EXIGIR(!Reglas::dividirComoShell(citarComoShell(vector) + abierta));
    if (const auto argumentos = Reglas::dividirComoShell(entrada)) {
        EXIGIR(Reglas::dividirComoShell(citarComoShell(*argumentos)) == argumentos);
        // Without quotes or backslashes, blanks only separate words.
        if (!entrada.contains('\'') && !entrada.contains('"') && !entrada.contains('\\')) {
            QByteArrayList palabras;
            for (const QByteArray &p :
                 QByteArray(entrada).replace('\t', ' ').replace('\n', ' ').split(' '))
                if (!p.isEmpty())
                    palabras.append(p);
            EXIGIR(*argumentos == palabras);
        }
    } else {
        EXIGIR(entrada.contains('\'') || entrada.contains('"') || entrada.endsWith('\\'));
    }
    return 0;
}

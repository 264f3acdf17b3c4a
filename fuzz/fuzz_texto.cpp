// The codec for text from the system: whatever the bytes, the text shown
// for them encodes back to them in the encoding picked for them; UTF-8 is
// picked only for bytes that are UTF-8; ISO-8859-1 holds every byte.
#include "comun.h"
#include "platform/texto.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    using Texto::Codificacion;
    const QByteArray entrada = bytes(datos, largo);
    const Codificacion c = Texto::detectar(entrada);
    EXIGIR(Texto::codificar(Texto::decodificar(entrada), c) == entrada);
    const QString latin1 = Texto::decodificar(entrada, Codificacion::Latin1);
    EXIGIR(latin1.size() == entrada.size());
    EXIGIR(Texto::codificar(latin1, Codificacion::Latin1) == entrada);
    if (c == Codificacion::Utf8)
        EXIGIR(Texto::decodificar(entrada) == Texto::decodificar(entrada, Codificacion::Utf8));

    // Typed text: any string UTF-8 can hold comes back from it; ISO-8859-1
    // refuses exactly the characters above U+00FF.
    const QString tecleado = QString::fromUtf8(entrada);
    EXIGIR(Texto::decodificar(*Texto::codificar(tecleado, Codificacion::Utf8), Codificacion::Utf8)
           == tecleado);
    bool cabe = true;
    for (const QChar ch : tecleado)
        cabe = cabe && ch.unicode() <= 0xff;
    EXIGIR(Texto::codificar(tecleado, Codificacion::Latin1).has_value() == cabe);
    return 0;
}

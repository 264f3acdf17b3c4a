// The configuration file loader: any file gives exactly 44 values, saving
// them writes the file's own bytes back (in its canonical form), and the
// configuration dialog, left untouched, hands the same bytes back.
#include "comun.h"
#include "settings/ajustes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QByteArray archivo = bytes(datos, largo);
    const QByteArrayList valores = Ajustes::analizar(archivo);
    EXIGIR(valores.size() == Ajustes::Cantidad);
    for (const QByteArray &v : valores)
        EXIGIR(!v.contains('\n'));

    // Model on the raw bytes: the first 44 lines, a "\r" inside a line
    // becoming a blank, missing lines empty.
    QByteArray modelo;
    std::vector<std::string> lineas = lineasCrudas(archivo.toStdString());
    lineas.resize(Ajustes::Cantidad);
    for (const std::string &l : lineas)
        modelo += QByteArray::fromStdString(l).replace('\r', ' ') + '\n';
    const QByteArray guardado = Ajustes::componer(valores);
    EXIGIR(guardado == modelo);
    EXIGIR(Ajustes::componer(Ajustes::analizar(guardado)) == guardado);

    // The dialog shows each value decoded; its untouched texts give the bytes back.
    QStringList textos;
    for (const QByteArray &v : valores)
        textos.append(Ajustes::mostrar(v));
    const std::optional<QByteArrayList> editados = Ajustes::editar(valores, textos);
    EXIGIR(editados && Ajustes::componer(*editados) == guardado);
    EXIGIR(Ajustes::analizar(guardado) == *editados);

    // Arbitrary values (the input cut at NUL bytes): line breaks become
    // blanks, missing values come back empty, extra ones are dropped.
    const QByteArrayList libres = archivo.split('\0');
    QByteArrayList libresEsperados;
    for (int i = 0; i < Ajustes::Cantidad; ++i)
        libresEsperados.append(Ajustes::limpiar(libres.value(i)));
    EXIGIR(Ajustes::analizar(Ajustes::componer(libres)) == libresEsperados);
    return 0;
}

// One xinetd rewriting rule (DIRECCION 1 turns services on, 0 off) against
// a byte-level model: one line out per line in, each ended by "\n"; on a
// line the leftmost "disable" up to the last "yes" (or "no") with an '='
// between them becomes the new disable line, and every other byte stays.
#include "comun.h"
#include "mainwindow/xinetd.h"

static std::string esperada(const std::string &linea)
{
    const std::string valor = DIRECCION == 1 ? "yes" : "no";
    const std::string nueva = DIRECCION == 1 ? "disable\t= no" : "disable\t= yes";
    const size_t inicio = linea.find("disable");
    if (inicio == std::string::npos)
        return linea;
    // The last value with an '=' between "disable" and itself ends the match.
    for (size_t fin = linea.rfind(valor); fin != std::string::npos && fin >= inicio + 7;
         fin = fin == 0 ? std::string::npos : linea.rfind(valor, fin - 1)) {
        const size_t igual = linea.find('=', inicio + 7);
        if (igual != std::string::npos && igual < fin)
            return linea.substr(0, inicio) + nueva + linea.substr(fin + valor.size());
    }
    return linea;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const std::string crudo(reinterpret_cast<const char *>(datos), largo);
    const QByteArray salida = Xinetd::reescribir(bytes(datos, largo), DIRECCION == 1);
    const std::vector<std::string> entrada = lineasCrudas(crudo);

    EXIGIR(salida.count('\n') == static_cast<qsizetype>(entrada.size()));
    EXIGIR(salida.isEmpty() || salida.endsWith('\n'));

    std::string modelo;
    for (const std::string &linea : entrada)
        modelo += esperada(linea) + '\n';
    EXIGIR(salida.toStdString() == modelo);

    // A second pass finds nothing more to change, unless a line ended in
    // several carriage returns: each pass drops the one before "\n".
    if (!salida.contains("\r\n"))
        EXIGIR(Xinetd::reescribir(salida, DIRECCION == 1) == salida);
    return 0;
}

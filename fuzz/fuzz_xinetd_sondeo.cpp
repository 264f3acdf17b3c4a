// The xinetd probe against a plain byte-level reading of the same rule: a
// line holding "disable" once and "yes" once means the service is off.
#include "comun.h"
#include "mainwindow/estado.h"

static size_t veces(const std::string &texto, const std::string &palabra)
{
    size_t n = 0;
    for (size_t p = texto.find(palabra); p != std::string::npos; p = texto.find(palabra, p + 1))
        ++n;
    return n;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const std::string crudo(reinterpret_cast<const char *>(datos), largo);
    bool apagado = false;
    for (const std::string &linea : lineasCrudas(crudo))
        apagado = apagado || (veces(linea, "disable") == 1 && veces(linea, "yes") == 1);
    EXIGIR(Sonda::xinetdDesactivado(bytes(datos, largo)) == apagado);
    return 0;
}

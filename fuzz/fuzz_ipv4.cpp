// The address check against an independent reading: inet_pton for the
// dotted address (it refuses leading zeros too), and after a slash either a
// plain decimal prefix from 0 to 32 without leading zeros or a dotted mask
// inet_pton takes.
#include "comun.h"
#include "firewalldialog/reglas.h"

#include <arpa/inet.h>

static bool referencia(const std::string &s)
{
    if (s.find('\0') != std::string::npos)
        return false;
    const size_t barra = s.find('/');
    const std::string direccion = s.substr(0, barra);
    in_addr a{};
    if (inet_pton(AF_INET, direccion.c_str(), &a) != 1)
        return false;
    if (barra == std::string::npos)
        return true;
    const std::string prefijo = s.substr(barra + 1);
    in_addr mascara{};
    if (inet_pton(AF_INET, prefijo.c_str(), &mascara) == 1)
        return true;
    if (prefijo.empty() || prefijo.size() > 2 || (prefijo.size() == 2 && prefijo[0] == '0'))
        return false;
    for (const char c : prefijo)
        if (c < '0' || c > '9')
            return false;
    return std::stoi(prefijo) <= 32;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QString texto = QString::fromUtf8(bytes(datos, largo));
    const std::string utf8 = texto.toStdString();
    EXIGIR(Reglas::esIPv4(texto) == referencia(utf8));
    return 0;
}

// The address check against an independent reading: inet_pton for the
// dotted address (it refuses leading zeros too), and after a slash either a
// plain decimal prefix from 0 to 32 without leading zeros or a dotted mask
// inet_pton takes. An address taken is then written as iptables stores it:
// the host bits cleared, a contiguous mask as "/N", the count of addresses
// it covers.
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

static uint32_t numero(const std::string &punteado)
{
    in_addr a{};
    EXIGIR(inet_pton(AF_INET, punteado.c_str(), &a) == 1);
    return ntohl(a.s_addr);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QString texto = QString::fromUtf8(bytes(datos, largo));
    const std::string utf8 = texto.toStdString();
    EXIGIR(Reglas::esIPv4(texto) == referencia(utf8));
    const std::optional<Reglas::Red> red = Reglas::red(texto);
    EXIGIR(red.has_value() == Reglas::esIPv4(texto));
    if (!red)
        return 0;
    const size_t barra = utf8.find('/');
    if (barra == std::string::npos) {
        EXIGIR(red->texto == texto && red->direcciones == 1);
        return 0;
    }
    const std::string despues = utf8.substr(barra + 1);
    const uint32_t mascara = despues.find('.') != std::string::npos ? numero(despues)
                             : despues == "0"                       ? 0
                                              : ~uint32_t(0) << (32 - std::stoi(despues));
    const int unos = __builtin_popcount(mascara);
    const bool contigua = mascara == (unos ? ~uint32_t(0) << (32 - unos) : 0);
    const std::string escrito = red->texto.toStdString();
    const size_t otra = escrito.find('/');
    EXIGIR(otra != std::string::npos && Reglas::esIPv4(red->texto));
    EXIGIR(numero(escrito.substr(0, otra)) == (numero(utf8.substr(0, barra)) & mascara));
    if (contigua)
        EXIGIR(escrito.substr(otra + 1) == std::to_string(unos));
    else
        EXIGIR(numero(escrito.substr(otra + 1)) == mascara);
    EXIGIR(red->direcciones == uint64_t(1) << (32 - unos));
    return 0;
}

#ifndef TALVORA_FUZZ_COMUN_H
#define TALVORA_FUZZ_COMUN_H

// What every fuzz target shares: a failed property aborts, so that libFuzzer
// keeps the input that broke it.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define EXIGIR(condicion)                                                                          \
    do {                                                                                           \
        if (!(condicion)) {                                                                        \
            std::fprintf(stderr, "%s:%d: no se cumple: %s\n", __FILE__, __LINE__, #condicion);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

inline QByteArray bytes(const uint8_t *datos, size_t largo)
{
    return QByteArray(reinterpret_cast<const char *>(datos), static_cast<qsizetype>(largo));
}

// The lines of a byte string as a plain reader sees them: split on '\n', a
// '\r' right before it dropped, no line after a final '\n'.
inline std::vector<std::string> lineasCrudas(const std::string &s)
{
    std::vector<std::string> lineas;
    size_t inicio = 0;
    while (inicio < s.size()) {
        size_t fin = s.find('\n', inicio);
        if (fin == std::string::npos)
            fin = s.size();
        size_t corte = fin;
        if (corte > inicio && s[corte - 1] == '\r')
            --corte;
        lineas.push_back(s.substr(inicio, corte - inicio));
        inicio = fin + 1;
    }
    return lineas;
}

// Quotes an argument vector as iptables-save quotes a rule: a value made
// only of ASCII letters, digits, '_' and '-' stays bare, any other goes in
// double quotes with '"', '\\' and '\'' escaped by a backslash. Other bytes,
// in whatever encoding, are copied as they are.
inline QByteArray citar(const QByteArrayList &argumentos)
{
    QByteArrayList citados;
    for (const QByteArray &valor : argumentos) {
        bool desnudo = !valor.isEmpty();
        QByteArray v;
        for (const char c : valor) {
            const bool palabra = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
                                 || (c >= '0' && c <= '9') || c == '_' || c == '-';
            desnudo = desnudo && palabra;
            if (c == '"' || c == '\\' || c == '\'')
                v += '\\';
            v += c;
        }
        citados.append(desnudo ? valor : '"' + v + '"');
    }
    return citados.join(' ');
}

// Quotes an argument vector as a shell takes it: each argument in single
// quotes, a single quote inside written '\''.
inline QByteArray citarComoShell(const QByteArrayList &argumentos)
{
    QByteArrayList citados;
    for (const QByteArray &valor : argumentos)
        citados.append('\'' + QByteArray(valor).replace("'", "'\\''") + '\'');
    return citados.join(' ');
}

#endif

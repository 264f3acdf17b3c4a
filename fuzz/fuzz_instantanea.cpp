// The firewall snapshot reader: each rule it lists is the tail of an "-A "
// line of the snapshot, byte for byte, in order, inside a filter block; the
// text the dialog shows for it encodes back to those bytes; and the rule
// splits into arguments that quote and split back to themselves.
#include "comun.h"
#include "firewalldialog/reglas.h"
#include "platform/texto.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QByteArray instantanea = bytes(datos, largo);
    const QByteArrayList reglas = Reglas::leerInstantanea(instantanea);

    // Model: a rule is an "-A " line after a "*filter" line with no
    // "COMMIT" and no other table header in between.
    QByteArrayList modelo;
    std::string tabla;
    for (const std::string &linea : lineasCrudas(instantanea.toStdString())) {
        if (linea.rfind('*', 0) == 0)
            tabla = linea;
        else if (linea == "COMMIT")
            tabla.clear();
        else if (tabla == "*filter" && linea.rfind("-A ", 0) == 0)
            modelo.append(QByteArray::fromStdString(linea.substr(3)));
    }
    EXIGIR(reglas == modelo);

    for (const QByteArray &regla : reglas) {
        EXIGIR(!regla.contains('\n'));
        const QString vista = Texto::decodificar(regla);
        EXIGIR(Texto::codificar(vista, Texto::detectar(regla)) == regla);
        if (const auto argumentos = Reglas::dividir(regla))
            EXIGIR(Reglas::dividir(citar(*argumentos)) == argumentos);
    }
    return 0;
}

// The firewall snapshot reader: each rule it lists is the tail of an "-A "
// line of the snapshot, in order, inside a filter block; and the rule text
// splits into arguments that quote and split back to themselves.
#include "comun.h"
#include "firewalldialog/reglas.h"
#include "platform/texto.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QByteArray instantanea = bytes(datos, largo);
    const QStringList reglas = Reglas::leerInstantanea(instantanea);

    // Model: a rule is an "-A " line after a "*filter" line with no
    // "COMMIT" and no other table header in between.
    QStringList modelo;
    QString tabla;
    for (const QString &linea : Texto::lineas(QString::fromUtf8(instantanea))) {
        if (linea.startsWith(QLatin1Char('*')))
            tabla = linea;
        else if (linea == QLatin1String("COMMIT"))
            tabla.clear();
        else if (tabla == QLatin1String("*filter") && linea.startsWith(QLatin1String("-A ")))
            modelo.append(linea.mid(3));
    }
    EXIGIR(reglas == modelo);

    for (const QString &regla : reglas) {
        EXIGIR(!regla.contains(QLatin1Char('\n')));
        if (const auto argumentos = Reglas::dividir(regla))
            EXIGIR(Reglas::dividir(citar(*argumentos)) == argumentos);
    }
    return 0;
}

#include "settings/ajustes.h"

#include "platform/host.h"
#include "platform/texto.h"

#include <QFile>

namespace {

QStringList columna(bool nombres)
{
#define TALVORA_NOMBRE(clave, defecto) QStringLiteral(#clave),
#define TALVORA_DEFECTO(clave, defecto) QStringLiteral(defecto),
    static const QStringList n{TALVORA_AJUSTES(TALVORA_NOMBRE)};
    static const QStringList d{TALVORA_AJUSTES(TALVORA_DEFECTO)};
#undef TALVORA_NOMBRE
#undef TALVORA_DEFECTO
    static_assert(static_cast<int>(Ajustes::Clave::cEditarFtp) + 1 == Ajustes::Cantidad);
    return nombres ? n : d;
}

QStringList &actuales()
{
    static QStringList v = Ajustes::valoresPorDefecto();
    return v;
}

int indice(Ajustes::Clave clave) { return static_cast<int>(clave); }

} // namespace

namespace Ajustes {

const QStringList &claves()
{
    static const QStringList c = columna(true);
    return c;
}

const QStringList &valoresPorDefecto()
{
    static const QStringList d = columna(false);
    return d;
}

QString nombre(Clave clave) { return claves().at(indice(clave)); }

QString valor(Clave clave) { return actuales().at(indice(clave)); }

QString porDefecto(Clave clave) { return valoresPorDefecto().at(indice(clave)); }

QStringList valores() { return actuales(); }

void asignar(const QStringList &nuevos)
{
    QStringList v = nuevos.mid(0, Cantidad);
    while (v.size() < Cantidad)
        v.append(QString());
    actuales() = v;
}

QString limpiar(const QString &valor)
{
    QString v = valor;
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v;
}

QString rutaArchivo() { return Host::path(QStringLiteral(TALVORA_DATADIR "/conf")); }

QStringList analizar(const QByteArray &contenido)
{
    QStringList lineas = Texto::lineas(QString::fromLocal8Bit(contenido));
    lineas = lineas.mid(0, Cantidad);
    while (lineas.size() < Cantidad)
        lineas.append(QString());
    return lineas;
}

QByteArray componer(const QStringList &valores)
{
    QString texto;
    for (int i = 0; i < Cantidad; ++i) {
        // A stray line break would shift every later setting.
        texto += limpiar(valores.value(i));
        texto += QLatin1Char('\n');
    }
    return texto.toLocal8Bit();
}

Carga cargar()
{
    const QString ruta = rutaArchivo();
    QFile archivo(ruta);
    // Open first: an ordinary start touches the file once.
    if (!archivo.open(QIODevice::ReadOnly))
        return QFile::exists(ruta) ? Carga::NoSePuedeLeer : Carga::NoExiste;
    const QByteArray contenido = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError)
        return Carga::NoSePuedeLeer;
    asignar(analizar(contenido));
    return Carga::Cargado;
}

bool guardar(const QStringList &valores)
{
    return Host::replaceFile(rutaArchivo(), componer(valores));
}

} // namespace Ajustes

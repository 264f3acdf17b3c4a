#include "settings/ajustes.h"

#include "platform/sistema.h"
#include "platform/texto.h"

#include <QFile>

#include <array>
#include <iterator>

namespace {

// Column 0 holds the keys, columns 1 to 3 the profiles' values.
const QByteArrayList &columna(int n)
{
#define TALVORA_FILA(clave, clasico, debian, redhat)                                               \
    {QByteArrayLiteral(#clave), QByteArrayLiteral(clasico), QByteArrayLiteral(debian),             \
     QByteArrayLiteral(redhat)},
    static const QByteArray filas[][4] = {TALVORA_AJUSTES(TALVORA_FILA)};
#undef TALVORA_FILA
    static_assert(std::size(filas) == Ajustes::Cantidad);
    static const std::array<QByteArrayList, 4> columnas = [] {
        std::array<QByteArrayList, 4> c;
        for (const auto &fila : filas) {
            for (int i = 0; i < 4; ++i)
                c[i].append(fila[i]);
        }
        return c;
    }();
    return columnas.at(n);
}

} // namespace

Ajustes::Ajustes(QObject *parent) : QObject(parent), valores_(valoresPorDefecto()) {}

const QStringList &Ajustes::claves()
{
    static const QStringList c = [] {
        QStringList nombres;
        for (const QByteArray &n : columna(0))
            nombres.append(QString::fromLatin1(n));
        return nombres;
    }();
    return c;
}

const QByteArrayList &Ajustes::valoresPorDefecto() { return valoresDe(Perfil::Clasico); }

Ajustes::Perfil Ajustes::perfilSegun(const QByteArray &osRelease)
{
    // KEY=value, the value perhaps quoted; ID first, then the families it is like.
    QByteArrayList nombres;
    for (const char *clave : {"ID=", "ID_LIKE="}) {
        for (const QByteArrayView linea : Texto::lineas(osRelease)) {
            if (!linea.startsWith(clave))
                continue;
            QByteArray valor = linea.sliced(qstrlen(clave)).trimmed().toByteArray();
            if (valor.size() >= 2 && (valor.front() == '"' || valor.front() == '\'')
                && valor.back() == valor.front())
                valor = valor.mid(1, valor.size() - 2);
            nombres += valor.simplified().split(' ');
        }
    }
    for (const QByteArray &n : nombres) {
        if (n == "debian")
            return Perfil::Debian;
        if (n == "rhel" || n == "fedora" || n == "centos")
            return Perfil::RedHat;
    }
    return Perfil::Clasico;
}

Ajustes::Perfil Ajustes::perfilDelSistema(const Sistema &sistema)
{
    if (!Sistema::existe(sistema.rutaBytes(Rutas::SystemdEnMarcha)))
        return Perfil::Clasico;
    for (const char *ruta : {Rutas::OsRelease, Rutas::OsReleaseUsr}) {
        if (const auto contenido = Sistema::leerArchivo(sistema.rutaBytes(ruta)))
            return perfilSegun(*contenido);
    }
    return Perfil::Clasico;
}

const QByteArrayList &Ajustes::valoresDe(Perfil perfil)
{
    return columna(1 + static_cast<int>(perfil));
}

QString Ajustes::nombre(Perfil perfil)
{
    switch (perfil) {
    case Perfil::Debian:
        return QStringLiteral("Debian");
    case Perfil::RedHat:
        return QStringLiteral("Red Hat");
    case Perfil::Clasico:
        break;
    }
    return QStringLiteral("Clásico");
}

QByteArray Ajustes::valor(Clave clave) const { return valores_.at(static_cast<int>(clave)); }

QByteArrayList Ajustes::valores() const { return valores_; }

void Ajustes::asignar(const QByteArrayList &nuevos)
{
    QByteArrayList v = nuevos.mid(0, Cantidad);
    while (v.size() < Cantidad)
        v.append(QByteArray());
    if (v == valores_)
        return;
    valores_ = v;
    emit cambiados();
}

// Both bytes are line ends in UTF-8 and in ISO-8859-1 alike.
QByteArray Ajustes::limpiar(const QByteArray &valor)
{
    QByteArray v = valor;
    v.replace('\r', ' ');
    v.replace('\n', ' ');
    return v;
}

QString Ajustes::mostrar(const QByteArray &valor) { return Texto::decodificar(valor); }

std::optional<QByteArrayList> Ajustes::editar(const QByteArrayList &anteriores,
                                              const QStringList &textos)
{
    Texto::Codificacion delArchivo = Texto::Codificacion::Utf8;
    for (const QByteArray &v : anteriores) {
        if (Texto::detectar(v) == Texto::Codificacion::Latin1)
            delArchivo = Texto::Codificacion::Latin1;
    }
    QByteArrayList nuevos;
    for (int i = 0; i < Cantidad; ++i) {
        const QByteArray anterior = anteriores.value(i);
        const QString texto = textos.value(i);
        if (texto == mostrar(anterior)) {
            nuevos.append(limpiar(anterior));
            continue;
        }
        const std::optional<QByteArray> bytes = Texto::codificar(
            texto, Texto::esAscii(anterior) ? delArchivo : Texto::detectar(anterior));
        if (!bytes)
            return std::nullopt;
        nuevos.append(limpiar(*bytes));
    }
    return nuevos;
}

QString Ajustes::rutaArchivo(const Sistema &sistema)
{
    return sistema.ruta(QString::fromUtf8(Rutas::Configuracion));
}

QByteArrayList Ajustes::analizar(const QByteArray &contenido)
{
    QByteArrayList lineas;
    for (const QByteArrayView linea : Texto::lineas(contenido)) {
        if (lineas.size() == Cantidad)
            break;
        lineas.append(linea.toByteArray());
    }
    while (lineas.size() < Cantidad)
        lineas.append(QByteArray());
    return lineas;
}

QByteArray Ajustes::componer(const QByteArrayList &valores)
{
    QByteArray texto;
    for (int i = 0; i < Cantidad; ++i) {
        // A stray line break would shift every later setting.
        texto += limpiar(valores.value(i));
        texto += '\n';
    }
    return texto;
}

Ajustes::Carga Ajustes::cargar(const Sistema &sistema)
{
    // Read first: an ordinary start touches the file once.
    const QString ruta = rutaArchivo(sistema);
    const std::optional<QByteArray> contenido = Sistema::leerArchivo(ruta);
    if (!contenido)
        return Sistema::existe(QFile::encodeName(ruta)) ? Carga::NoSePuedeLeer : Carga::NoExiste;
    asignar(analizar(*contenido));
    return Carga::Cargado;
}

bool Ajustes::guardar(const Sistema &sistema, const QByteArrayList &valores)
{
    return Sistema::reemplazarArchivo(rutaArchivo(sistema), componer(valores));
}

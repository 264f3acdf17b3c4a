#include "mainwindow/accesos.h"

#include "mainwindow/comandos.h"
#include "platform/sistema.h"
#include "platform/texto.h"
#include "rutas.h"

#include <QFile>

namespace Accesos {

const char *const HostsDenyPorDefecto
    = "# Modificado por Talvora by Korvane\n"
      "ALL:ALL: spawn (/bin/echo `date` Intento en %d de %c >>" TALVORA_LOG_HOSTS_DENY " | "
      "/usr/bin/play " TALVORA_ALARMA " ) & \n\n";

const char *const HostsAllowPorDefecto = "# Modo de Uso    Servicio : IP\n"
                                         "# Ej  in.ftpd: ALL\n"
                                         "# Ej  ALL: 192.168.0.*\n"
                                         "\n"
                                         "ALL: 127.0.0.1\n"
                                         "\n";

namespace {

QString ruta(const char *absoluta) { return Sistema::ruta(QString::fromUtf8(absoluta)); }

// "/bin/cp --force -p" of one fixed path onto another.
QByteArray copia(const QString &desde, const QString &hacia)
{
    return "/bin/cp --force -p " + QFile::encodeName(desde) + ' ' + QFile::encodeName(hacia);
}

QString viejo(const QString &archivo) { return archivo + QStringLiteral(".viejo"); }

// The backup must hold the old file before anything replaces it.
void instalar(const QString &instalado, const char *nombre)
{
    Comandos::ejecutar(copia(instalado, viejo(instalado)));
    Comandos::lanzar(copia(ruta(Rutas::PorDefecto) + QString::fromUtf8(nombre), instalado) + " &");
}

} // namespace

std::optional<ArchivoHostsAllow> leerHostsAllow()
{
    const std::optional<QByteArray> contenido = Sistema::leerArchivo(ruta(Rutas::HostsAllow));
    if (!contenido)
        return std::nullopt;
    return analizarHostsAllow(*contenido);
}

ArchivoHostsAllow analizarHostsAllow(const QByteArray &contenido)
{
    // One encoding for the whole file: the editor's lines cannot be told
    // apart once edited.
    const Texto::Codificacion codificacion = Texto::detectar(contenido);
    QByteArray lineas;
    for (const QByteArrayView linea : Texto::lineas(contenido)) {
        lineas += linea;
        lineas += '\n';
    }
    lineas.chop(1);
    return ArchivoHostsAllow{Texto::decodificar(lineas, codificacion), codificacion};
}

QString textoHostsAllow(const QString &editor)
{
    QString texto = editor + QLatin1Char('\n');
    if (!texto.endsWith(QLatin1String("\n\n")))
        texto += QLatin1Char('\n');
    return texto;
}

std::optional<QByteArray> bytesHostsAllow(const QString &editor, Texto::Codificacion codificacion)
{
    return Texto::codificar(textoHostsAllow(editor), codificacion);
}

bool guardarHostsAllow(const QString &editor, Texto::Codificacion codificacion)
{
    const std::optional<QByteArray> bytes = bytesHostsAllow(editor, codificacion);
    return bytes && Sistema::reemplazarArchivo(ruta(Rutas::HostsAllow), *bytes);
}

bool escribirHostsDeny()
{
    Comandos::ejecutar(copia(ruta(Rutas::HostsDeny), viejo(ruta(Rutas::HostsDeny))));
    return Sistema::reemplazarArchivo(ruta(Rutas::HostsDeny), QByteArray(HostsDenyPorDefecto));
}

bool escribirHostsAllow()
{
    return Sistema::reemplazarArchivo(ruta(Rutas::HostsAllow), QByteArray(HostsAllowPorDefecto));
}

void instalarKorvgate() { instalar(ruta(Rutas::ScriptsRedHat) + "/korv-gate", "korv-gate"); }

void instalarFtp() { instalar(ruta(Rutas::Ftpaccess), "ftpaccess"); }

QByteArray comandoLogHostsDeny(const QByteArray &editor)
{
    return editor + ' ' + QFile::encodeName(ruta(Rutas::LogHostsDeny)) + " &";
}

} // namespace Accesos

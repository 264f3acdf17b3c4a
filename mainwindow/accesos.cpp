#include "mainwindow/accesos.h"

#include "mainwindow/comandos.h"
#include "platform/host.h"
#include "platform/texto.h"
#include "rutas.h"

#include <QFile>

namespace Accesos {

const char *const HostsDenyPorDefecto
    = "# Modificado por Talvora by Korvane\n"
      "ALL:ALL: spawn (/bin/echo `date` Intento en %d de %c >>/var/log/HOSTS.DENY | "
      "/usr/bin/play " TALVORA_DATADIR "/sounds/attack_detected.wav ) & \n\n";

const char *const HostsAllowPorDefecto = "# Modo de Uso    Servicio : IP\n"
                                         "# Ej  in.ftpd: ALL\n"
                                         "# Ej  ALL: 192.168.0.*\n"
                                         "\n"
                                         "ALL: 127.0.0.1\n"
                                         "\n";

namespace {

const QString HostsAllow = QStringLiteral("/etc/hosts.allow");
const QString HostsDeny = QStringLiteral("/etc/hosts.deny");
const QString Korvgate = QStringLiteral("/etc/rc.d/init.d/korv-gate");
const QString Ftpaccess = QStringLiteral("/etc/ftpaccess");
const QString PorDefecto = QStringLiteral(TALVORA_DATADIR "/pordefecto/");
const QString LogHostsDeny = QStringLiteral("/var/log/HOSTS.DENY");
const QString Viejo = QStringLiteral(".viejo");

// "/bin/cp --force -p" of one fixed path onto another.
QByteArray copia(const QString &desde, const QString &hacia)
{
    return "/bin/cp --force -p " + QFile::encodeName(Host::path(desde)) + ' '
           + QFile::encodeName(Host::path(hacia));
}

// The backup must hold the old file before anything replaces it.
void instalar(const QString &instalado, const QString &nombre)
{
    Comandos::ejecutar(copia(instalado, instalado + Viejo));
    Comandos::ejecutar(copia(PorDefecto + nombre, instalado) + " &");
}

} // namespace

std::optional<ArchivoHostsAllow> leerHostsAllow()
{
    const std::optional<QByteArray> contenido
        = Host::readFile(QFile::encodeName(Host::path(HostsAllow)));
    if (!contenido)
        return std::nullopt;
    return analizarHostsAllow(*contenido);
}

ArchivoHostsAllow analizarHostsAllow(const QByteArray &contenido)
{
    // One encoding for the whole file: the editor's lines cannot be told
    // apart once edited.
    const Texto::Codificacion codificacion = Texto::detectar(contenido);
    const QString texto = Texto::decodificar(contenido, codificacion);
    return ArchivoHostsAllow{Texto::lineas(texto).join(QLatin1Char('\n')), codificacion};
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
    return bytes && Host::replaceFile(Host::path(HostsAllow), *bytes);
}

bool escribirHostsDeny()
{
    Comandos::ejecutar(copia(HostsDeny, HostsDeny + Viejo));
    return Host::replaceFile(Host::path(HostsDeny), QByteArray(HostsDenyPorDefecto));
}

bool escribirHostsAllow()
{
    return Host::replaceFile(Host::path(HostsAllow), QByteArray(HostsAllowPorDefecto));
}

void instalarKorvgate() { instalar(Korvgate, QStringLiteral("korv-gate")); }

void instalarFtp() { instalar(Ftpaccess, QStringLiteral("ftpaccess")); }

QByteArray comandoLogHostsDeny(const QByteArray &editor)
{
    return editor + ' ' + QFile::encodeName(Host::path(LogHostsDeny)) + " &";
}

} // namespace Accesos

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
QString copia(const QString &desde, const QString &hacia)
{
    return QStringLiteral("/bin/cp --force -p ") + Host::path(desde) + QLatin1Char(' ')
           + Host::path(hacia);
}

// The backup must hold the old file before anything replaces it.
void instalar(const QString &instalado, const QString &nombre)
{
    Comandos::ejecutar(copia(instalado, instalado + Viejo));
    Comandos::ejecutar(copia(PorDefecto + nombre, instalado) + QStringLiteral(" &"));
}

} // namespace

std::optional<QString> leerHostsAllow()
{
    QFile archivo(Host::path(HostsAllow));
    if (!archivo.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray contenido = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError)
        return std::nullopt;
    return Texto::lineas(QString::fromLocal8Bit(contenido)).join(QLatin1Char('\n'));
}

QString textoHostsAllow(const QString &editor)
{
    QString texto = editor + QLatin1Char('\n');
    if (!texto.endsWith(QLatin1String("\n\n")))
        texto += QLatin1Char('\n');
    return texto;
}

bool guardarHostsAllow(const QString &editor)
{
    return Host::replaceFile(Host::path(HostsAllow), textoHostsAllow(editor).toLocal8Bit());
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

QString comandoLogHostsDeny(const QString &editor)
{
    return editor + QLatin1Char(' ') + Host::path(LogHostsDeny) + QStringLiteral(" &");
}

} // namespace Accesos

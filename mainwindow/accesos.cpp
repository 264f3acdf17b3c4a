// /etc/hosts.allow editing and the default access-control and service files.
#include "mainwindow/accesos.h"

#include "mainwindow/comandos.h"
#include "mainwindow/form1impl.h"
#include "mainwindow/marcas.h"
#include "platform/host.h"
#include "settings/ajustes.h"

#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextDocument>

const char *const HostsDenyPorDefecto =
    "# Modificado por Talvora by Korvane\n"
    "ALL:ALL: spawn (/bin/echo `date` Intento en %d de %c >>/var/log/HOSTS.DENY | "
    "/usr/bin/play /usr/local/share/talvora/sounds/attack_detected.wav ) & \n\n";

const char *const HostsAllowPorDefecto =
    "# Modo de Uso    Servicio : IP\n"
    "# Ej  in.ftpd: ALL\n"
    "# Ej  ALL: 192.168.0.*\n"
    "\n"
    "ALL: 127.0.0.1\n"
    "\n";

QString textoHostsAllow(const QString &editor)
{
    QString texto = editor + QLatin1Char('\n');
    if (!texto.endsWith(QLatin1String("\n\n")))
        texto += QLatin1Char('\n');
    return texto;
}

namespace {

void noSePudoEscribir(QWidget *padre)
{
    QMessageBox::warning(padre, QStringLiteral("Error"), QStringLiteral("No se pudo escribir el Archivo"));
}

// "/bin/cp --force -p" of one fixed path onto another.
QString copia(const char *desde, const char *hacia)
{
    return QStringLiteral("/bin/cp --force -p ") + Host::path(QLatin1String(desde)) + QLatin1Char(' ')
        + Host::path(QLatin1String(hacia));
}

} // namespace

void form1::LeerEstadoHostsAllow()
{
    QFile archivo(Host::path(QStringLiteral("/etc/hosts.allow")));
    QByteArray contenido;
    if (archivo.open(QIODevice::ReadOnly))
        contenido = archivo.readAll();
    if (!archivo.isOpen() || archivo.error() != QFileDevice::NoError) {
        mlHostsAllow->setPlainText(MarcaError);
    } else {
        mlHostsAllow->setPlainText(
            Host::splitLines(QString::fromLocal8Bit(contenido)).join(QLatin1Char('\n')));
    }
    mlHostsAllow->document()->setModified(false);
}

void form1::bAplicarHostsAllow_Click()
{
    const QByteArray datos = textoHostsAllow(mlHostsAllow->toPlainText()).toLocal8Bit();
    if (!Host::replaceFile(Host::path(QStringLiteral("/etc/hosts.allow")), datos)) {
        noSePudoEscribir(this);
        return;
    }
    mlHostsAllow->document()->setModified(false);
}

void form1::bLogHostsAllow_Click()
{
    ejecutarComando(Ajustes::valor(QStringLiteral("cEditor")) + QLatin1Char(' ')
                    + Host::path(QStringLiteral("/var/log/HOSTS.DENY")) + QStringLiteral(" &"));
}

void form1::EscribirHostsDeny()
{
    // The backup must hold the old list before the file is replaced.
    ejecutarComando(copia("/etc/hosts.deny", "/etc/hosts.deny.viejo"));
    if (!Host::replaceFile(Host::path(QStringLiteral("/etc/hosts.deny")), QByteArray(HostsDenyPorDefecto))) {
        noSePudoEscribir(this);
        return;
    }
    QMessageBox::information(this, QStringLiteral("Listo"), QStringLiteral("Se modifico /etc/hosts.deny"));
}

void form1::EscribirHostsAllow()
{
    mlHostsAllow->setPlainText(QString::fromLatin1(HostsAllowPorDefecto));
    mlHostsAllow->document()->setModified(false);
    if (!Host::replaceFile(Host::path(QStringLiteral("/etc/hosts.allow")), QByteArray(HostsAllowPorDefecto))) {
        noSePudoEscribir(this);
        return;
    }
    QMessageBox::information(this, QStringLiteral("Listo"), QStringLiteral("Se modifico /etc/hosts.allow"));
}

void form1::EscribirFtp()
{
    ejecutarComando(copia("/etc/ftpaccess", "/etc/ftpaccess.viejo"));
    ejecutarComando(copia("/usr/local/share/talvora/pordefecto/ftpaccess", "/etc/ftpaccess")
                    + QStringLiteral(" &"));
}

void form1::EscribirKorvgate()
{
    ejecutarComando(copia("/etc/rc.d/init.d/korv-gate", "/etc/rc.d/init.d/korv-gate.viejo"));
    ejecutarComando(copia("/usr/local/share/talvora/pordefecto/korv-gate", "/etc/rc.d/init.d/korv-gate")
                    + QStringLiteral(" &"));
}

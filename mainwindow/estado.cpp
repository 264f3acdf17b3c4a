// Status probes: a status file's existence, or an xinetd file's disable line.
#include "mainwindow/estado.h"

#include "mainwindow/form1impl.h"
#include "mainwindow/marcas.h"
#include "platform/host.h"
#include "settings/ajustes.h"

#include <QFile>
#include <QLabel>

bool xinetdDesactivado(const QByteArray &contenido)
{
    // Latin-1 keeps every byte as one character, whatever the file holds.
    const QStringList lineas = Host::splitLines(QString::fromLatin1(contenido));
    for (const QString &linea : lineas) {
        if (linea.count(QLatin1String("disable")) == 1 && linea.count(QLatin1String("yes")) == 1)
            return true;
    }
    return false;
}

void form1::LeerEstadoArchivo(const QString &ruta, QLabel *etiqueta)
{
    etiqueta->setText(QFile::exists(ruta) ? MarcaOn : MarcaOff);
}

void form1::LeerArchivoXinetd(const QString &ruta, QLabel *etiqueta)
{
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        etiqueta->setText(MarcaError);
        return;
    }
    const QByteArray contenido = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError) {
        etiqueta->setText(MarcaError);
        return;
    }
    etiqueta->setText(xinetdDesactivado(contenido) ? MarcaOff : MarcaOn);
}

void form1::LeerEstadoGate()
{
    LeerEstadoArchivo(Ajustes::valor(QStringLiteral("cEstadoGate")), tGate);
}

void form1::LeerEstadoSquid()
{
    LeerEstadoArchivo(Ajustes::valor(QStringLiteral("cEstadoSquid")), tSquid);
}

void form1::LeerEstadoHttpd()
{
    LeerEstadoArchivo(Ajustes::valor(QStringLiteral("cEstadoHttpd")), tHttpd);
}

void form1::LeerEstadoSamba()
{
    LeerEstadoArchivo(Ajustes::valor(QStringLiteral("cEstadoSamba")), tSamba);
}

void form1::LeerEstadoSendmail()
{
    LeerEstadoArchivo(Ajustes::valor(QStringLiteral("cEstadoSendmail")), tSendmail);
}

void form1::LeerEstadoDns()
{
    LeerEstadoArchivo(Ajustes::valor(QStringLiteral("cEstadoDns")), tDns);
}

void form1::LeerEstadoXinetd()
{
    LeerEstadoArchivo(Ajustes::valor(QStringLiteral("cEstadoXinetd")), tXinetd);
}

void form1::LeerEstadoTelnet()
{
    LeerArchivoXinetd(Ajustes::valor(QStringLiteral("cDirectorioXinetd")) + QStringLiteral("/telnet"), tTelnet);
}

void form1::LeerEstadoFtp()
{
    LeerArchivoXinetd(Ajustes::valor(QStringLiteral("cDirectorioXinetd")) + QStringLiteral("/wu-ftpd"), tFtp);
}

void form1::LeerEstadoPop3()
{
    LeerArchivoXinetd(Ajustes::valor(QStringLiteral("cDirectorioXinetd")) + QStringLiteral("/ipop3"), tPop3);
}

void form1::LeerEstadoSwat()
{
    LeerArchivoXinetd(Ajustes::valor(QStringLiteral("cDirectorioXinetd")) + QStringLiteral("/swat"), tSwat);
}

// Switching the xinetd-run services on and off through their service files.
#include "mainwindow/xinetd.h"

#include "mainwindow/form1impl.h"
#include "mainwindow/marcas.h"
#include "platform/host.h"
#include "settings/ajustes.h"

#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>

QByteArray reescribirXinetd(const QByteArray &contenido, int direccion)
{
    static const QRegularExpression activar(QStringLiteral("disable.*=.*yes"));
    static const QRegularExpression desactivar(QStringLiteral("disable.*=.*no"));
    const QRegularExpression &regla = direccion == 1 ? activar : desactivar;
    const QString reemplazo = direccion == 1 ? QStringLiteral("disable\t= no") : QStringLiteral("disable\t= yes");

    // Latin-1 both ways, so that bytes the rules do not touch survive as they are.
    QString texto;
    texto.reserve(contenido.size() + 16);
    for (QString linea : Host::splitLines(QString::fromLatin1(contenido))) {
        linea.replace(regla, reemplazo);
        texto += linea;
        texto += QLatin1Char('\n');
    }
    return texto.toLatin1();
}

void form1::CambiarArchivoXinetd(const QString &ruta, QLabel *etiqueta, int direccion, const char *sondeo)
{
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        etiqueta->setText(MarcaError);
        return;
    }
    const QByteArray contenido = archivo.readAll();
    const bool leido = archivo.error() == QFileDevice::NoError;
    archivo.close();
    if (!leido || !Host::replaceFile(ruta, reescribirXinetd(contenido, direccion))) {
        etiqueta->setText(MarcaError);
        return;
    }
    if (tXinetd->text() == MarcaOn)
        bReiniciarXinetd_Click();
    QTimer::singleShot(1000, this, sondeo);
}

static QString archivoXinetd(const char *servicio)
{
    return Ajustes::valor(QStringLiteral("cDirectorioXinetd")) + QLatin1Char('/') + QLatin1String(servicio);
}

void form1::bIniciarTelnet_Click()
{
    CambiarArchivoXinetd(archivoXinetd("telnet"), tTelnet, 1, SLOT(LeerEstadoTelnet()));
}

void form1::bIniciarFtp_Click()
{
    CambiarArchivoXinetd(archivoXinetd("wu-ftpd"), tFtp, 1, SLOT(LeerEstadoFtp()));
}

void form1::bIniciarPop3_Click()
{
    CambiarArchivoXinetd(archivoXinetd("ipop3"), tPop3, 1, SLOT(LeerEstadoPop3()));
}

void form1::bIniciarSwat_Click()
{
    CambiarArchivoXinetd(archivoXinetd("swat"), tSwat, 1, SLOT(LeerEstadoSwat()));
}

void form1::bDetenerTelnet_Click()
{
    CambiarArchivoXinetd(archivoXinetd("telnet"), tTelnet, 0, SLOT(LeerEstadoTelnet()));
}

void form1::bDetenerFtp_Click()
{
    CambiarArchivoXinetd(archivoXinetd("wu-ftpd"), tFtp, 0, SLOT(LeerEstadoFtp()));
}

void form1::bDetenerPop3_Click()
{
    CambiarArchivoXinetd(archivoXinetd("ipop3"), tPop3, 0, SLOT(LeerEstadoPop3()));
}

void form1::bDetenerSwat_Click()
{
    CambiarArchivoXinetd(archivoXinetd("swat"), tSwat, 0, SLOT(LeerEstadoSwat()));
}

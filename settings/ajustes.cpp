#include "settings/ajustes.h"

#include "platform/host.h"

#include <QFile>

namespace {

struct Entrada {
    const char *clave;
    const char *defecto;
};

const Entrada tabla[Ajustes::Cantidad] = {
    {"cEditor", "kwrite"},
    {"cAbrirManual", "htmlview file:/usr/local/share/talvora/doc/talvora/index.html"},
    {"cIniciarGate", "/etc/rc.d/init.d/korv-gate start"},
    {"cDetenerGate", "/etc/rc.d/init.d/korv-gate stop"},
    {"cReiniciarGate", "/etc/rc.d/init.d/korv-gate restart"},
    {"cEstadoGate", "/var/run/korv-gate.pid"},
    {"cEditarGate", "%editor /etc/rc.d/init.d/korv-gate"},
    {"cIniciarSquid", "/etc/rc.d/init.d/squid start"},
    {"cDetenerSquid", "/etc/rc.d/init.d/squid stop"},
    {"cReiniciarSquid", "/etc/rc.d/init.d/squid restart"},
    {"cEstadoSquid", "/var/run/squid.pid"},
    {"cEditarSquid", "%editor /etc/squid/squid.conf"},
    {"cLogSquid", "%editor /var/log/squid/access.log"},
    {"cIniciarHttpd", "/etc/rc.d/init.d/httpd start"},
    {"cDetenerHttpd", "/etc/rc.d/init.d/httpd stop"},
    {"cReiniciarHttpd", "/etc/rc.d/init.d/httpd restart"},
    {"cEstadoHttpd", "/var/run/httpd.pid"},
    {"cEditarHttpd", "%editor /etc/httpd/conf/httpd.conf"},
    {"cLogHttpd", "%editor /var/log/httpd/access_log"},
    {"cIniciarSamba", "/etc/rc.d/init.d/smb start"},
    {"cDetenerSamba", "/etc/rc.d/init.d/smb stop"},
    {"cReiniciarSamba", "/etc/rc.d/init.d/smb restart"},
    {"cEstadoSamba", "/var/lock/subsys/smb"},
    {"cEditarSamba", "htmlview http://127.0.0.1:901/"},
    {"cLogSamba", "kfmclient openProfile filemanagement /var/log/samba"},
    {"cIniciarSendmail", "/etc/rc.d/init.d/sendmail start"},
    {"cDetenerSendmail", "/etc/rc.d/init.d/sendmail stop"},
    {"cReiniciarSendmail", "/etc/rc.d/init.d/sendmail restart"},
    {"cEstadoSendmail", "/var/run/sendmail.pid"},
    {"cEditarSendmail", "%editor /etc/sendmail.cf"},
    {"cLogSendmail", "%editor /var/log/maillog"},
    {"cIniciarDns", "/etc/rc.d/init.d/named start"},
    {"cDetenerDns", "/etc/rc.d/init.d/named stop"},
    {"cReiniciarDns", "/etc/rc.d/init.d/named restart"},
    {"cEstadoDns", "/var/run/named/named.pid"},
    {"cEditarDns", "/usr/bin/bindconf"},
    {"cIniciarXinetd", "/etc/rc.d/init.d/xinetd start"},
    {"cDetenerXinetd", "/etc/rc.d/init.d/xinetd stop"},
    {"cReiniciarXinetd", "/etc/rc.d/init.d/xinetd restart"},
    {"cEstadoXinetd", "/var/run/xinetd.pid"},
    {"cEditarXinetd", "kfmclient openProfile filemanagement /etc/xinetd.d"},
    {"cLogXinetd", "%editor /var/log/secure"},
    {"cDirectorioXinetd", "/etc/xinetd.d"},
    {"cEditarFtp", "%editor /etc/ftpaccess"},
};

QStringList columna(bool claves)
{
    QStringList lista;
    lista.reserve(Ajustes::Cantidad);
    for (const Entrada &e : tabla)
        lista.append(QString::fromLatin1(claves ? e.clave : e.defecto));
    return lista;
}

QStringList &actuales()
{
    static QStringList v = Ajustes::valoresPorDefecto();
    return v;
}

int indice(const QString &clave)
{
    const int i = static_cast<int>(Ajustes::claves().indexOf(clave));
    Q_ASSERT_X(i >= 0, "Ajustes", "unknown setting key");
    return i;
}

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

QString valor(const QString &clave)
{
    const int i = indice(clave);
    return i < 0 ? QString() : actuales().at(i);
}

QString porDefecto(const QString &clave)
{
    const int i = indice(clave);
    return i < 0 ? QString() : valoresPorDefecto().at(i);
}

QStringList valores()
{
    return actuales();
}

void asignar(const QStringList &nuevos)
{
    QStringList v = nuevos.mid(0, Cantidad);
    while (v.size() < Cantidad)
        v.append(QString());
    actuales() = v;
}

QString rutaArchivo()
{
    return Host::path(QStringLiteral("/usr/local/share/talvora/conf"));
}

QStringList analizar(const QByteArray &contenido)
{
    QStringList lineas = Host::splitLines(QString::fromLocal8Bit(contenido));
    lineas = lineas.mid(0, Cantidad);
    while (lineas.size() < Cantidad)
        lineas.append(QString());
    return lineas;
}

QByteArray componer(const QStringList &valores)
{
    QString texto;
    for (int i = 0; i < Cantidad; ++i) {
        // A value is one line: a stray line break would shift every later setting.
        if (i < valores.size()) {
            QString v = valores.at(i);
            v.replace(QLatin1Char('\r'), QLatin1Char(' '));
            v.replace(QLatin1Char('\n'), QLatin1Char(' '));
            texto += v;
        }
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

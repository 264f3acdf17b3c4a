#include "mainwindow/accesos.h"

#include "mainwindow/comandos.h"
#include "platform/sistema.h"
#include "platform/texto.h"
#include "rutas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

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

// "/bin/cp --force -p" of one fixed path onto another.
QByteArray copia(const QString &desde, const QString &hacia)
{
    return "/bin/cp --force -p " + QFile::encodeName(desde) + ' ' + QFile::encodeName(hacia);
}

QString viejo(const QString &archivo) { return archivo + QStringLiteral(".viejo"); }

// The backup must hold the old file before anything replaces it.
void instalar(const Sistema &sistema, const QString &instalado, const char *nombre)
{
    sistema.ejecutar(copia(instalado, viejo(instalado)));
    sistema.lanzar(
        copia(sistema.ruta(QString::fromUtf8(Rutas::PorDefecto)) + QString::fromUtf8(nombre),
              instalado)
        + " &");
}

QString ruta(const Sistema &sistema, const char *absoluta)
{
    return sistema.ruta(QString::fromUtf8(absoluta));
}

} // namespace

std::optional<ArchivoHostsAllow> leerHostsAllow(const Sistema &sistema)
{
    const std::optional<QByteArray> contenido
        = Sistema::leerArchivo(ruta(sistema, Rutas::HostsAllow));
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

bool hayTcpWrappers(const Sistema &sistema)
{
    for (const char *tcpd : Rutas::Tcpd) {
        if (Sistema::existe(sistema.rutaBytes(tcpd)))
            return true;
    }
    for (const char *dir : Rutas::Bibliotecas) {
        const QDir bibliotecas(ruta(sistema, dir));
        QStringList donde{bibliotecas.path()};
        for (const QString &sub : bibliotecas.entryList({QStringLiteral("*-linux*")}, QDir::Dirs))
            donde << bibliotecas.filePath(sub);
        for (const QString &d : donde) {
            if (QFileInfo::exists(d + QLatin1Char('/') + QLatin1String(Rutas::Libwrap)))
                return true;
        }
    }
    return false;
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

bool guardarHostsAllow(const Sistema &sistema, const QString &editor,
                       Texto::Codificacion codificacion)
{
    const std::optional<QByteArray> bytes = bytesHostsAllow(editor, codificacion);
    return bytes && Sistema::reemplazarArchivo(ruta(sistema, Rutas::HostsAllow), *bytes);
}

bool escribirHostsDeny(const Sistema &sistema)
{
    const QString deny = ruta(sistema, Rutas::HostsDeny);
    sistema.ejecutar(copia(deny, viejo(deny)));
    return Sistema::reemplazarArchivo(deny, QByteArray(HostsDenyPorDefecto));
}

bool escribirHostsAllow(const Sistema &sistema)
{
    return Sistema::reemplazarArchivo(ruta(sistema, Rutas::HostsAllow),
                                      QByteArray(HostsAllowPorDefecto));
}

HostsAllow::HostsAllow(const Sistema &sistema, QObject *parent)
    : QObject(parent), sistema_(sistema), ruta_(ruta(sistema, Rutas::HostsAllow)),
      vigia_(new QFileSystemWatcher(this))
{
    // The directory: a save elsewhere replaces the file by a rename.
    vigia_->addPath(QFileInfo(ruta_).path());
    connect(vigia_, &QFileSystemWatcher::directoryChanged, this, &HostsAllow::notado);
    connect(vigia_, &QFileSystemWatcher::fileChanged, this, &HostsAllow::notado);
}

std::optional<ArchivoHostsAllow> HostsAllow::leer()
{
    base_ = Sistema::leerArchivo(ruta_);
    if (QFileInfo(ruta_).isFile() && !vigia_->files().contains(ruta_))
        vigia_->addPath(ruta_); // written in place
    if (!base_)
        return std::nullopt;
    return analizarHostsAllow(*base_);
}

bool HostsAllow::cambioEnDisco() const { return Sistema::leerArchivo(ruta_) != base_; }

HostsAllow::Guardado HostsAllow::guardar(const QString &editor, Texto::Codificacion codificacion,
                                         bool aunAsi)
{
    if (!aunAsi && cambioEnDisco())
        return Guardado::CambioEnDisco;
    const std::optional<QByteArray> bytes = bytesHostsAllow(editor, codificacion);
    if (!bytes || !Sistema::reemplazarArchivo(ruta_, *bytes))
        return Guardado::NoSePudo;
    base_ = bytes;
    if (!vigia_->files().contains(ruta_))
        vigia_->addPath(ruta_);
    return Guardado::Hecho;
}

void HostsAllow::notado()
{
    if (QFileInfo(ruta_).isFile() && !vigia_->files().contains(ruta_))
        vigia_->addPath(ruta_);
    if (cambioEnDisco())
        emit cambio();
}

QByteArray unidadKorvgate(const QByteArray &script)
{
    return "[Unit]\n"
           "Description=Router korv-gate (enmascaramiento con iptables)\n"
           "After=network.target\n"
           "\n"
           "[Service]\n"
           "Type=oneshot\n"
           "RemainAfterExit=yes\n"
           "ExecStart="
           + script + " start\nExecStop=" + script
           + " stop\n"
             "\n"
             "[Install]\n"
             "WantedBy=multi-user.target\n";
}

std::optional<Fallo> instalarKorvgate(const Sistema &sistema)
{
    const bool systemd = Sistema::existe(sistema.rutaBytes(Rutas::SystemdEnMarcha));
    const char *directorio = Sistema::existe(sistema.rutaBytes(Rutas::ScriptsRedHat))
                                 ? Rutas::ScriptsRedHat
                                 : Rutas::ScriptsDebian;
    // Under systemd the unit runs it, and no init-script directory need
    // exist (creating /etc/init.d would break a later chkconfig install).
    const QByteArray script
        = systemd ? QByteArray(Rutas::ScriptGate) : QByteArray(directorio) + "/korv-gate";
    if (systemd)
        QDir().mkpath(QFileInfo(ruta(sistema, script.constData())).path());
    instalar(sistema, ruta(sistema, script.constData()), "korv-gate");
    if (!systemd)
        return std::nullopt;
    // The script's own path goes in the unit: systemd runs it as it is.
    const QString unidad = ruta(sistema, Rutas::Unidades) + QStringLiteral("/korv-gate.service");
    if (Sistema::existe(QFile::encodeName(unidad)))
        sistema.ejecutar(copia(unidad, viejo(unidad)));
    if (!Sistema::reemplazarArchivo(unidad, unidadKorvgate(script)))
        return Fallo{};
    const QByteArrayList recargar{"systemctl", "daemon-reload"};
    const Sistema::Resultado r = sistema.ejecutarPrograma(recargar);
    if (r.bien())
        return std::nullopt;
    return Fallo{recargar.join(' '), r};
}

void instalarFtp(const Sistema &sistema)
{
    instalar(sistema, ruta(sistema, Rutas::Ftpaccess), "ftpaccess");
}

QByteArray comandoLogHostsDeny(const Sistema &sistema, const QByteArray &editor)
{
    return editor + ' ' + QFile::encodeName(ruta(sistema, Rutas::LogHostsDeny)) + " &";
}

} // namespace Accesos

#include "mainwindow/monitor.h"

#include "mainwindow/vigiasystemd.h"
#include "settings/ajustes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace {

// Long enough to take a rename and its neighbours as one change, short
// enough to stay well inside the time a person notices.
constexpr int Juntar = 20;

size_t indice(Servicio s) { return static_cast<size_t>(s); }

// The directory that holds a path, or the nearest one above it that
// exists: a pid file in /run/named appears once /run/named does.
QString dondeVigilar(const QString &archivo)
{
    QString dir = QFileInfo(archivo).path();
    while (!QFileInfo(dir).isDir()) {
        const QString arriba = QFileInfo(dir).path();
        if (arriba == dir)
            return {};
        dir = arriba;
    }
    return dir;
}

} // namespace

Monitor::Monitor(const Sistema &sistema, const Ajustes &ajustes, QObject *parent)
    : QObject(parent), sistema_(sistema), ajustes_(ajustes), vigia_(new QFileSystemWatcher(this)),
      juntar_(new QTimer(this))
{
    juntar_->setSingleShot(true);
    juntar_->setInterval(Juntar);
    connect(juntar_, &QTimer::timeout, this, &Monitor::revisarPendientes);
    connect(vigia_, &QFileSystemWatcher::directoryChanged, this, &Monitor::notado);
    connect(vigia_, &QFileSystemWatcher::fileChanged, this, &Monitor::notado);
    connect(&ajustes, &Ajustes::cambiados, this, &Monitor::seguirAjustes);
    seguirAjustes();
}

Monitor::~Monitor() = default;

Monitor::Fuente Monitor::fuente(Servicio servicio) const
{
    const DatosServicio &d = datos(servicio);
    if (d.archivoXinetd)
        return {
            {}, ajustes_.valor(Ajustes::Clave::cDirectorioXinetd) + '/' + d.archivoXinetd, true};
    const QByteArray ajuste = ajustes_.valor(*d.estado);
    if (const std::optional<QByteArray> unidad = Sondas::unidadSystemd(ajuste))
        return {*unidad, {}, false};
    return {{}, ajuste, false};
}

std::optional<Estado> Monitor::estado(Servicio servicio) const
{
    return estados_[indice(servicio)];
}

// New settings may name other files and units: follow those, and look again
// at every row whose source changed.
void Monitor::seguirAjustes()
{
    QByteArrayList unidades;
    for (const Servicio s : Servicios) {
        const std::optional<QByteArray> u = fuente(s).unidad;
        if (u && !unidades.contains(*u))
            unidades.append(*u);
    }
    if (unidades != unidades_) {
        unidades_ = unidades;
        if (!systemd_ && !unidades.isEmpty()) {
            systemd_ = new HiloSystemd(sistema_, this);
            connect(systemd_, &HiloSystemd::estado, this, &Monitor::desdeSystemd);
        }
        if (systemd_)
            systemd_->vigilar(unidades);
    }
    vigilarArchivos();
}

void Monitor::vigilarArchivos()
{
    QHash<QString, QSet<Servicio>> porRuta;
    for (const Servicio s : Servicios) {
        const Fuente f = fuente(s);
        if (f.unidad || f.archivo.isEmpty())
            continue;
        const QString archivo = QFile::decodeName(f.archivo);
        const QString dir = dondeVigilar(archivo);
        if (!dir.isEmpty())
            porRuta[dir].insert(s);
        // A service file edited in place changes no directory.
        if (f.xinetd && QFileInfo(archivo).isFile())
            porRuta[archivo].insert(s);
    }
    const QStringList antes = vigia_->files() + vigia_->directories();
    QStringList quitar, poner;
    for (const QString &r : antes) {
        if (!porRuta.contains(r))
            quitar.append(r);
    }
    for (auto i = porRuta.cbegin(); i != porRuta.cend(); ++i) {
        if (!antes.contains(i.key()))
            poner.append(i.key());
    }
    if (!quitar.isEmpty())
        vigia_->removePaths(quitar);
    if (!poner.isEmpty())
        vigia_->addPaths(poner);
    porRuta_ = porRuta;
}

void Monitor::notado(const QString &ruta)
{
    for (const Servicio s : porRuta_.value(ruta))
        pendientes_.insert(s);
    if (!juntar_->isActive())
        juntar_->start();
}

void Monitor::revisarPendientes()
{
    const QSet<Servicio> pendientes = std::exchange(pendientes_, {});
    // A directory made or a file replaced changes what must be watched.
    vigilarArchivos();
    for (const Servicio s : Servicios) {
        if (!pendientes.contains(s))
            continue;
        const Fuente f = fuente(s);
        if (f.unidad)
            continue;
        anotar(s, f.xinetd ? Sondas::porXinetd(f.archivo) : Sondas::porArchivo(f.archivo), false);
    }
}

void Monitor::sondear(Servicio servicio)
{
    const Fuente f = fuente(servicio);
    if (f.unidad) {
        if (systemd_)
            systemd_->consultar(*f.unidad);
        return;
    }
    anotar(servicio, f.xinetd ? Sondas::porXinetd(f.archivo) : Sondas::porArchivo(f.archivo), true);
}

void Monitor::desdeSystemd(const QByteArray &unidad, Estado estado)
{
    for (const Servicio s : Servicios) {
        if (fuente(s).unidad == std::optional<QByteArray>(unidad))
            anotar(s, estado, true);
    }
}

void Monitor::anotar(Servicio servicio, Estado estado, bool siempre)
{
    std::optional<Estado> &e = estados_[indice(servicio)];
    if (!siempre && e == estado)
        return;
    e = estado;
    emit cambio(servicio, estado);
}

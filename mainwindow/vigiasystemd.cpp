#include "mainwindow/vigiasystemd.h"

#include "rutas.h"

#include <QAtomicInteger>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QString Servicio = QStringLiteral("org.freedesktop.systemd1");
const QString RutaGestor = QStringLiteral("/org/freedesktop/systemd1");
const QString Gestor = QStringLiteral("org.freedesktop.systemd1.Manager");
const QString InterfazUnidad = QStringLiteral("org.freedesktop.systemd1.Unit");
const QString InterfazServicio = QStringLiteral("org.freedesktop.systemd1.Service");
const QString Propiedades = QStringLiteral("org.freedesktop.DBus.Properties");
// systemd answers in milliseconds; a daemon-reload on a large system may
// hold it for seconds.
constexpr int EsperaLlamada = 10000;
// After the socket reappears, it may take a moment to accept.
constexpr int Reintentos = 3;
constexpr int PausaReintento = 200;
constexpr int EsperaSaludo = 2000;
// QDBusConnection::connect takes its receiver as a slot's signature only:
// QtDBus has no overload for member-function pointers, so these stay strings.
const char *const SlotPropiedades
    = SLOT(propiedadesCambiadas(QString, QVariantMap, QStringList, QDBusMessage));

// A unix socket's D-Bus address: bytes outside the plain set go %-escaped.
QString direccion(const QString &ruta)
{
    QString d = QStringLiteral("unix:path=");
    for (const char c : QFile::encodeName(ruta)) {
        const bool llano = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
                           || (c >= '0' && c <= '9') || QByteArrayView("-_/.\\*").contains(c);
        if (llano)
            d += QLatin1Char(c);
        else
            d += QString::asprintf("%%%02x", uchar(c));
    }
    return d;
}

// Characters systemd allows in a unit name. An empty name must never reach
// it: GetUnit and LoadUnit read that as the caller's own unit.
bool nombreAceptable(const QByteArray &unidad)
{
    if (unidad.isEmpty() || unidad.size() > 255)
        return false;
    for (const char c : unidad) {
        const bool valido = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
                            || (c >= '0' && c <= '9') || QByteArrayView(":_.\\@-").contains(c);
        if (!valido)
            return false;
    }
    return true;
}

// systemctl reads a name without a unit type as a service ("squid"), and
// settings written for it may rely on that; the D-Bus API does not.
QString conTipo(const QByteArray &unidad)
{
    static const QByteArrayList tipos
        = {".service", ".socket", ".target", ".device", ".mount", ".automount",
           ".swap",    ".timer",  ".path",   ".slice",  ".scope"};
    for (const QByteArray &tipo : tipos) {
        if (unidad.endsWith(tipo))
            return QString::fromLatin1(unidad);
    }
    return QString::fromLatin1(unidad + ".service");
}

// Whether a bus answers the start of a handshake in a bounded time. Qt's
// own connection waits for it without end, holding this thread and every
// D-Bus connection of the process: a bus that accepts and then hangs must
// not leave the rows without a state.
bool busResponde(const QString &ruta)
{
    const QByteArray bytes = QFile::encodeName(ruta);
    sockaddr_un direccion{};
    direccion.sun_family = AF_UNIX;
    if (size_t(bytes.size()) >= sizeof direccion.sun_path)
        return false;
    memcpy(direccion.sun_path, bytes.constData(), bytes.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const QByteArray saludo
        = QByteArray(1, '\0') + "AUTH EXTERNAL " + QByteArray::number(geteuid()).toHex() + "\r\n";
    char respuesta[64];
    pollfd espera{fd, POLLIN, 0};
    const bool bien = ::connect(fd, reinterpret_cast<sockaddr *>(&direccion), sizeof direccion) == 0
                      && send(fd, saludo.constData(), saludo.size(), MSG_NOSIGNAL) == saludo.size()
                      && poll(&espera, 1, EsperaSaludo) == 1
                      && recv(fd, respuesta, sizeof respuesta, MSG_DONTWAIT) > 0;
    close(fd);
    return bien;
}

} // namespace

struct VigiaSystemd::Datos {
    struct Leido {
        QByteArray carga, actividad, subestado, tipo;
    };

    Datos(VigiaSystemd *q, const Sistema &sistema) : q(q), sistema(sistema) {}

    VigiaSystemd *q;
    Sistema sistema;
    QString nombreBus, nombrePares; // this object's connections
    std::optional<QDBusConnection> conexion;
    QString servicio; // systemd's name on the bus; empty on its own socket
    QByteArrayList unidades;
    QHash<QByteArray, QString> rutas; // unit → object path; empty when refused
    QSet<QString> escuchadas;         // paths whose changes reach us
    QHash<QString, Leido> propiedades;
    QHash<QByteArray, Estado> emitidos;
    bool perdida = false; // a call found the connection gone
    bool enPerdido = false;
    QFileSystemWatcher *vigilante = nullptr;
    QDBusServiceWatcher *vuelta = nullptr;
    QTimer *reintento = nullptr; // a child, to move with this object's thread
    int reintentosQuedan = 0;

    QDBusMessage llamada(const QString &ruta, const QString &interfaz, const QString &metodo) const
    {
        return QDBusMessage::createMethodCall(servicio, ruta, interfaz, metodo);
    }

    QDBusMessage llamar(const QDBusMessage &mensaje)
    {
        const QDBusMessage r = conexion->call(mensaje, QDBus::Block, EsperaLlamada);
        if (r.type() == QDBusMessage::ErrorMessage && !conexion->isConnected())
            perdida = true;
        return r;
    }

    bool suscribir()
    {
        const QDBusMessage r = llamar(llamada(RutaGestor, Gestor, QStringLiteral("Subscribe")));
        return r.type() == QDBusMessage::ReplyMessage
               || r.errorName() == QLatin1String("org.freedesktop.systemd1.AlreadySubscribed");
    }

    // systemd's own socket leaves a message that arrives in one read with
    // the end of the handshake unread until more comes: the first pings may
    // go unanswered, a later one brings both answers.
    bool despertar()
    {
        const QDBusMessage ping = QDBusMessage::createMethodCall(
            QString(), QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.Peer"),
            QStringLiteral("Ping"));
        for (int i = 0; i < 5 && conexion->isConnected(); ++i) {
            if (conexion->call(ping, QDBus::Block, 200).type() == QDBusMessage::ReplyMessage)
                return true;
        }
        return false;
    }

    // The system bus first, then systemd's own socket; systemd must be
    // running at all, as systemctl checks.
    bool conectar()
    {
        soltar();
        if (!Sistema::existe(sistema.rutaBytes(Rutas::SystemdEnMarcha)))
            return false;
        const QString bus = sistema.ruta(Rutas::BusSistema);
        if (busResponde(bus))
            conexion = QDBusConnection::connectToBus(direccion(bus), nombreBus);
        else
            conexion = QDBusConnection(nombreBus); // none by that name: not connected
        servicio = Servicio;
        if (conexion->isConnected() && suscribir()) {
            vuelta = new QDBusServiceWatcher(Servicio, *conexion,
                                             QDBusServiceWatcher::WatchForRegistration, q);
            QObject::connect(vuelta, &QDBusServiceWatcher::serviceRegistered, q,
                             &VigiaSystemd::systemdVuelve);
        } else {
            conexion.reset();
            QDBusConnection::disconnectFromBus(nombreBus);
            conexion = QDBusConnection::connectToPeer(
                direccion(sistema.ruta(Rutas::SystemdPrivado)), nombrePares);
            servicio.clear();
            if (!conexion->isConnected() || !despertar() || !suscribir()) {
                soltar();
                return false;
            }
        }
        perdida = false;
        conexion->connect(servicio, RutaGestor, Gestor, QStringLiteral("UnitNew"), q,
                          SLOT(unidadNueva(QString, QDBusObjectPath)));
        conexion->connect(servicio, RutaGestor, Gestor, QStringLiteral("Reloading"), q,
                          SLOT(recargando(bool)));
        // libdbus tells a lost connection by this local signal.
        conexion->connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                          QStringLiteral("org.freedesktop.DBus.Local"),
                          QStringLiteral("Disconnected"), q, SLOT(desconectado()));
        return true;
    }

    void soltar()
    {
        delete vuelta;
        vuelta = nullptr;
        if (conexion) {
            const bool pares = servicio.isEmpty();
            conexion.reset(); // hooks go with the connection
            if (pares)
                QDBusConnection::disconnectFromPeer(nombrePares);
            else
                QDBusConnection::disconnectFromBus(nombreBus);
        }
        escuchadas.clear();
        propiedades.clear();
        rutas.clear();
    }

    // The object path of a unit, loading it when it is not in memory. An
    // alias gives its unit's path.
    QString resolver(const QByteArray &unidad)
    {
        if (!nombreAceptable(unidad))
            return {};
        QDBusMessage m = llamada(RutaGestor, Gestor, QStringLiteral("LoadUnit"));
        m << conTipo(unidad);
        const QDBusMessage r = llamar(m);
        if (r.type() != QDBusMessage::ReplyMessage || r.arguments().isEmpty())
            return {};
        return qvariant_cast<QDBusObjectPath>(r.arguments().constFirst()).path();
    }

    // Changes are heard before the state is read, so that none falls between.
    void escuchar(const QString &ruta)
    {
        if (ruta.isEmpty() || escuchadas.contains(ruta))
            return;
        conexion->connect(servicio, ruta, Propiedades, QStringLiteral("PropertiesChanged"), q,
                          SlotPropiedades);
        escuchadas.insert(ruta);
    }

    QByteArray propiedad(const QString &ruta, const QString &interfaz, const QString &nombre,
                         bool *bien)
    {
        QDBusMessage m = llamada(ruta, Propiedades, QStringLiteral("Get"));
        m << interfaz << nombre;
        const QDBusMessage r = llamar(m);
        *bien = r.type() == QDBusMessage::ReplyMessage && !r.arguments().isEmpty();
        if (!*bien)
            return {};
        return qvariant_cast<QDBusVariant>(r.arguments().constFirst()).variant().toByteArray();
    }

    void leer(const QString &ruta)
    {
        propiedades.remove(ruta);
        if (ruta.isEmpty())
            return;
        Leido p;
        bool bien = true, b;
        p.carga = propiedad(ruta, InterfazUnidad, QStringLiteral("LoadState"), &b);
        bien &= b;
        p.actividad = propiedad(ruta, InterfazUnidad, QStringLiteral("ActiveState"), &b);
        bien &= b;
        p.subestado = propiedad(ruta, InterfazUnidad, QStringLiteral("SubState"), &b);
        bien &= b;
        // Only services have one.
        p.tipo = propiedad(ruta, InterfazServicio, QStringLiteral("Type"), &b);
        if (bien)
            propiedades.insert(ruta, p);
    }

    // A unit just loaded, read without loading it again: systemd soon drops
    // one that is unused, and a Get on its path would load it anew and bring
    // its UnitNew straight back here, for ever.
    void leerCargada(const QString &id, const QString &ruta)
    {
        QDBusMessage m = llamada(RutaGestor, Gestor, QStringLiteral("ListUnitsByPatterns"));
        m << QStringList() << QStringList{id};
        const QDBusMessage r = llamar(m);
        if (r.type() != QDBusMessage::ReplyMessage || r.arguments().isEmpty())
            return;
        const QDBusArgument lista = qvariant_cast<QDBusArgument>(r.arguments().constFirst());
        lista.beginArray();
        while (!lista.atEnd()) {
            QString nombre, descripcion, carga, actividad, subestado, sigue, tipoTrabajo;
            QDBusObjectPath objeto, trabajo;
            uint idTrabajo;
            lista.beginStructure();
            lista >> nombre >> descripcion >> carga >> actividad >> subestado >> sigue >> objeto
                >> idTrabajo >> tipoTrabajo >> trabajo;
            lista.endStructure();
            if (objeto.path() != ruta)
                continue;
            Leido &p = propiedades[ruta];
            p.carga = carga.toUtf8();
            p.actividad = actividad.toUtf8();
            p.subestado = subestado.toUtf8();
            // An active unit stays loaded: its type can be asked.
            if (p.actividad == "active") {
                bool bien;
                p.tipo = propiedad(ruta, InterfazServicio, QStringLiteral("Type"), &bien);
            }
        }
        lista.endArray();
    }

    Estado estadoDe(const QByteArray &unidad) const
    {
        const auto p = propiedades.constFind(rutas.value(unidad));
        if (!conexion || p == propiedades.cend())
            return Estado::Error;
        return Sondas::deSystemd({p->carga, p->actividad, p->subestado, p->tipo});
    }

    void emitir(const QByteArray &unidad, bool siempre)
    {
        const Estado e = estadoDe(unidad);
        const auto antes = emitidos.constFind(unidad);
        if (!siempre && antes != emitidos.cend() && *antes == e)
            return;
        emitidos.insert(unidad, e);
        emit q->estado(unidad, e);
    }

    // Every unit looked up and read again.
    void refrescar(bool siempre)
    {
        if (conexion) {
            rutas.clear();
            propiedades.clear();
            for (const QByteArray &u : std::as_const(unidades)) {
                const QString ruta = resolver(u);
                rutas.insert(u, ruta);
                escuchar(ruta);
                if (!propiedades.contains(ruta))
                    leer(ruta);
            }
            if (perdida) {
                perdido();
                return;
            }
            // Paths no longer followed stop reaching us.
            const QSet<QString> seguidas(rutas.cbegin(), rutas.cend());
            for (const QString &ruta : escuchadas - seguidas) {
                conexion->disconnect(servicio, ruta, Propiedades,
                                     QStringLiteral("PropertiesChanged"), q, SlotPropiedades);
                escuchadas.remove(ruta);
            }
        }
        for (const QByteArray &u : std::as_const(unidades))
            emitir(u, siempre);
    }

    // The connection is gone (the bus or systemd restarted): connect again
    // now or, failing that, say Error and wait for a socket to reappear.
    void perdido()
    {
        // Once: a connection lost again at once is not chased round.
        if (!enPerdido && conectar()) {
            enPerdido = true;
            refrescar(false);
            enPerdido = false;
            if (conexion)
                return;
        }
        soltar();
        for (const QByteArray &u : std::as_const(unidades))
            emitir(u, false);
        esperarSocket();
    }

    // Nothing polls: the sockets' directories tell when one comes back.
    void esperarSocket()
    {
        if (vigilante || !Sistema::existe(sistema.rutaBytes(Rutas::SystemdEnMarcha)))
            return;
        vigilante = new QFileSystemWatcher(q);
        for (const char *socket : {Rutas::BusSistema, Rutas::SystemdPrivado}) {
            const QString dir = QFileInfo(sistema.ruta(socket)).absolutePath();
            if (QFileInfo::exists(dir))
                vigilante->addPath(dir);
        }
        QObject::connect(vigilante, &QFileSystemWatcher::directoryChanged, q, [this] {
            reintentosQuedan = Reintentos;
            q->reintentar();
        });
    }

    void dejarDeEsperar()
    {
        delete vigilante;
        vigilante = nullptr;
        reintento->stop();
    }
};

VigiaSystemd::VigiaSystemd(const Sistema &sistema, QObject *parent)
    : QObject(parent), d(new Datos(this, sistema))
{
    static QAtomicInteger<quint64> cuenta;
    const QString nombre = QStringLiteral("talvora-vigia-%1").arg(cuenta.fetchAndAddRelaxed(1));
    d->nombreBus = nombre + QStringLiteral("-bus");
    d->nombrePares = nombre + QStringLiteral("-pares");
    d->reintento = new QTimer(this);
    d->reintento->setSingleShot(true);
    connect(d->reintento, &QTimer::timeout, this, &VigiaSystemd::reintentar);
}

VigiaSystemd::~VigiaSystemd()
{
    d->soltar();
    delete d;
}

void VigiaSystemd::vigilar(const QByteArrayList &unidades)
{
    d->unidades.clear();
    for (const QByteArray &u : unidades) {
        if (!d->unidades.contains(u))
            d->unidades.append(u);
    }
    d->emitidos.clear();
    if (d->conexion || d->conectar())
        d->dejarDeEsperar();
    else
        d->esperarSocket();
    d->refrescar(true);
}

void VigiaSystemd::consultar(const QByteArray &unidad)
{
    if (!d->conexion && d->conectar())
        d->dejarDeEsperar();
    if (d->conexion) {
        const QString ruta = d->resolver(unidad);
        if (d->perdida) {
            d->perdido();
        } else if (d->unidades.contains(unidad)) {
            d->rutas.insert(unidad, ruta);
            d->escuchar(ruta);
            d->leer(ruta);
        } else {
            // Not followed: answered once.
            d->leer(ruta);
            Estado e = Estado::Error;
            const auto p = d->propiedades.constFind(ruta);
            if (p != d->propiedades.cend())
                e = Sondas::deSystemd({p->carga, p->actividad, p->subestado, p->tipo});
            if (!d->escuchadas.contains(ruta))
                d->propiedades.remove(ruta);
            emit estado(unidad, e);
            return;
        }
    }
    d->emitir(unidad, true);
}

void VigiaSystemd::unidadNueva(const QString &id, const QDBusObjectPath &ruta)
{
    // A unit loaded anew: one that was missing, or unloaded while unused.
    bool nuestra = false;
    for (const QByteArray &u : std::as_const(d->unidades)) {
        if (d->rutas.value(u) == ruta.path()
            || (d->rutas.value(u).isEmpty() && nombreAceptable(u) && conTipo(u) == id)) {
            d->rutas.insert(u, ruta.path());
            nuestra = true;
        }
    }
    if (!nuestra)
        return;
    d->escuchar(ruta.path());
    d->leerCargada(id, ruta.path());
    if (d->perdida)
        return d->perdido();
    for (const QByteArray &u : std::as_const(d->unidades)) {
        if (d->rutas.value(u) == ruta.path())
            d->emitir(u, false);
    }
}

void VigiaSystemd::recargando(bool empieza)
{
    // After a reload a unit may exist, be gone, or have become an alias.
    if (!empieza)
        d->refrescar(false);
}

void VigiaSystemd::propiedadesCambiadas(const QString &interfaz, const QVariantMap &cambios,
                                        const QStringList &invalidadas, const QDBusMessage &mensaje)
{
    if (interfaz != InterfazUnidad)
        return;
    const QString ruta = mensaje.path();
    auto p = d->propiedades.find(ruta);
    // A unit that was missing may have been loaded in place, and its load
    // state is not sent: changing, it stays loaded while it is read.
    if (p == d->propiedades.end() || (p->carga != "loaded" && p->carga != "masked")
        || invalidadas.contains(QLatin1String("ActiveState"))
        || invalidadas.contains(QLatin1String("SubState"))) {
        d->leer(ruta);
        if (d->perdida)
            return d->perdido();
    } else {
        const auto valor = [&](const char *nombre, QByteArray &campo) {
            const auto v = cambios.constFind(QLatin1String(nombre));
            if (v != cambios.cend())
                campo = v->toByteArray();
        };
        valor("ActiveState", p->actividad);
        valor("SubState", p->subestado);
        valor("LoadState", p->carga);
    }
    for (const QByteArray &u : std::as_const(d->unidades)) {
        if (d->rutas.value(u) == ruta)
            d->emitir(u, false);
    }
}

void VigiaSystemd::systemdVuelve()
{
    // systemd re-executed, or the bus restarted: its subscription is ours to renew.
    if (!d->conexion)
        return;
    d->suscribir();
    d->refrescar(false);
}

void VigiaSystemd::desconectado()
{
    if (d->conexion)
        d->perdido();
}

void VigiaSystemd::reintentar()
{
    if (d->conexion)
        return;
    if (d->conectar()) {
        d->dejarDeEsperar();
        d->refrescar(false);
    } else if (d->reintentosQuedan-- > 0) {
        d->reintento->start(PausaReintento);
    }
}

struct HiloSystemd::Datos {
    QThread *hilo;
    VigiaSystemd *vigia;
};

HiloSystemd::HiloSystemd(const Sistema &sistema, QObject *parent)
    : QObject(parent), d(new Datos{new QThread, new VigiaSystemd(sistema)})
{
    // Neither has a parent: both may outlive this object (see the destructor).
    d->hilo->setObjectName(QStringLiteral("systemd"));
    d->vigia->moveToThread(d->hilo);
    connect(d->hilo, &QThread::finished, d->vigia, &QObject::deleteLater);
    connect(d->hilo, &QThread::finished, d->hilo, &QObject::deleteLater);
    connect(d->vigia, &VigiaSystemd::estado, this, &HiloSystemd::estado);
    d->hilo->start();
}

HiloSystemd::~HiloSystemd()
{
    disconnect(d->vigia, nullptr, this, nullptr);
    d->hilo->quit();
    // A call waiting on a hung systemd is left to time out; the thread then
    // ends, deleting the watcher, and the thread object follows in its
    // owner's event loop. Destroying a running QThread would abort.
    if (d->hilo->wait(QDeadlineTimer(300)))
        delete d->hilo;
    delete d;
}

void HiloSystemd::vigilar(const QByteArrayList &unidades)
{
    QMetaObject::invokeMethod(
        d->vigia, [v = d->vigia, unidades] { v->vigilar(unidades); }, Qt::QueuedConnection);
}

void HiloSystemd::consultar(const QByteArray &unidad)
{
    QMetaObject::invokeMethod(
        d->vigia, [v = d->vigia, unidad] { v->consultar(unidad); }, Qt::QueuedConnection);
}

#include "platform/sistema.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// What is kept of a command's standard error, and passed on to ours: its
// end, where the reason for a failure is.
constexpr qint64 ColaDeErrores = 64 * 1024;

// An unlinked file for a child's output. Unlike a pipe, a daemon that keeps
// it after we are gone never blocks on it nor dies writing to it, and
// nothing has to read it while the child runs.
int archivoTemporal()
{
    const QByteArray dir = QFile::encodeName(QDir::tempPath());
    int fd = ::open(dir.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    QByteArray plantilla = dir + "/talvora-XXXXXX";
    fd = ::mkostemp(plantilla.data(), O_CLOEXEC);
    if (fd >= 0) {
        ::unlink(plantilla.constData());
        return fd;
    }
    // A TMPDIR that is missing or full must not stop every command.
    return ::memfd_create("talvora", MFD_CLOEXEC);
}

// Bytes [desde, hasta) of an open file.
QByteArray leerTramo(int fd, qint64 desde, qint64 hasta)
{
    QByteArray datos;
    datos.resize(qsizetype(hasta - desde));
    qsizetype leidos = 0;
    while (leidos < datos.size()) {
        const ssize_t n
            = ::pread(fd, datos.data() + leidos, size_t(datos.size() - leidos), desde + leidos);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        leidos += n;
    }
    datos.truncate(leidos);
    return datos;
}

qint64 largo(int fd)
{
    struct stat st {
    };
    return ::fstat(fd, &st) == 0 ? qint64(st.st_size) : 0;
}

// Passes bytes on to one of our streams. A closed reader (EPIPE: SIGPIPE is
// ignored, see prepararPrograma) or a reader that stopped reading for a
// second drops the rest: nothing here may block or end the program.
void pasar(int destino, const char *datos, qint64 n)
{
    while (n > 0) {
        pollfd p{destino, POLLOUT, 0};
        const int listo = ::poll(&p, 1, 1000);
        if (listo < 0 && errno == EINTR)
            continue;
        // A pipe whose reader is gone says so here, before any write.
        if (listo <= 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL)) || !(p.revents & POLLOUT))
            return;
        // No more than a pipe takes at once when poll says it has room.
        const ssize_t escrito = ::write(destino, datos, size_t(qMin<qint64>(n, PIPE_BUF)));
        if (escrito < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (escrito <= 0)
            return;
        datos += escrito;
        n -= escrito;
    }
}

// A whole file on to one of our streams, a block at a time.
void pasarArchivo(int fd, int destino)
{
    constexpr qint64 Bloque = 64 * 1024;
    const qint64 fin = largo(fd);
    for (qint64 desde = 0; desde < fin; desde += Bloque) {
        const QByteArray trozo = leerTramo(fd, desde, qMin(fin, desde + Bloque));
        if (trozo.isEmpty())
            return;
        pasar(destino, trozo.constData(), trozo.size());
    }
}

// The end of what a command wrote to standard error, from its first whole
// line when the start was cut.
QByteArray cola(int fd)
{
    const qint64 fin = largo(fd);
    const qint64 desde = qMax<qint64>(0, fin - ColaDeErrores);
    QByteArray datos = leerTramo(fd, desde, fin);
    if (desde > 0) {
        const qsizetype salto = datos.indexOf('\n');
        datos.remove(0, salto < 0 ? 0 : salto + 1);
    }
    return datos;
}

// fork/exec with standard error, and standard output, in unlinked files;
// waits for the child itself (not what it left in the background), then
// reads them. Standard output is captured whole for a program, passed on to
// ours for a shell line.
Sistema::Resultado correr(const char *programa, const QByteArrayList &argv, bool capturarSalida)
{
    Sistema::Resultado r;
    QByteArrayList copia = argv;
    std::vector<char *> punteros;
    for (QByteArray &b : copia)
        punteros.push_back(b.data());
    punteros.push_back(nullptr);

    const int errores = archivoTemporal(), salida = archivoTemporal();
    int fallo[2] = {-1, -1};
    if (errores < 0 || salida < 0 || ::pipe2(fallo, O_CLOEXEC) != 0) {
        for (int fd : {errores, salida, fallo[0], fallo[1]})
            if (fd >= 0)
                ::close(fd);
        r.estado = 126;
        r.errores = "talvora: no se pudo crear un archivo temporal\n";
        return r;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        // What the program ignores, or blocks in some thread, its commands
        // must not: a pipeline's "head" would not end its writer.
        ::signal(SIGPIPE, SIG_DFL);
        sigset_t ninguna;
        ::sigemptyset(&ninguna);
        ::sigprocmask(SIG_SETMASK, &ninguna, nullptr);
        ::dup2(errores, STDERR_FILENO);
        ::dup2(salida, STDOUT_FILENO);
        ::execvp(programa, punteros.data());
        const int e = errno;
        (void)!::write(fallo[1], &e, sizeof e);
        ::_exit(127);
    }
    ::close(fallo[1]);
    if (pid < 0) {
        for (int fd : {errores, salida, fallo[0]})
            ::close(fd);
        r.estado = 126;
        r.errores = "talvora: no se pudo crear un proceso\n";
        return r;
    }

    int estado = 0;
    pid_t fin;
    while ((fin = ::waitpid(pid, &estado, 0)) < 0 && errno == EINTR) {
    }
    r.errores = cola(errores);
    pasar(STDERR_FILENO, r.errores.constData(), r.errores.size());
    if (capturarSalida)
        r.salida = leerTramo(salida, 0, largo(salida));
    else
        pasarArchivo(salida, STDOUT_FILENO);
    ::close(errores);
    ::close(salida);

    int errorDeExec = 0;
    const bool noArranco = ::read(fallo[0], &errorDeExec, sizeof errorDeExec) == sizeof errorDeExec;
    ::close(fallo[0]);
    if (noArranco) {
        r.estado = errorDeExec == ENOENT ? 127 : 126;
        r.errores += argv.first() + ": "
                     + (errorDeExec == ENOENT ? "no se encontro el programa"
                                              : "no se puede ejecutar el programa")
                     + '\n';
    } else if (fin < 0) {
        r.estado = 126;
    } else {
        r.senal = WIFSIGNALED(estado);
        r.estado = WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
    }
    return r;
}

// Copies every extended attribute of the file at 'origen' onto the open
// descriptor 'fd'. On SELinux hosts this carries security.selinux; POSIX
// ACLs travel as system.posix_acl_access.
bool copiarAtributos(const QByteArray &origen, int fd)
{
    ssize_t largo = listxattr(origen.constData(), nullptr, 0);
    if (largo < 0)
        return errno == ENOTSUP;
    if (largo == 0)
        return true;
    std::vector<char> nombres(static_cast<size_t>(largo));
    largo = listxattr(origen.constData(), nombres.data(), nombres.size());
    if (largo < 0)
        return false;
    for (ssize_t i = 0; i < largo;) {
        const char *nombre = nombres.data() + i;
        i += static_cast<ssize_t>(strlen(nombre)) + 1;
        ssize_t n = getxattr(origen.constData(), nombre, nullptr, 0);
        if (n < 0)
            return false;
        std::vector<char> valor(static_cast<size_t>(n) + 1);
        n = getxattr(origen.constData(), nombre, valor.data(), valor.size());
        if (n < 0)
            return false;
        if (fsetxattr(fd, nombre, valor.data(), static_cast<size_t>(n), 0) != 0)
            return false;
    }
    return true;
}

// Where a write to 'ruta' lands: a symbolic link is followed, so that the
// link itself stays; a dangling one names the file to create.
QByteArray dondeCae(const QByteArray &ruta)
{
    struct stat st {
    };
    if (::lstat(ruta.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return ruta;
    if (char *real = ::realpath(ruta.constData(), nullptr)) {
        const QByteArray canonica(real);
        std::free(real);
        return canonica;
    }
    std::vector<char> bloque(PATH_MAX);
    const ssize_t n = ::readlink(ruta.constData(), bloque.data(), bloque.size());
    if (n <= 0 || static_cast<size_t>(n) >= bloque.size())
        return ruta;
    const QByteArray enlace(bloque.data(), n);
    if (enlace.startsWith('/'))
        return enlace;
    const qsizetype barra = ruta.lastIndexOf('/');
    return barra < 0 ? enlace : ruta.left(barra + 1) + enlace;
}

} // namespace

Sistema::Sistema(const QString &raiz, Ejecutor ejecutor) : ejecutor_(std::move(ejecutor))
{
    raiz_ = raiz;
    while (raiz_.endsWith(QLatin1Char('/')))
        raiz_.chop(1);
}

QString Sistema::ruta(const QString &absoluta) const
{
    return raiz_.isEmpty() ? absoluta : raiz_ + absoluta;
}

QByteArray Sistema::rutaBytes(const char *absoluta) const
{
    return QFile::encodeName(ruta(QString::fromUtf8(absoluta)));
}

Sistema::Resultado Sistema::ejecutar(const QByteArray &linea) const
{
    if (ejecutor_)
        return ejecutor_(Forma::Shell, {linea});
    // As system() runs it, so that the shell names itself as it would there.
    return correr("/bin/sh", {"sh", "-c", linea}, false);
}

namespace {
bool noArranco(const Sistema::Resultado &r)
{
    return !r.senal && (r.estado == 127 || r.estado == 126);
}
} // namespace

void Sistema::lanzar(const QByteArray &linea, AlFallar siNoArranca) const
{
    if (ejecutor_) {
        const Resultado r = ejecutor_(Forma::Fondo, {linea});
        if (siNoArranca && noArranco(r))
            siNoArranca(r);
        return;
    }
    // The line runs in the foreground of its own shell, which a thread waits
    // for: a command that is not found ends it at once with 127, while an
    // editor keeps it until the editor ends, long after anything is told.
    // Not system(): the shell must get SIGPIPE back, and whatever it leaves
    // behind must not hold our streams.
    QByteArray primerPlano = linea.trimmed();
    if (primerPlano.endsWith('&') && !primerPlano.endsWith("&&"))
        primerPlano.chop(1);
    std::thread([primerPlano, siNoArranca = std::move(siNoArranca)] {
        const auto inicio = std::chrono::steady_clock::now();
        const Resultado r = correr("/bin/sh", {"sh", "-c", primerPlano}, false);
        if (siNoArranca && noArranco(r)
            && std::chrono::steady_clock::now() - inicio < std::chrono::seconds(5))
            siNoArranca(r);
    }).detach();
}

void Sistema::prepararPrograma() { ::signal(SIGPIPE, SIG_IGN); }

Sistema::Resultado Sistema::ejecutarPrograma(const QByteArrayList &argv) const
{
    if (ejecutor_)
        return ejecutor_(Forma::Programa, argv);
    if (argv.isEmpty() || argv.first().isEmpty())
        return Resultado{127, false, {}, "talvora: orden vacia\n"};
    return correr(argv.first().constData(), argv, true);
}

bool Sistema::existe(const QByteArray &ruta)
{
    // No file name holds a NUL; the C string would name another file.
    struct stat st {
    };
    return !ruta.isEmpty() && !ruta.contains('\0') && ::stat(ruta.constData(), &st) == 0;
}

std::optional<QByteArray> Sistema::leerArchivo(const QString &ruta)
{
    return leerArchivo(QFile::encodeName(ruta));
}

std::optional<QByteArray> Sistema::leerArchivo(const QByteArray &ruta)
{
    if (ruta.contains('\0'))
        return std::nullopt;
    const int fd = ::open(ruta.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    // Sized once from the file and read straight into place: a firewall
    // snapshot runs to megabytes. One byte more, so that the read that finds
    // the end needs no room; a file that says 0 (under /proc) grows as read.
    struct stat st {
    };
    QByteArray datos;
    datos.resize(::fstat(fd, &st) == 0 && st.st_size > 0 ? qsizetype(st.st_size) + 1 : 65536);
    qsizetype leidos = 0;
    for (;;) {
        if (leidos == datos.size())
            datos.resize(2 * datos.size());
        const ssize_t n = ::read(fd, datos.data() + leidos, size_t(datos.size() - leidos));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            if (n < 0)
                return std::nullopt;
            datos.truncate(leidos);
            return datos;
        }
        leidos += n;
    }
}

bool Sistema::reemplazarArchivo(const QString &ruta, const QByteArray &datos)
{
    return reemplazarArchivo(QFile::encodeName(ruta), datos);
}

bool Sistema::reemplazarArchivo(const QByteArray &ruta, const QByteArray &datos)
{
    if (ruta.isEmpty() || ruta.contains('\0'))
        return false;
    const QByteArray destino = dondeCae(ruta);

    struct stat viejo {
    };
    const bool existia = ::stat(destino.constData(), &viejo) == 0;
    if (existia && !S_ISREG(viejo.st_mode))
        return false;

    // Beside the target, so that the rename stays on one file system. 0666:
    // a new file gets the umask's mode, as any program's would.
    QByteArray temporal;
    int fd = -1;
    for (int intento = 0; fd < 0 && intento < 100; ++intento) {
        temporal = destino + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(temporal.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;

    // A short write (file size limit, full disk) must fail the whole save.
    bool bien = true;
    for (qsizetype hecho = 0; bien && hecho < datos.size();) {
        const ssize_t n
            = ::write(fd, datos.constData() + hecho, static_cast<size_t>(datos.size() - hecho));
        if (n < 0 && errno == EINTR)
            continue;
        bien = n > 0;
        hecho += bien ? n : 0;
    }
    // After the data: a write may drop set-id bits and file capabilities.
    if (bien && existia)
        bien = fchown(fd, viejo.st_uid, viejo.st_gid) == 0 && fchmod(fd, viejo.st_mode & 07777) == 0
               && copiarAtributos(destino, fd);
    bien = bien && ::fsync(fd) == 0;
    bien = ::close(fd) == 0 && bien;
    bien = bien && ::rename(temporal.constData(), destino.constData()) == 0;
    if (!bien)
        ::unlink(temporal.constData());
    return bien;
}

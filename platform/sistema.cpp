#include "platform/sistema.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Reads what is there without waiting. False once the other end is closed
// by everyone (end of file) or on an error.
bool leerDisponible(int fd, QByteArray &destino, int copia)
{
    char bloque[4096];
    for (;;) {
        const ssize_t n = ::read(fd, bloque, sizeof bloque);
        if (n > 0) {
            destino.append(bloque, n);
            if (copia >= 0)
                (void)!::write(copia, bloque, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && errno == EAGAIN;
    }
}

// A daemon started by the command may still hold the pipe: what it writes
// goes on to our own stream for as long as it keeps it, so it never blocks
// on a full pipe nor dies of a closed one while we run.
void seguirCopiando(int fd, int copia)
{
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    try {
        std::thread([fd, copia] {
            char bloque[4096];
            ssize_t n;
            while ((n = ::read(fd, bloque, sizeof bloque)) > 0 || (n < 0 && errno == EINTR)) {
                if (n > 0)
                    (void)!::write(copia, bloque, static_cast<size_t>(n));
            }
            ::close(fd);
        }).detach();
    } catch (const std::system_error &) {
        ::close(fd);
    }
}

// fork/exec with standard error, and standard output if asked, in pipes that
// are read while the child runs. Returns once the child itself has ended.
Sistema::Resultado correr(const char *programa, const QByteArrayList &argv, bool capturarSalida)
{
    Sistema::Resultado r;
    QByteArrayList copia = argv;
    std::vector<char *> punteros;
    for (QByteArray &b : copia)
        punteros.push_back(b.data());
    punteros.push_back(nullptr);

    int errores[2] = {-1, -1}, salida[2] = {-1, -1}, fallo[2] = {-1, -1};
    if (::pipe2(errores, O_CLOEXEC) != 0 || ::pipe2(fallo, O_CLOEXEC) != 0
        || (capturarSalida && ::pipe2(salida, O_CLOEXEC) != 0)) {
        for (int fd : {errores[0], errores[1], salida[0], salida[1], fallo[0], fallo[1]})
            if (fd >= 0)
                ::close(fd);
        r.estado = 126;
        r.errores = "talvora: no se pudo crear una tuberia\n";
        return r;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(errores[1], STDERR_FILENO);
        if (capturarSalida)
            ::dup2(salida[1], STDOUT_FILENO);
        ::execvp(programa, punteros.data());
        const int e = errno;
        (void)!::write(fallo[1], &e, sizeof e);
        ::_exit(127);
    }
    for (int fd : {errores[1], salida[1], fallo[1]})
        if (fd >= 0)
            ::close(fd);
    if (pid < 0) {
        for (int fd : {errores[0], salida[0], fallo[0]})
            if (fd >= 0)
                ::close(fd);
        r.estado = 126;
        r.errores = "talvora: no se pudo crear un proceso\n";
        return r;
    }
    for (int fd : {errores[0], salida[0]})
        if (fd >= 0)
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);

    bool abiertoErrores = true, abiertoSalida = capturarSalida;
    int estado = 0;
    for (;;) {
        pollfd fds[2] = {{errores[0], POLLIN, 0}, {salida[0], POLLIN, 0}};
        ::poll(fds, abiertoSalida ? 2 : 1, 10);
        if (abiertoErrores)
            abiertoErrores = leerDisponible(errores[0], r.errores, STDERR_FILENO);
        if (abiertoSalida)
            abiertoSalida = leerDisponible(salida[0], r.salida, -1);
        const pid_t fin = ::waitpid(pid, &estado, abiertoErrores || abiertoSalida ? WNOHANG : 0);
        if (fin == pid)
            break;
        if (fin < 0 && errno != EINTR) {
            estado = -1;
            break;
        }
    }
    // What the child wrote just before it ended.
    if (abiertoErrores)
        abiertoErrores = leerDisponible(errores[0], r.errores, STDERR_FILENO);
    if (abiertoSalida)
        abiertoSalida = leerDisponible(salida[0], r.salida, -1);
    abiertoErrores ? seguirCopiando(errores[0], STDERR_FILENO) : (void)::close(errores[0]);
    if (capturarSalida)
        abiertoSalida ? seguirCopiando(salida[0], STDOUT_FILENO) : (void)::close(salida[0]);

    int errorDeExec = 0;
    const bool noArranco = ::read(fallo[0], &errorDeExec, sizeof errorDeExec) == sizeof errorDeExec;
    ::close(fallo[0]);
    if (noArranco) {
        r.estado = errorDeExec == ENOENT ? 127 : 126;
        r.errores += argv.first() + ": "
                     + (errorDeExec == ENOENT ? "no se encontro el programa"
                                              : "no se puede ejecutar el programa")
                     + '\n';
    } else if (estado < 0) {
        r.estado = 126;
    } else {
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

void Sistema::lanzar(const QByteArray &linea) const
{
    if (ejecutor_) {
        ejecutor_(Forma::Fondo, {linea});
        return;
    }
    (void)!std::system(linea.constData());
}

Sistema::Resultado Sistema::ejecutarPrograma(const QByteArrayList &argv) const
{
    if (ejecutor_)
        return ejecutor_(Forma::Programa, argv);
    if (argv.isEmpty() || argv.first().isEmpty())
        return Resultado{127, {}, "talvora: orden vacia\n"};
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

#include "platform/host.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

QString &rootDir()
{
    static QString root;
    return root;
}

Host::Runner &shellRunner()
{
    static Host::Runner runner;
    return runner;
}

Host::ArgvRunner &argvRunner()
{
    static Host::ArgvRunner runner;
    return runner;
}

int forkExec(const QByteArrayList &argv)
{
    if (argv.isEmpty())
        return -1;
    QByteArrayList bytes = argv;
    std::vector<char *> args;
    for (QByteArray &b : bytes)
        args.push_back(b.data());
    args.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Copies every extended attribute of the file at 'from' onto the open
// descriptor 'fd'. On SELinux hosts this carries security.selinux; POSIX
// ACLs travel as system.posix_acl_access.
bool copyXattrs(const QByteArray &from, int fd)
{
    ssize_t size = listxattr(from.constData(), nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP;
    if (size == 0)
        return true;
    std::vector<char> names(static_cast<size_t>(size));
    size = listxattr(from.constData(), names.data(), names.size());
    if (size < 0)
        return false;
    for (ssize_t i = 0; i < size;) {
        const char *name = names.data() + i;
        i += static_cast<ssize_t>(strlen(name)) + 1;
        ssize_t len = getxattr(from.constData(), name, nullptr, 0);
        if (len < 0)
            return false;
        std::vector<char> value(static_cast<size_t>(len) + 1);
        len = getxattr(from.constData(), name, value.data(), value.size());
        if (len < 0)
            return false;
        if (fsetxattr(fd, name, value.data(), static_cast<size_t>(len), 0) != 0)
            return false;
    }
    return true;
}

// Where a write to 'path' lands: a symbolic link is followed, so that the
// link itself stays; a dangling one names the file to create.
QByteArray whereItLands(const QByteArray &path)
{
    struct stat st {
    };
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    if (char *real = ::realpath(path.constData(), nullptr)) {
        const QByteArray canonical(real);
        std::free(real);
        return canonical;
    }
    std::vector<char> buffer(PATH_MAX);
    const ssize_t n = ::readlink(path.constData(), buffer.data(), buffer.size());
    if (n <= 0 || static_cast<size_t>(n) >= buffer.size())
        return path;
    const QByteArray link(buffer.data(), n);
    if (link.startsWith('/'))
        return link;
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? link : path.left(slash + 1) + link;
}

} // namespace

namespace Host {

QString path(const QString &absolute)
{
    const QString &root = rootDir();
    if (root.isEmpty())
        return absolute;
    return root + absolute;
}

int run(const QByteArray &command)
{
    if (shellRunner())
        return shellRunner()(command);
    return std::system(command.constData());
}

int runArgv(const QByteArrayList &argv)
{
    if (argvRunner())
        return argvRunner()(argv);
    return forkExec(argv);
}

bool exists(const QByteArray &path)
{
    // No file name holds a NUL; the C string would name another file.
    struct stat st {
    };
    return !path.isEmpty() && !path.contains('\0') && ::stat(path.constData(), &st) == 0;
}

std::optional<QByteArray> readFile(const QByteArray &path)
{
    if (path.contains('\0'))
        return std::nullopt;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QByteArray data;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            return n == 0 ? std::optional<QByteArray>(data) : std::nullopt;
        }
        data.append(buffer, n);
    }
}

bool replaceFile(const QString &filePath, const QByteArray &data)
{
    return replaceFile(QFile::encodeName(filePath), data);
}

bool replaceFile(const QByteArray &filePath, const QByteArray &data)
{
    if (filePath.isEmpty() || filePath.contains('\0'))
        return false;
    const QByteArray target = whereItLands(filePath);

    struct stat old {
    };
    const bool existed = ::stat(target.constData(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode))
        return false;

    // Beside the target, so that the rename stays on one file system. 0666:
    // a new file gets the umask's mode, as any program's would.
    QByteArray temporary;
    int fd = -1;
    for (int intento = 0; fd < 0 && intento < 100; ++intento) {
        temporary = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;

    // A short write (file size limit, full disk) must fail the whole save.
    bool ok = true;
    for (qsizetype hecho = 0; ok && hecho < data.size();) {
        const ssize_t n
            = ::write(fd, data.constData() + hecho, static_cast<size_t>(data.size() - hecho));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        hecho += ok ? n : 0;
    }
    // After the data: a write may drop set-id bits and file capabilities.
    if (ok && existed)
        ok = fchown(fd, old.st_uid, old.st_gid) == 0 && fchmod(fd, old.st_mode & 07777) == 0
             && copyXattrs(target, fd);
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), target.constData()) == 0;
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

void setRoot(const QString &root)
{
    QString r = root;
    while (r.endsWith(QLatin1Char('/')))
        r.chop(1);
    rootDir() = r;
}

void setRunner(Runner runner) { shellRunner() = std::move(runner); }

void setArgvRunner(ArgvRunner runner) { argvRunner() = std::move(runner); }

} // namespace Host

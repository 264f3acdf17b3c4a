#include "platform/host.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdlib>
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

int forkExec(const QStringList &argv)
{
    if (argv.isEmpty())
        return -1;
    std::vector<QByteArray> bytes;
    bytes.reserve(argv.size());
    for (const QString &a : argv)
        bytes.push_back(a.toLocal8Bit());
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

} // namespace

namespace Host {

QString path(const QString &absolute)
{
    const QString &root = rootDir();
    if (root.isEmpty())
        return absolute;
    return root + absolute;
}

int run(const QString &command)
{
    if (shellRunner())
        return shellRunner()(command);
    return std::system(command.toLocal8Bit().constData());
}

int runArgv(const QStringList &argv)
{
    if (argvRunner())
        return argvRunner()(argv);
    return forkExec(argv);
}

bool replaceFile(const QString &filePath, const QByteArray &data)
{
    // Write where the link points, so that the link itself stays.
    QString target = filePath;
    QFileInfo info(filePath);
    if (info.isSymLink()) {
        const QString canonical = info.canonicalFilePath();
        target = canonical.isEmpty() ? info.symLinkTarget() : canonical;
    }
    const QByteArray targetBytes = QFile::encodeName(target);

    struct stat old {
    };
    const bool existed = ::stat(targetBytes.constData(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode))
        return false;

    // Unbuffered: a short write (file size limit, full disk) shows here;
    // a buffered one would only fail in commit's flush, which is not checked.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(data) != data.size() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    // After the data: a write may drop set-id bits and file capabilities.
    if (existed) {
        const int fd = file.handle();
        if (fchown(fd, old.st_uid, old.st_gid) != 0 || fchmod(fd, old.st_mode & 07777) != 0
            || !copyXattrs(targetBytes, fd)) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
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

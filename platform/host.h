#ifndef TALVORA_HOST_H
#define TALVORA_HOST_H

// The one seam between Talvora and the machine it runs on: fixed paths,
// command execution and the safe replacement of system files. The program
// always uses "/" and system(); the tests redirect both.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace Host {

// Maps a fixed absolute path ("/etc/hosts.allow") under the current root.
QString path(const QString &absolute);

// Runs a shell command line with system(), blocking until the shell returns.
// The bytes go to the shell as they are: a setting or a rule read in some
// 8-bit encoding must name the same files when it runs. Returns system()'s
// value (callers ignore it).
int run(const QByteArray &command);

// Runs a program with an argument vector, without any shell, and waits for it.
// argv[0] is looked up in PATH. Returns the exit status, or -1 if it could
// not be started.
int runArgv(const QByteArrayList &argv);

// Whether something exists at exactly these bytes (a directory too).
bool exists(const QByteArray &path);

// Replaces a file's contents atomically: the data goes to a temporary file
// in the same directory, which takes the old file's mode, owner, group and
// extended attributes and is then renamed over it. A symbolic link is
// followed and stays a link. On any failure the old file is left whole and
// false is returned. The QByteArray path is taken byte for byte (a path
// read from a file in any encoding); the QString one is encoded as Qt does.
bool replaceFile(const QString &path, const QByteArray &data);
bool replaceFile(const QByteArray &path, const QByteArray &data);

// A whole file by the exact bytes of its path; nothing when it cannot be read.
std::optional<QByteArray> readFile(const QByteArray &path);

// Test hooks. The program never calls these.
using Runner = std::function<int(const QByteArray &)>;
using ArgvRunner = std::function<int(const QByteArrayList &)>;
void setRoot(const QString &root);     // "" or "/" restores the real root
void setRunner(Runner runner);         // empty restores system()
void setArgvRunner(ArgvRunner runner); // empty restores fork/exec

} // namespace Host

#endif

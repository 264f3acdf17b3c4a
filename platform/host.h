#ifndef TALVORA_HOST_H
#define TALVORA_HOST_H

// The one seam between Talvora and the machine it runs on: fixed paths,
// command execution and the safe replacement of system files. The program
// always uses "/" and system(); the tests redirect both.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace Host {

// Maps a fixed absolute path ("/etc/hosts.allow") under the current root.
QString path(const QString &absolute);

// Runs a shell command line with system(), in the locale's 8-bit encoding,
// blocking until the shell returns. Returns system()'s value (callers ignore it).
int run(const QString &command);

// Runs a program with an argument vector, without any shell, and waits for it.
// argv[0] is looked up in PATH. Returns the exit status, or -1 if it could
// not be started.
int runArgv(const QStringList &argv);

// Replaces a file's contents atomically: the data goes to a temporary file
// in the same directory, which takes the old file's mode, owner, group and
// extended attributes and is then renamed over it. A symbolic link is
// followed and stays a link. On any failure the old file is left whole and
// false is returned.
bool replaceFile(const QString &path, const QByteArray &data);

// Test hooks. The program never calls these.
using Runner = std::function<int(const QString &)>;
using ArgvRunner = std::function<int(const QStringList &)>;
void setRoot(const QString &root);     // "" or "/" restores the real root
void setRunner(Runner runner);         // empty restores system()
void setArgvRunner(ArgvRunner runner); // empty restores fork/exec

} // namespace Host

#endif

#ifndef TALVORA_SISTEMA_H
#define TALVORA_SISTEMA_H

// The one seam between Talvora and the machine it runs on: fixed paths,
// commands, and reading and safely replacing system files.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <functional>
#include <optional>

// The machine Talvora works on: "/" and its real commands in the program.
// Tests hand each part their own value, with another root and the commands
// redirected; nothing of that is reachable from the program. A value is
// cheap to copy and safe to use from any thread.
class Sistema
{
public:
    // What a command left behind. Its bytes are kept as they came.
    struct Resultado {
        int estado = 0;     // exit status; 128 + N when signal N ended it
        bool senal = false; // a signal ended it: a shell's own "exit 130" is not one
        QByteArray salida;  // standard output (programs only; a shell line's goes to ours)
        QByteArray errores; // the last 64 KiB of standard error, from a line's start
        bool bien() const { return estado == 0; }
    };

    // A redirected command: a shell line as one element, or a program's argv.
    enum class Forma { Shell, Fondo, Programa };
    using Ejecutor = std::function<Resultado(Forma forma, const QByteArrayList &orden)>;

    Sistema() = default; // this machine
    Sistema(const QString &raiz, Ejecutor ejecutor);

    // Maps a fixed absolute path ("/etc/hosts.allow") under the root.
    QString ruta(const QString &absoluta) const;
    QByteArray rutaBytes(const char *absoluta) const; // the same, in the file system's encoding

    // Once, before anything runs: a write to a closed pipe (our standard
    // error when the terminal or launcher is gone) fails instead of ending
    // the program. Every command gets the default back.
    static void prepararPrograma();

    // Runs a shell line (/bin/sh -c) and waits for the shell; blocking, and
    // safe from any thread. Its standard output and error go to unlinked
    // files, passed on to ours once it ends, the end of the error kept so
    // that a failure can be told. A daemon the line leaves behind keeps
    // writing to those files: it never blocks on them nor dies of our exit.
    // The bytes reach the shell as they are: a setting read in some 8-bit
    // encoding must name the same files when it runs.
    Resultado ejecutar(const QByteArray &linea) const;

    // Runs a shell line that puts itself in the background (it ends in "&")
    // and returns at once: an editor must outlive the window that opened it.
    // A line the shell cannot start (127 or 126 within its first moments,
    // as for an editor that is not installed) is told to `siNoArranca`, on
    // another thread; nothing is told of the editor once it runs.
    using AlFallar = std::function<void(const Resultado &resultado)>;
    void lanzar(const QByteArray &linea, AlFallar siNoArranca = {}) const;

    // Runs a program (argv[0] looked up in PATH) with its arguments, no
    // shell, and waits; both outputs are captured. A program that cannot be
    // started gives 127 (not found) or 126, with the reason in `errores`.
    Resultado ejecutarPrograma(const QByteArrayList &argv) const;

    // Files by paths already mapped: these know no root.
    // Whether something exists at exactly these bytes (a directory too).
    static bool existe(const QByteArray &ruta);

    // A whole file by the exact bytes of its path; nothing when it cannot be read.
    static std::optional<QByteArray> leerArchivo(const QByteArray &ruta);
    static std::optional<QByteArray> leerArchivo(const QString &ruta);

    // Replaces a file's contents atomically: the data goes to a temporary
    // file in the same directory, which takes the old file's mode, owner,
    // group and extended attributes and is then renamed over it. A symbolic
    // link is followed and stays a link. On any failure the old file is left
    // whole and false is returned. The QByteArray path is taken byte for
    // byte (a path read from a file in any encoding); the QString one is
    // encoded as Qt does.
    static bool reemplazarArchivo(const QString &ruta, const QByteArray &datos);
    static bool reemplazarArchivo(const QByteArray &ruta, const QByteArray &datos);

private:
    QString raiz_;      // empty: "/"
    Ejecutor ejecutor_; // empty: the real commands
};

#endif

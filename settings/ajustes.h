#ifndef TALVORA_AJUSTES_H
#define TALVORA_AJUSTES_H

// The 44 settings: every command line and path that an action uses. One
// Ajustes object is shared by the main window and the dialogs it opens;
// each action reads its value when it runs, and a save in one dialog
// reaches every other holder through cambiados().

#include "rutas.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "settings/perfiles.h"

class Sistema;

class Ajustes : public QObject
{
    Q_OBJECT

public:
    // A setting by its key: a misspelt key does not compile.
    enum class Clave {
#define TALVORA_CLAVE(clave, ...) clave,
        TALVORA_AJUSTES(TALVORA_CLAVE)
#undef TALVORA_CLAVE
    };
    static constexpr int Cantidad = 44;

    // The profiles of settings/perfiles.h, each a complete set of 44 values.
    enum class Perfil { Clasico, Debian, RedHat };
    static constexpr Perfil Perfiles[] = {Perfil::Clasico, Perfil::Debian, Perfil::RedHat};

    // Holds the Clásico values until something is loaded or assigned.
    explicit Ajustes(QObject *parent = nullptr);

    // Values are kept as the bytes the file holds: commands and paths must
    // reach the system as they were written, in whatever encoding that was.
    QByteArray valor(Clave clave) const;
    QByteArrayList valores() const; // all 44 in file order

    // Replaces all 44 values at once, in file order; cambiados() follows
    // when any of them differs.
    void asignar(const QByteArrayList &nuevos);

    enum class Carga { NoExiste, NoSePuedeLeer, Cargado };
    // Reads the configuration file into the table. On NoExiste and
    // NoSePuedeLeer the table is left as it was.
    Carga cargar(const Sistema &sistema);

    // Writes the 44 values to the configuration file, replacing it
    // atomically. False (the old file intact) if any step fails.
    static bool guardar(const Sistema &sistema, const QByteArrayList &valores);
    static QString rutaArchivo(const Sistema &sistema); // TALVORA_DATADIR "/conf"

    static const QStringList &claves();               // all 44 in file order
    static const QByteArrayList &valoresPorDefecto(); // the Clásico profile
    static const QByteArrayList &valoresDe(Perfil perfil);
    static QString nombre(Perfil perfil); // as the configuration dialog offers it

    // The profile that fits the machine: Debian's or Red Hat's when systemd
    // is running (/run/systemd/system) and os-release says that family (its
    // ID, then ID_LIKE); Clásico otherwise.
    static Perfil perfilDelSistema(const Sistema &sistema);
    static Perfil perfilSegun(const QByteArray &osRelease); // without I/O

    // A value is one line: a line break in a typed or pasted text becomes a
    // blank, so that memory and file hold the same value.
    static QByteArray limpiar(const QByteArray &valor);

    // A value as the configuration dialog shows it (see Texto::detectar).
    static QString mostrar(const QByteArray &valor);

    // The dialog's 44 texts back to values. A text still equal to what the
    // value showed keeps its bytes; an edited one is cleaned and takes the
    // value's encoding, or, for a value that was plain ASCII, the file's
    // (ISO-8859-1 when some value is not UTF-8). Nothing when an edited text
    // holds a character its encoding cannot.
    static std::optional<QByteArrayList> editar(const QByteArrayList &anteriores,
                                                const QStringList &textos);

    // The file format, without any I/O: 44 lines taken from the bytes,
    // missing ones empty, extra ones ignored, a "\r" before "\n" dropped; and back.
    static QByteArrayList analizar(const QByteArray &contenido);
    static QByteArray componer(const QByteArrayList &valores);

signals:
    void cambiados();

private:
    QByteArrayList valores_;
};

#endif

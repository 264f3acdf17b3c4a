#ifndef TALVORA_AJUSTES_H
#define TALVORA_AJUSTES_H

// The 44 settings: every command line and path that an action uses. One
// table for the whole process; each action reads its value when it runs.

#include "rutas.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <optional>

#include "settings/perfiles.h"

namespace Ajustes {

// A setting by its key: a misspelt key does not compile.
enum class Clave {
#define TALVORA_CLAVE(clave, ...) clave,
    TALVORA_AJUSTES(TALVORA_CLAVE)
#undef TALVORA_CLAVE
};

constexpr int Cantidad = 44;

// Values are kept as the bytes the file holds: commands and paths must reach
// the system as they were written, in whatever encoding that was.
QByteArray valor(Clave clave); // current value

// All 44 in file order.
const QStringList &claves();
const QByteArrayList &valoresPorDefecto(); // the Clásico profile

// The profiles of settings/perfiles.h, each a complete set of 44 values.
enum class Perfil { Clasico, Debian, RedHat };
constexpr Perfil Perfiles[] = {Perfil::Clasico, Perfil::Debian, Perfil::RedHat};
const QByteArrayList &valoresDe(Perfil perfil);
QString nombre(Perfil perfil); // as the configuration dialog offers it

// The profile that fits the machine: Debian's or Red Hat's when systemd is
// running (/run/systemd/system) and os-release says that family (its ID,
// then ID_LIKE); Clásico otherwise.
Perfil perfilDelSistema();
Perfil perfilSegun(const QByteArray &osRelease); // the family os-release names, without I/O
QByteArrayList valores();

// Replaces all 44 values at once, in file order.
void asignar(const QByteArrayList &nuevos);

// A value is one line: a line break in a typed or pasted text becomes a
// blank, so that memory and file hold the same value.
QByteArray limpiar(const QByteArray &valor);

// A value as the configuration dialog shows it (see Texto::detectar).
QString mostrar(const QByteArray &valor);

// The dialog's 44 texts back to values. A text still equal to what the
// value showed keeps its bytes; an edited one is cleaned and takes the
// value's encoding, or, for a value that was plain ASCII, the file's
// (ISO-8859-1 when some value is not UTF-8). Nothing when an edited text
// holds a character its encoding cannot.
std::optional<QByteArrayList> editar(const QByteArrayList &anteriores, const QStringList &textos);

// Path of the configuration file, TALVORA_DATADIR "/conf".
QString rutaArchivo();

enum class Carga { NoExiste, NoSePuedeLeer, Cargado };

// Reads the configuration file into the table. On NoExiste and
// NoSePuedeLeer the table is left as it was.
Carga cargar();

// Writes the 44 values to the configuration file, replacing it atomically.
// Returns false (the old file intact) if any step fails.
bool guardar(const QByteArrayList &valores);

// The file format, without any I/O: 44 lines taken from the bytes, missing
// ones empty, extra ones ignored, a "\r" before "\n" dropped; and back.
QByteArrayList analizar(const QByteArray &contenido);
QByteArray componer(const QByteArrayList &valores);

} // namespace Ajustes

#endif

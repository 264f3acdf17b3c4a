#ifndef TALVORA_CONFIANZA_H
#define TALVORA_CONFIANZA_H

// Whether the files whose contents Talvora runs as root (the settings file)
// or copies into /etc (the default files) can be changed by someone other
// than root. Each such file and every directory above it must be owned by
// root and writable by no one else: group write is allowed only to the root
// group. A root-owned directory with the sticky bit (/tmp) passes even when
// world-writable, as nobody else can rename or remove the root-owned entry
// in it, which is checked in turn.

#include "platform/sistema.h"

#include <QString>

#include <optional>
#include <sys/types.h>

namespace Confianza {

struct Fallo {
    QString ruta;  // as the administrator knows it
    unsigned modo; // permission bits, 07777
    uid_t dueno;
    gid_t grupo;
    QString mensaje; // what is refused, why, and how to fix it, in Spanish
};

// The first path, from "/" down, that fails; nothing when all pass or when
// the program does not run as root (it can then do nothing as root).
std::optional<Fallo> comprobar(const Sistema &sistema);

} // namespace Confianza

#endif

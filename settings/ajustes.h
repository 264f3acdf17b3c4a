#ifndef TALVORA_AJUSTES_H
#define TALVORA_AJUSTES_H

// The 44 settings: every command line and path that an action uses. One
// table for the whole process; each action reads its value when it runs.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Ajustes {

constexpr int Cantidad = 44;

// Keys in file order: line 1 is "cEditor", line 44 is "cEditarFtp".
const QStringList &claves();
const QStringList &valoresPorDefecto();

// Current value of a setting by key; an unknown key is a programming error.
QString valor(const QString &clave);
QString porDefecto(const QString &clave);
QStringList valores();

// Replaces all 44 values at once, in file order.
void asignar(const QStringList &nuevos);

// Path of the configuration file, "/usr/local/share/talvora/conf".
QString rutaArchivo();

enum class Carga { NoExiste, NoSePuedeLeer, Cargado };

// Reads the configuration file into the table. On NoExiste and
// NoSePuedeLeer the table is left as it was.
Carga cargar();

// Writes the 44 values to the configuration file, replacing it atomically.
// Returns false (the old file intact) if any step fails.
bool guardar(const QStringList &valores);

// The file format, without any I/O: 44 lines taken from the text, missing
// ones empty, extra ones ignored, a "\r" before "\n" dropped; and back.
QStringList analizar(const QByteArray &contenido);
QByteArray componer(const QStringList &valores);

} // namespace Ajustes

#endif

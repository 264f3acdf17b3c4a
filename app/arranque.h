#ifndef TALVORA_ARRANQUE_H
#define TALVORA_ARRANQUE_H

// What happens before the main window: the command line, read before any
// display is needed, and the warning to a user who is not root.

#include <cstdio>

class QWidget;

namespace Arranque {

// Value of leerOpciones() when the program goes on to start.
constexpr int seguir = -1;

// Reads argv by hand, before QApplication exists. --help/-h and
// --version/-v print to `salida` and give 0; an unknown option or a stray
// argument prints the usage to `errores` and gives 2. Qt's own options
// (-platform xcb, -style=fusion, --display :1, ...) are left for
// QApplication; with nothing else to do the result is `seguir`.
int leerOpciones(int argc, char **argv, std::FILE *salida = stdout, std::FILE *errores = stderr);

// Exit status when there is no display to open a window on.
constexpr int sinPantalla = 3;

// Before QApplication, which aborts when its platform plugin cannot
// connect: with no platform chosen (-platform, QT_QPA_PLATFORM) or only
// xcb, and neither a display named (DISPLAY, WAYLAND_DISPLAY, -display)
// explains in Spanish on `errores` what is missing and gives sinPantalla.
// Any other platform (offscreen, vnc, ...) is left to Qt. Otherwise `seguir`.
int comprobarPantalla(int argc, char **argv, std::FILE *errores = stderr);

// True when the effective user is root.
bool esRoot();

// Shows the modal "needs root" warning to anyone but root and returns once
// it is closed, so the status can still be looked at.
void avisarSiNoEsRoot(QWidget *padre = nullptr);

} // namespace Arranque

#endif

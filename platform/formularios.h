#ifndef TALVORA_FORMULARIOS_H
#define TALVORA_FORMULARIOS_H

// What every window needs besides its .ui form: the style, the fonts the
// forms were drawn for, and the start-up work that readies them.

#include <QDialog>

#include <thread>

// Loads the system's font configuration on a second thread while the
// application connects to the display. Reading and parsing that
// configuration is the largest single cost of showing the first text, and
// the connection leaves the second core idle meanwhile.
//
// esperar() must return before anything lays out text: fontconfig gives no
// way to wait for a load in progress, so a second caller would load it all
// over again instead of sharing it.
class PrecargaFuentes
{
public:
    PrecargaFuentes();
    ~PrecargaFuentes();
    PrecargaFuentes(const PrecargaFuentes &) = delete;
    PrecargaFuentes &operator=(const PrecargaFuentes &) = delete;

    void esperar();

private:
    std::thread hilo_;
};

namespace Formularios {

// Once, after the QApplication exists and before any window: the style, the
// application font, and Qt's Spanish translations, so that standard buttons,
// input dialogs and context menus speak the language of the forms whatever
// the locale (when the translations are installed).
//
// The forms were drawn for a narrow Helvetica on an X server at 75 dpi, and
// their fixed boxes leave no room to spare. So the application font is a
// Helvetica-metric face (Liberation Sans or Nimbus Sans) of 12 pixels, the
// families "adobe-helvetica" and "Helvetica [Adobe]" stand for the same
// face, and a point size that a form sets is read at 75 dpi (12 pt is 12.5
// pixels, drawn at 13) whatever the screen's resolution.
void prepararAplicacion();

// In each form's constructor, right after setupUi(): its icon (an embedded
// XPM, which needs no image plugin at start-up); its fonts, its own from
// then on, whatever font the application takes later; the keys Qt leaves
// to the mouse (Return on any focused button, Tab and Ctrl+Tab out of a text
// editor); and for a screen reader, each field a label names (its buddy)
// and its label named by the label's words, plus ", " and its page's title
// inside a tab widget ("Iniciar, Squid").
void preparar(QDialog *formulario, const char *const *icono);

// A form's constructor whole: its modality, the object name its creator
// gave (the form's own when none), the widgets of its .ui, then preparar().
template <class Ui>
void armar(QDialog *formulario, Ui *ui, const char *nombre, bool modal, const char *const *icono)
{
    formulario->setModal(modal);
    if (nombre)
        formulario->setObjectName(QString::fromLatin1(nombre));
    ui->setupUi(formulario);
    preparar(formulario, icono);
}

} // namespace Formularios

#endif

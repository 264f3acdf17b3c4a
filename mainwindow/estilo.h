#ifndef TALVORA_ESTILO_H
#define TALVORA_ESTILO_H

#include <QProxyStyle>

// The platform's own style, except that the menu bar's overflow arrow is an
// embedded image: the stock one is a PNG resource whose decoding makes Qt
// load every image-format plugin at start-up, for a button that only shows
// when the window is narrower than its menus.
class EstiloTalvora : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap icono, const QStyleOption *opcion = nullptr,
                       const QWidget *widget = nullptr) const override;
};

class QWidget;

namespace Estilo {

// The forms were drawn for a narrow Helvetica on an X server at 75 dpi, and
// their fixed boxes leave no room to spare. So the application font is a
// Helvetica-metric face (Liberation Sans or Nimbus Sans) of 12 pixels, the
// families "adobe-helvetica" and "Helvetica [Adobe]" stand for the same
// face, and a point size that a form sets is read at 75 dpi (12 pt is 12.5
// pixels, drawn at 13) whatever the screen's resolution.
void prepararFuentes();
void medidasDelDiseno(QWidget *formulario);

} // namespace Estilo

#endif

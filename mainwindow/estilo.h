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

#endif

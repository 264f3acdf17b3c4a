#include "mainwindow/estilo.h"

#include <QPixmap>

namespace {

// A small ">>" chevron, drawn in the style's text colour by the button.
const char *const flechas[] = {
    "8 8 2 1",  "  c None", "# c #303030", "#   #   ", "##  ##  ", " ##  ## ",
    "  ##  ##", "  ##  ##", " ##  ## ",    "##  ##  ", "#   #   ",
};

} // namespace

QIcon EstiloTalvora::standardIcon(StandardPixmap icono, const QStyleOption *opcion,
                                  const QWidget *widget) const
{
    if (icono == SP_ToolBarHorizontalExtensionButton)
        return QIcon(QPixmap(flechas));
    if (icono == SP_ToolBarVerticalExtensionButton)
        return QIcon(QPixmap(flechas).transformed(QTransform().rotate(90)));
    return QProxyStyle::standardIcon(icono, opcion, widget);
}

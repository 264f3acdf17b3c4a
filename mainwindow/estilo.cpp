#include "mainwindow/estilo.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

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

namespace Estilo {

void prepararFuentes()
{
    // Helvetica's metrics, under the names a system has them by; the forms
    // name the face in two ways.
    // The packages bring Liberation Sans: asked first, it is found at once.
    const QStringList parecidas = {QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                                   QStringLiteral("Arial")};
    for (const char *nombre : {"adobe-helvetica", "Helvetica [Adobe]", "Helvetica"})
        QFont::insertSubstitutions(QString::fromLatin1(nombre), parecidas);
    QFont fuente = QApplication::font();
    fuente.setFamilies(parecidas);
    fuente.setPixelSize(12);
    QApplication::setFont(fuente);
}

void medidasDelDiseno(QWidget *formulario)
{
    for (QWidget *w : formulario->findChildren<QWidget *>()) {
        QFont f = w->font();
        if (w->testAttribute(Qt::WA_SetFont) && f.pointSizeF() > 0) {
            f.setPixelSize(qRound(f.pointSizeF() * 75 / 72));
            w->setFont(f);
        }
    }
}

} // namespace Estilo

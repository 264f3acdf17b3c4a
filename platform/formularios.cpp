#include "platform/formularios.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOption>
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <malloc.h>
#include <system_error>

PrecargaFuentes::PrecargaFuentes()
{
    try {
        hilo_ = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
        // No thread to spare: Qt loads the configuration itself when needed.
    }
}

PrecargaFuentes::~PrecargaFuentes() { esperar(); }

void PrecargaFuentes::esperar()
{
    if (hilo_.joinable()) {
        hilo_.join();
        // The parse's scratch memory stays in the thread's own malloc arena,
        // where the main thread would never reuse it: hand it back.
        malloc_trim(0);
    }
}

namespace {

// A small ">>" chevron, drawn in the style's text colour by the button.
const char *const flechas[] = {
    "8 8 2 1",  "  c None", "# c #303030", "#   #   ", "##  ##  ", " ##  ## ",
    "  ##  ##", "  ##  ##", " ##  ## ",    "##  ##  ", "#   #   ",
};

// The platform's own style, except that the menu bar's overflow arrow is an
// embedded image: the stock one is a PNG resource whose decoding makes Qt
// load every image-format plugin at start-up, for a button that only shows
// when the window is narrower than its menus.
class EstiloTalvora : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap icono, const QStyleOption *opcion,
                       const QWidget *widget) const override
    {
        if (icono == SP_ToolBarHorizontalExtensionButton)
            return QIcon(QPixmap(flechas));
        if (icono == SP_ToolBarVerticalExtensionButton)
            return QIcon(QPixmap(flechas).transformed(QTransform().rotate(90)));
        return QProxyStyle::standardIcon(icono, opcion, widget);
    }

    // At a fractional scale a widget may begin or end in the middle of a
    // device pixel, which its clip leaves out: a frame drawn on that pixel
    // loses the side (the status frames lost their left border at 1.5x).
    // Fitted to the whole pixels inside, it keeps all four.
    void drawPrimitive(PrimitiveElement elemento, const QStyleOption *opcion, QPainter *pintor,
                       const QWidget *widget) const override
    {
        const QTransform t = pintor->deviceTransform();
        const QRectF r = t.mapRect(QRectF(opcion->rect));
        const QRectF enteros(QPointF(std::ceil(r.left() - 1e-6), std::ceil(r.top() - 1e-6)),
                             QPointF(std::floor(r.right() + 1e-6), std::floor(r.bottom() + 1e-6)));
        if (elemento != PE_Frame || t.type() > QTransform::TxScale || r.isEmpty()
            || (enteros.topLeft() - r.topLeft()).manhattanLength()
                       + (r.bottomRight() - enteros.bottomRight()).manhattanLength()
                   < 1e-3) {
            QProxyStyle::drawPrimitive(elemento, opcion, pintor, widget);
            return;
        }
        const QRectF logico(opcion->rect), destino = t.inverted().mapRect(enteros);
        pintor->save();
        pintor->translate(destino.topLeft());
        pintor->scale(destino.width() / logico.width(), destino.height() / logico.height());
        pintor->translate(-logico.topLeft());
        QProxyStyle::drawPrimitive(elemento, opcion, pintor, widget);
        pintor->restore();
    }
};

} // namespace

namespace Formularios {

void prepararAplicacion()
{
    QApplication::setStyle(new EstiloTalvora);
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

void preparar(QDialog *formulario, const char *const *icono)
{
    for (QWidget *w : formulario->findChildren<QWidget *>()) {
        QFont f = w->font();
        if (w->testAttribute(Qt::WA_SetFont) && f.pointSizeF() > 0) {
            f.setPixelSize(qRound(f.pointSizeF() * 75 / 72));
            w->setFont(f);
        }
    }
    formulario->setWindowIcon(QIcon(QPixmap(icono)));
}

} // namespace Formularios

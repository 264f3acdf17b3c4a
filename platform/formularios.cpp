#include "platform/formularios.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyleOption>
#include <QTabWidget>
#include <QTranslator>
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
        const QTransform t = elemento == PE_Frame ? pintor->deviceTransform() : QTransform();
        const QRectF r = t.mapRect(QRectF(opcion->rect));
        const QRectF enteros(QPointF(std::ceil(r.left() - 1e-6), std::ceil(r.top() - 1e-6)),
                             QPointF(std::floor(r.right() + 1e-6), std::floor(r.bottom() + 1e-6)));
        if (t.isIdentity() || t.type() > QTransform::TxScale || r.isEmpty()
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

// What Qt's widgets leave to the mouse. Return on a button that is not
// auto-default presses it: those of the configuration dialog are not, so
// that Return in a field presses none of them. Ctrl+Tab in a text editor
// moves on, as Tab does there once it changes focus.
class Teclado : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *objeto, QEvent *evento) override
    {
        if (evento->type() != QEvent::KeyPress)
            return false;
        const auto *tecla = static_cast<QKeyEvent *>(evento);
        const Qt::KeyboardModifiers otras = tecla->modifiers() & ~Qt::KeypadModifier;
        if (auto *boton = qobject_cast<QPushButton *>(objeto)) {
            if (otras || (tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter)
                || boton->autoDefault() || boton->isDefault())
                return false;
            boton->click();
            return true;
        }
        const bool tab = tecla->key() == Qt::Key_Tab || tecla->key() == Qt::Key_Backtab;
        if (!tab || !(otras & Qt::ControlModifier))
            return false;
        QKeyEvent sinControl(QEvent::KeyPress, tecla->key(), otras & ~Qt::ControlModifier);
        QCoreApplication::sendEvent(objeto, &sinControl);
        return true;
    }
};

// A label's words as a screen reader should say them: without markup, the
// remark in brackets or the closing colon. By hand: a regular expression
// here compiled one at start-up, in time and memory the window then lacked.
QString sinAdornos(const QString &texto)
{
    QString limpio;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        const qsizetype fin = c == u'<'   ? texto.indexOf(u'>', i)
                              : c == u'(' ? texto.indexOf(u')', i)
                                          : -1;
        if (fin >= 0)
            i = fin;
        else
            limpio += c;
    }
    limpio = limpio.simplified();
    if (limpio.endsWith(QLatin1Char(':')))
        limpio.chop(1);
    return limpio.trimmed();
}

// The font the forms were drawn with, whole: nothing of it is left to the
// application font, which a platform theme may change once the windows are
// up (and then titles and buttons no longer fit their boxes). Helvetica's
// metrics, under the names a system has them by; the packages bring
// Liberation Sans: asked first, it is found at once.
QFont fuenteDelDiseno()
{
    QFont fuente(QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                             QStringLiteral("Arial")});
    fuente.setPixelSize(12);
    fuente.setResolveMask(QFont::AllPropertiesResolved);
    return fuente;
}

} // namespace

namespace Formularios {

void prepararAplicacion()
{
    QApplication::setStyle(new EstiloTalvora);
    // The forms also name the face in two ways of their own.
    const QFont fuente = fuenteDelDiseno();
    for (const char *nombre : {"adobe-helvetica", "Helvetica [Adobe]", "Helvetica"})
        QFont::insertSubstitutions(QString::fromLatin1(nombre), fuente.families());
    QApplication::setFont(fuente);
    // Qt's own texts (standard buttons, input dialogs, context menus) in the
    // language of the rest of the program, whatever the locale.
    auto *qt = new QTranslator(qApp);
    if (qt->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}

void preparar(QDialog *formulario, const char *const *icono)
{
    formulario->setWindowIcon(QIcon(QPixmap(icono)));
    formulario->setFont(fuenteDelDiseno());
    for (QWidget *w : formulario->findChildren<QWidget *>()) {
        QFont f = w->font();
        if (w->testAttribute(Qt::WA_SetFont) && f.pointSizeF() > 0) {
            f.setPixelSize(qRound(f.pointSizeF() * 75 / 72));
            w->setFont(f);
        }
    }

    auto *teclado = new Teclado(formulario);
    for (QPushButton *boton : formulario->findChildren<QPushButton *>())
        boton->installEventFilter(teclado);
    // Tab leaves the editor (a pasted tab stays in the text): a keyboard user
    // who tabbed in must not type into /etc/hosts.allow on the way out.
    for (QPlainTextEdit *editor : formulario->findChildren<QPlainTextEdit *>()) {
        editor->setTabChangesFocus(true);
        editor->installEventFilter(teclado);
    }

    // Each field is named by its label, and within a tab widget by the page
    // too: the configuration dialog has an "Iniciar" on every page.
    for (QLabel *etiqueta : formulario->findChildren<QLabel *>()) {
        QWidget *campo = etiqueta->buddy();
        if (!campo || !campo->accessibleName().isEmpty())
            continue;
        QString nombre = sinAdornos(etiqueta->text());
        QWidget *pagina = campo;
        while (pagina && !qobject_cast<QStackedWidget *>(pagina->parentWidget()))
            pagina = pagina->parentWidget();
        if (auto *solapas
            = pagina ? qobject_cast<QTabWidget *>(pagina->parentWidget()->parentWidget()) : nullptr)
            nombre += QStringLiteral(", ") + solapas->tabText(solapas->indexOf(pagina)).remove('&');
        campo->setAccessibleName(nombre);
        // A screen reader speaks the label a field is tied to, not the
        // field's own name: the label must say the page too.
        etiqueta->setAccessibleName(nombre);
    }
}

} // namespace Formularios

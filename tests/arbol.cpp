#include "arbol.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace {

QString citado(const QString &texto)
{
    QString t = texto;
    t.replace(QLatin1String("\\"), QLatin1String("\\\\")).replace(QLatin1String("\n"), QLatin1String("\\n"));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

// Widgets the form made, as opposed to the parts Qt adds inside its own.
bool delFormulario(const QWidget *w)
{
    return !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"));
}

QString fuente(const QWidget *w)
{
    if (!w->testAttribute(Qt::WA_SetFont))
        return QString();
    const QFont f = w->font();
    return QStringLiteral(" font=%1/%2/%3").arg(f.family()).arg(f.pointSize()).arg(f.weight());
}

QString propiedades(QWidget *w)
{
    QString s = QStringLiteral("%1 %2 %3,%4,%5,%6")
                    .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
                    .arg(w->x())
                    .arg(w->y())
                    .arg(w->width())
                    .arg(w->height());
    if (auto *l = qobject_cast<QLabel *>(w))
        s += QStringLiteral(" text=%1 format=%2 align=0x%3 wrap=%4")
                 .arg(citado(l->text()))
                 .arg(int(l->textFormat()))
                 .arg(int(l->alignment()), 0, 16)
                 .arg(int(l->wordWrap()));
    if (auto *b = qobject_cast<QPushButton *>(w))
        s += QStringLiteral(" text=%1 autoDefault=%2 default=%3")
                 .arg(citado(b->text()))
                 .arg(int(b->autoDefault()))
                 .arg(int(b->isDefault()));
    if (auto *e = qobject_cast<QLineEdit *>(w))
        s += QStringLiteral(" text=%1").arg(citado(e->text()));
    if (auto *e = qobject_cast<QPlainTextEdit *>(w))
        s += QStringLiteral(" text=%1").arg(citado(e->toPlainText()));
    if (auto *f = qobject_cast<QFrame *>(w))
        s += QStringLiteral(" frame=%1/%2").arg(int(f->frameShape())).arg(int(f->frameShadow()) >> 4);
    if (!w->toolTip().isEmpty())
        s += QStringLiteral(" tip=") + citado(w->toolTip());
    s += fuente(w);
    if (w->testAttribute(Qt::WA_SetCursor))
        s += QStringLiteral(" cursor=%1").arg(int(w->cursor().shape()));
    if (!w->isEnabled())
        s += QStringLiteral(" disabled");
    if (w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->testAttribute(Qt::WA_WState_Hidden))
        s += QStringLiteral(" hidden");
    return s;
}

void arbol(QWidget *w, int nivel, QStringList &lineas)
{
    for (QObject *o : w->children()) {
        auto *hijo = qobject_cast<QWidget *>(o);
        if (!hijo)
            continue;
        if (!delFormulario(hijo))
            continue;
        lineas << QString(nivel * 2, QLatin1Char(' ')) + propiedades(hijo);
        if (auto *t = qobject_cast<QTabWidget *>(hijo)) {
            // Its pages live in its stack, which reorders them as they show,
            // and places them only then.
            for (int i = 0; i < t->count(); ++i) {
                QWidget *p = t->widget(i);
                lineas << QStringLiteral("%1tab %2 %3 %4%5")
                              .arg(QString(nivel * 2 + 2, QLatin1Char(' ')), citado(t->tabText(i)),
                                   QString::fromLatin1(p->metaObject()->className()), p->objectName(),
                                   p->isHidden() ? QStringLiteral(" hidden") : QString());
                arbol(p, nivel + 2, lineas);
            }
        }
        arbol(hijo, nivel + 1, lineas);
    }
}

// The named widgets that Tab reaches, in order; a tab bar stands for its tab widget.
QStringList cadenaDeFoco(QDialog *d)
{
    QStringList nombres;
    QWidget *w = d;
    do {
        w = w->nextInFocusChain();
        QWidget *nombrado = qobject_cast<QTabBar *>(w) ? w->parentWidget() : w;
        if ((w->focusPolicy() & Qt::TabFocus) && delFormulario(nombrado))
            nombres << nombrado->objectName();
    } while (w != d);
    return nombres;
}

QStringList *avisos = nullptr;
void anotar(QtMsgType, const QMessageLogContext &, const QString &mensaje)
{
    if (avisos)
        *avisos << mensaje;
}

// What a click on each button runs: the form's default slots only warn,
// and a closing dialog emits rejected(), so both can be read off.
QStringList alcances(QDialog *d)
{
    QStringList lineas;
    for (QPushButton *b : d->findChildren<QPushButton *>()) {
        if (!delFormulario(b))
            continue;
        QStringList vistos;
        avisos = &vistos;
        const auto anterior = qInstallMessageHandler(anotar);
        const auto c = QObject::connect(d, &QDialog::rejected, d, [&] { vistos << QStringLiteral("reject()"); });
        b->click();
        QObject::disconnect(c);
        qInstallMessageHandler(anterior);
        avisos = nullptr;
        lineas << b->objectName() + QStringLiteral(" -> ") + vistos.join(QLatin1String(", "));
    }
    return lineas;
}

} // namespace

QString volcarFormulario(QDialog *d, const QMetaObject &clase)
{
    QStringList lineas;
    const QIcon icono = d->windowIcon();
    const QSize tamanoIcono = icono.availableSizes().value(0);
    lineas << QStringLiteral("%1 %2 %3x%4 title=%5 iconText=%6 icon=%7x%8 modal=%9 grip=%10")
                  .arg(QString::fromLatin1(d->metaObject()->superClass()->className()), d->objectName())
                  .arg(d->width())
                  .arg(d->height())
                  .arg(citado(d->windowTitle()), citado(d->windowIconText()))
                  .arg(tamanoIcono.width())
                  .arg(tamanoIcono.height())
                  .arg(int(d->isModal()))
                  .arg(int(d->isSizeGripEnabled()));
    arbol(d, 1, lineas);
    lineas << QStringLiteral("foco: ") + cadenaDeFoco(d).join(QLatin1Char(' '));
    lineas << alcances(d);
    for (int i = clase.methodOffset(); i < clase.methodCount(); ++i) {
        const QMetaMethod m = clase.method(i);
        lineas << QStringLiteral("slot %1 %2").arg(QString::fromLatin1(m.methodSignature())).arg(int(m.access()));
    }
    return lineas.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

#include "arbol.h"

#include <QtWidgets>

namespace {

// A new widget of the same class, to tell which properties the form set.
QWidget *modelo(const QWidget *w)
{
    static std::map<QString, std::unique_ptr<QWidget>> modelos;
    const QString clase = w->metaObject()->className();
    if (!modelos.count(clase)) {
        const std::map<QString, std::function<QWidget *()>> nuevos
            = {{"QLabel", [] { return new QLabel; }},
               {"QPushButton", [] { return new QPushButton; }},
               {"QFrame", [] { return new QFrame; }},
               {"QLineEdit", [] { return new QLineEdit; }},
               {"QTabWidget", [] { return new QTabWidget; }},
               {"QListWidget", [] { return new QListWidget; }},
               {"QComboBox", [] { return new QComboBox; }},
               {"QPlainTextEdit", [] { return new QPlainTextEdit; }}};
        modelos[clase].reset(nuevos.count(clase) ? nuevos.at(clase)() : new QWidget);
    }
    return modelos[clase].get();
}

QString texto(const QVariant &v)
{
    if (v.typeId() == QMetaType::QFont) {
        const QFont f = v.value<QFont>();
        const QString tamano = f.pointSize() > 0 ? QString::number(f.pointSize()) + "pt"
                                                 : QString::number(f.pixelSize()) + "px";
        return f.family() + "/" + tamano + "/" + QString::number(f.weight());
    }
    if (v.typeId() == QMetaType::QCursor)
        return QString::number(v.value<QCursor>().shape());
    const QRect r = v.toRect();
    if (v.typeId() == QMetaType::QRect)
        return QString::asprintf("%d,%d,%d,%d", r.x(), r.y(), r.width(), r.height());
    return v.canConvert<QString>() && v.typeId() != QMetaType::Bool ? '"' + v.toString() + '"'
                                                                    : QString::number(v.toInt());
}

void arbol(QWidget *w, const QString &sangria, QStringList &lineas)
{
    for (QWidget *h : w->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (h->objectName().isEmpty() || h->objectName().startsWith("qt_"))
            continue;
        QString linea = sangria + h->metaObject()->className() + " " + h->objectName();
        for (const char *p : {"geometry", "text", "toolTip", "font", "frameShape", "frameShadow",
                              "alignment", "textFormat", "wordWrap", "autoDefault", "cursor",
                              "uniformItemSizes", "plainText", "accessibleName"}) {
            const QVariant v = h->property(p);
            if (v.isValid() && (v != modelo(h)->property(p) || QByteArray(p) == "geometry"))
                linea += QString(" %1=%2").arg(p, texto(v).replace("\n", "\\n"));
        }
        lineas << linea;
        if (auto *t = qobject_cast<QTabWidget *>(h)) { // its stack reorders its pages as they show
            for (int i = 0; i < t->count(); ++i) {
                lineas << sangria + "  tab \"" + t->tabText(i) + "\" " + t->widget(i)->objectName();
                arbol(t->widget(i), sangria + "    ", lineas);
            }
        }
        arbol(h, sangria + "  ", lineas);
    }
}

} // namespace

QString volcarFormulario(QDialog *d)
{
    QStringList lineas{QString("%1 %2x%3 \"%4\" icon=%5 modal=%6 grip=%7")
                           .arg(d->objectName())
                           .arg(d->width())
                           .arg(d->height())
                           .arg(d->windowTitle())
                           .arg(d->windowIcon().availableSizes().value(0).width())
                           .arg(d->isModal())
                           .arg(d->isSizeGripEnabled())};
    arbol(d, "  ", lineas);
    QStringList foco; // the named widgets Tab reaches; a tab bar stands for its tab widget
    for (QWidget *w = d->nextInFocusChain(); w != d; w = w->nextInFocusChain()) {
        QWidget *n = qobject_cast<QTabBar *>(w) ? w->parentWidget() : w;
        if ((w->focusPolicy() & Qt::TabFocus) && !n->objectName().startsWith("qt_")
            && !n->objectName().isEmpty() && !foco.endsWith(n->objectName()))
            foco << n->objectName();
    }
    lineas << "foco: " + foco.join(' ');
    return lineas.join('\n') + '\n';
}

QString volcarMenus(const QWidget *ventana)
{
    QStringList lineas;
    std::function<void(QMenu *, const QString &)> menu = [&](QMenu *m, const QString &sangria) {
        lineas << sangria + m->title();
        for (QAction *a : m->actions()) {
            if (a->menu())
                menu(a->menu(), sangria + "  ");
            else
                lineas << sangria + "  " + (a->isSeparator() ? "-" : a->text())
                              + (a->shortcut().isEmpty() ? "" : " " + a->shortcut().toString());
        }
    };
    for (QAction *a : ventana->findChild<QMenuBar *>()->actions())
        menu(a->menu(), "");
    return lineas.join('\n') + '\n';
}

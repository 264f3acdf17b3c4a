#include "support.h"

Ventana::Ventana(const std::function<void(Ventana &)> &antes)
{
    raiz.escribir(Rutas::Configuracion, lineas(ajustesEnRaiz(raiz)));
    if (antes)
        antes(*this);
    w = std::make_unique<form1>(sistema(), ajustes);
}

namespace {

void responder(QWidget *w, const QString &respuesta)
{
    auto *caja = qobject_cast<QMessageBox *>(w);
    auto *entrada = qobject_cast<QInputDialog *>(w);
    const QList<QAbstractButton *> botones = caja ? caja->buttons() : QList<QAbstractButton *>();
    const auto boton = std::find_if(botones.begin(), botones.end(),
                                    [&](QAbstractButton *b) { return b->text() == respuesta; });
    if (entrada && respuesta.startsWith('=')) {
        entrada->setTextValue(respuesta.mid(1));
        entrada->accept();
    } else if (respuesta == "<Escape>" || respuesta == "<Return>") {
        QTest::keyClick(w, respuesta == "<Escape>" ? Qt::Key_Escape : Qt::Key_Return);
    } else if (boton != botones.end()) {
        (*boton)->click();
    } else if (respuesta == "<Cerrar>") {
        w->close();
    } else if (auto *d = qobject_cast<QDialog *>(w)) {
        d->done(-1);
    }
}

} // namespace

QStringList contestar(const QStringList &respuestas, const std::function<void()> &accion,
                      int esperadas)
{
    QStringList vistas;
    QTimer reloj;
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        QWidget *w = QApplication::activeModalWidget();
        for (QWidget *v : QApplication::topLevelWidgets()) {
            if (!w && qobject_cast<QMessageBox *>(v) && v->isVisible()
                && !v->property("contestada").toBool())
                w = v;
        }
        if (!w || !w->isVisible() || w->property("contestada").toBool())
            return;
        w->setProperty("contestada", true);
        QStringList vista{w->windowTitle()};
        if (auto *caja = qobject_cast<QMessageBox *>(w)) {
            vista << caja->text();
            for (QAbstractButton *b : caja->buttons())
                vista << b->text();
        } else if (auto *entrada = qobject_cast<QInputDialog *>(w)) {
            vista << entrada->labelText();
        }
        vistas << vista.join('|');
        responder(w, respuestas.value(vistas.size() - 1));
    });
    reloj.start(10);
    accion();
    // Short of them, the caller's comparison tells.
    (void)QTest::qWaitFor([&] { return vistas.size() >= esperadas; }, 5000);
    return vistas;
}

QString palabra(const QLabel *etiqueta) { return etiqueta->text().section('>', -1); }

QStringList entradas(const QListWidget *lista)
{
    QStringList r;
    for (int i = 0; i < lista->count(); ++i)
        r << lista->item(i)->text();
    return r;
}

QMessageBox *caja()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *c = qobject_cast<QMessageBox *>(w);
        if (c && c->isVisible() && !c->isModal())
            return c;
    }
    return nullptr;
}

#include "support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

QAbstractButton *botonConTexto(QMessageBox *caja, const QString &texto)
{
    const auto bs = caja->buttons();
    const auto b = std::find_if(bs.begin(), bs.end(), [&](QAbstractButton *b) { return b->text() == texto; });
    return b == bs.end() ? nullptr : *b;
}

// One queue for every answer, so that boxes shown in a row take them in turn.
static QList<QPair<QString, std::shared_ptr<CajaVista>>> cola;

static void contestar()
{
    QWidget *w = QApplication::activeModalWidget();
    if (w && w->isVisible() && !cola.isEmpty()) {
        const auto [respuesta, vista] = cola.takeFirst();
        auto *caja = qobject_cast<QMessageBox *>(w);
        *vista = {w->windowTitle(), caja ? caja->text() : QString(), {}, true};
        for (QAbstractButton *b : caja ? caja->buttons() : QList<QAbstractButton *>())
            vista->botones << b->text();
        if (respuesta == "<Escape>" || respuesta == "<Return>")
            QTest::keyClick(w, respuesta == "<Escape>" ? Qt::Key_Escape : Qt::Key_Return);
        else if (QAbstractButton *b = caja ? botonConTexto(caja, respuesta) : nullptr)
            b->click();
        else
            caja && respuesta != "<Cerrar>" ? caja->done(-1) : void(w->close());
    }
    if (!cola.isEmpty())
        QTimer::singleShot(10, contestar);
}

std::shared_ptr<CajaVista> responderCaja(const QString &respuesta)
{
    if (cola.isEmpty())
        QTimer::singleShot(10, contestar);
    return cola.append({respuesta, std::make_shared<CajaVista>()}), cola.last().second;
}

int descartarRespuestas() { return int(std::exchange(cola, {}).size()); }

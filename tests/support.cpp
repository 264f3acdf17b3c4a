#include "support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

QAbstractButton *botonConTexto(QMessageBox *caja, const QString &texto)
{
    const auto bs = caja->buttons();
    const auto b = std::find_if(bs.begin(), bs.end(), [&](QAbstractButton *b) { return b->text() == texto; });
    return b == bs.end() ? nullptr : *b;
}

namespace {

// One queue for every answer, so that windows shown in a row take them in turn.
QList<QPair<QString, std::shared_ptr<CajaVista>>> cola;
QList<std::shared_ptr<CajaVista>> *resto = nullptr; // a live Contestador's closed extras
bool enMarcha = false;

void contestarSiguiente();
void programar()
{
    if (!enMarcha)
        enMarcha = true, QTimer::singleShot(10, contestarSiguiente);
}

void contestarSiguiente()
{
    enMarcha = false;
    QWidget *w = QApplication::activeModalWidget();
    if (w && w->isVisible() && (!cola.isEmpty() || resto)) {
        QString respuesta = QStringLiteral("<Cerrar>");
        std::shared_ptr<CajaVista> vista;
        if (!cola.isEmpty())
            std::tie(respuesta, vista) = cola.takeFirst();
        else
            resto->append(vista = std::make_shared<CajaVista>());
        auto *caja = qobject_cast<QMessageBox *>(w);
        auto *entrada = qobject_cast<QInputDialog *>(w);
        *vista = {w->windowTitle(), caja ? caja->text() : entrada ? entrada->labelText() : QString(), {}, true};
        for (QAbstractButton *b : caja ? caja->buttons() : QList<QAbstractButton *>())
            vista->botones << b->text();
        if (entrada && respuesta.startsWith('='))
            QTest::keyClicks(entrada->findChild<QLineEdit *>(), respuesta.mid(1) + '\r');
        else if (respuesta == "<Escape>" || respuesta == "<Return>")
            QTest::keyClick(w, respuesta == "<Escape>" ? Qt::Key_Escape : Qt::Key_Return);
        else if (QAbstractButton *b = caja ? botonConTexto(caja, respuesta) : nullptr)
            b->click();
        else
            caja && respuesta != "<Cerrar>" ? caja->done(-1) : void(w->close());
    }
    if (!cola.isEmpty() || resto)
        programar();
}

} // namespace

std::shared_ptr<CajaVista> responderCaja(const QString &respuesta)
{
    programar();
    return cola.append({respuesta, std::make_shared<CajaVista>()}), cola.last().second;
}

int descartarRespuestas() { return int(std::exchange(cola, {}).size()); }

Contestador::Contestador(const QStringList &respuestas)
{
    for (const QString &r : respuestas)
        propias_ << responderCaja(r);
    resto = &resto_;
    programar();
}

Contestador::~Contestador()
{
    resto = nullptr;
    cola.removeIf([this](const auto &r) { return propias_.contains(r.second); });
}

QStringList Contestador::vistas() const
{
    QStringList r;
    for (const auto &v : propias_ + resto_)
        if (v->vista)
            r << (QStringList{v->titulo, v->texto} + v->botones).join('|');
    return r;
}

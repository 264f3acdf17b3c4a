#include "support.h"

#include "platform/host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <memory>

RaizTemporal::RaizTemporal()
{
    Host::setRoot(dir_.path());
}

RaizTemporal::~RaizTemporal()
{
    Host::setRoot(QString());
}

QString RaizTemporal::raiz() const
{
    return dir_.path();
}

QString RaizTemporal::ruta(const QString &absoluta) const
{
    return dir_.path() + absoluta;
}

void RaizTemporal::crearDirectorio(const QString &absoluta) const
{
    QDir().mkpath(ruta(absoluta));
}

void RaizTemporal::escribir(const QString &absoluta, const QByteArray &contenido) const
{
    const QString p = ruta(absoluta);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write test file %s", qPrintable(p));
    f.write(contenido);
}

QByteArray RaizTemporal::leer(const QString &absoluta) const
{
    QFile f(ruta(absoluta));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool RaizTemporal::existe(const QString &absoluta) const
{
    return QFileInfo::exists(ruta(absoluta));
}

Grabador::Grabador()
{
    Host::setRunner([this](const QString &c) {
        comandos.append(c);
        return accion ? accion(c) : 0;
    });
    Host::setArgvRunner([this](const QStringList &v) {
        vectores.append(v);
        return accionVector ? accionVector(v) : 0;
    });
}

Grabador::~Grabador()
{
    Host::setRunner(nullptr);
    Host::setArgvRunner(nullptr);
}

std::shared_ptr<bool> responderModal(std::function<void(QWidget *)> respuesta)
{
    auto hecho = std::make_shared<bool>(false);
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, hecho, respuesta]() {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || !w->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        *hecho = true;
        respuesta(w);
    });
    timer->start();
    return hecho;
}

static void describir(QMessageBox *caja, CajaVista &vista)
{
    vista.vista = true;
    vista.titulo = caja->windowTitle();
    vista.texto = caja->text();
    for (QAbstractButton *b : caja->buttons())
        vista.botones.append(b->text());
}

QAbstractButton *botonConTexto(QMessageBox *caja, const QString &texto)
{
    for (QAbstractButton *b : caja->buttons())
        if (b->text() == texto)
            return b;
    return nullptr;
}

std::shared_ptr<CajaVista> responderCaja(const QString &textoBoton)
{
    auto vista = std::make_shared<CajaVista>();
    responderModal([vista, textoBoton](QWidget *w) {
        auto *caja = qobject_cast<QMessageBox *>(w);
        if (!caja) {
            w->close();
            return;
        }
        describir(caja, *vista);
        QAbstractButton *b = botonConTexto(caja, textoBoton);
        if (b)
            b->click();
        else
            caja->done(-1); // unknown button: end it so the test fails, not hangs
    });
    return vista;
}

std::shared_ptr<CajaVista> responderCajaConTecla(int tecla)
{
    auto vista = std::make_shared<CajaVista>();
    responderModal([vista, tecla](QWidget *w) {
        if (auto *caja = qobject_cast<QMessageBox *>(w))
            describir(caja, *vista);
        QTest::keyClick(w, static_cast<Qt::Key>(tecla));
    });
    return vista;
}

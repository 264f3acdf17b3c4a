#ifndef TALVORA_TEST_SUPPORT_H
#define TALVORA_TEST_SUPPORT_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class QAbstractButton;
class QMessageBox;
class QWidget;

// A temporary directory standing in for "/": Host::path maps fixed paths
// under it for as long as the object lives.
class RaizTemporal
{
public:
    RaizTemporal();
    ~RaizTemporal();
    RaizTemporal(const RaizTemporal &) = delete;
    RaizTemporal &operator=(const RaizTemporal &) = delete;

    QString raiz() const;
    QString ruta(const QString &absoluta) const; // same mapping as Host::path
    void crearDirectorio(const QString &absoluta) const;
    void escribir(const QString &absoluta, const QByteArray &contenido) const;
    QByteArray leer(const QString &absoluta) const;
    bool existe(const QString &absoluta) const;

private:
    QTemporaryDir dir_;
};

// Records every command line instead of running it. 'accion', if set, is
// called with each command (to fake its effect or run it for real).
class Grabador
{
public:
    Grabador();
    ~Grabador();
    Grabador(const Grabador &) = delete;
    Grabador &operator=(const Grabador &) = delete;

    QStringList comandos;
    QList<QStringList> vectores;
    std::function<int(const QString &)> accion;
    std::function<int(const QStringList &)> accionVector;
};

// Arms a timer that waits for the next modal widget (message box, input
// dialog) and hands it to 'respuesta', once. Returns a flag that turns true
// when it has been answered.
std::shared_ptr<bool> responderModal(std::function<void(QWidget *)> respuesta);

// Answers the next message box by checking its caption and text, then
// clicking the button with the given text. 'vista' receives what was shown.
struct CajaVista {
    QString titulo;
    QString texto;
    QStringList botones;
    bool vista = false;
};
std::shared_ptr<CajaVista> responderCaja(const QString &textoBoton);
// Same, but presses a key (Qt::Key_Escape, Qt::Key_Return) on the box.
std::shared_ptr<CajaVista> responderCajaConTecla(int tecla);

QAbstractButton *botonConTexto(QMessageBox *caja, const QString &texto);

#endif

#include "firewalldialog/firewallimpl.h"

#include "firewalldialog/reglas.h"
#include "mainwindow/corredor.h"
#include "platform/avisos.h"
#include "platform/texto.h"

#include <QEvent>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace {

// A question whose negative answer comes first and is the default.
bool confirmar(QWidget *padre, const QString &titulo, const QString &texto, const QString &si)
{
    QMessageBox caja(QMessageBox::Warning, titulo, texto, QMessageBox::NoButton, padre);
    // Same role for both, so the box keeps them in this order.
    QPushButton *no = caja.addButton(QStringLiteral("No (Cancelar)"), QMessageBox::ActionRole);
    QPushButton *boton = caja.addButton(si, QMessageBox::ActionRole);
    caja.setDefaultButton(no);
    caja.setEscapeButton(no);
    caja.exec();
    return caja.clickedButton() == boton;
}

} // namespace

firewallimpl::firewallimpl(const Sistema &sistema, QWidget *parent, const char *name)
    : firewall(parent, name, false, Qt::WindowFlags()), sistema_(sistema),
      corredor_(new Corredor(sistema, this))
{
    titulo_ = TextLabel1->text();
    lreglas->installEventFilter(this);
    guardado_ = Filas::guardado(sistema_); // looks at files only
    RecargarReglas();
}

firewallimpl::~firewallimpl() = default;

// Entering the list with no rule chosen: the first becomes the current one,
// so that a screen reader says it and Down goes to the second. Eliminar
// still acts only on a rule someone moved to.
bool firewallimpl::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == lreglas && evento->type() == QEvent::FocusIn && lreglas->currentRow() < 0
        && lreglas->count() > 0)
        lreglas->setCurrentRow(0);
    return firewall::eventFilter(objeto, evento);
}

void firewallimpl::RecargarReglas()
{
    correr({}, true, [this](const Filas::Hecho &) { decirDuracion(Filas::Cambio::Ninguno); });
}

void firewallimpl::correr(const QList<Filas::Orden> &ordenes, bool releer,
                          std::function<void(const Filas::Hecho &)> despues)
{
    ocupado(true);
    if (releer) {
        lreglas->clear();
        filas_.clear();
    }
    const Sistema sistema = sistema_;
    corredor_->enHilo<Filas::Hecho>(
        [sistema, ordenes, releer] { return Filas::hacer(sistema, ordenes, releer); },
        Filas::sinHilo(ordenes, releer),
        [this, despues](const Filas::Hecho &hecho) {
            ocupado(false);
            if (hecho.lectura)
                dibujar(*hecho.lectura);
            despues(hecho);
        });
}

// While a command runs, nothing may act on a list that is about to change.
void firewallimpl::ocupado(bool si)
{
    for (QWidget *w : QList<QWidget *>{lreglas, PushButton1, PushButton2, PushButton3})
        w->setEnabled(!si);
    PushButton4->setEnabled(!si && guardado_ != Filas::Guardado::Ninguno);
}

void firewallimpl::dibujar(const Filas::Lectura &lectura)
{
    if (!lectura.instantanea) {
        QMessageBox::warning(
            this, QStringLiteral("Error"),
            QStringLiteral("No se pudo leer las reglas de Firewall.\n Intente Recargar..."));
        return;
    }
    TextLabel1->setText(lectura.titulo.isEmpty() ? titulo_ : lectura.titulo);
    if (!lectura.falloNft.isEmpty())
        QMessageBox::warning(this, QStringLiteral("Error"),
                             "No se pudo leer las reglas de nftables (" + lectura.falloNft
                                 + ").\n\nLa lista muestra solo lo que imprime iptables-save.");
    firewalld_ = lectura.firewalld;
    filas_ = lectura.filas;
    // Each entry shows its rule decoded on its own.
    QStringList textos;
    textos.reserve(filas_.size());
    for (const Filas::Fila &fila : std::as_const(filas_))
        textos.append(fila.texto);
    lreglas->addItems(textos);
    Avisos::siFallo(this, lectura.orden, lectura.resultado);
    // The whole title, the part in brackets too, as the list's name: the
    // form's plumbing names a field by its label without what is bracketed.
    QString nombre = TextLabel1->text();
    if (nombre.endsWith(QLatin1Char(':')))
        nombre.chop(1);
    lreglas->setAccessibleName(nombre);
}

// The rule texts come from iptables-save, nft, firewalld and the keyboard,
// so they may hold "$(...)", ";" or quotes: every command gets them as an
// argument vector, never through a shell. They run off the window's thread
// (correr); a failure is told once the list is rebuilt, and stops the
// commands after it.
void firewallimpl::aplicar(const QList<Filas::Orden> &ordenes, Filas::Cambio cambio)
{
    correr(ordenes, true, [this, ordenes, cambio](const Filas::Hecho &h) {
        if (h.fallida < 0) {
            decirDuracion(cambio);
            return;
        }
        const Filas::Orden &o = ordenes.at(h.fallida);
        // A handle that is gone: the ruleset changed since the list was read.
        if (o.argv.value(0) == "nft" && h.resultado.errores.contains("No such file or directory"))
            QMessageBox::warning(this, QStringLiteral("Error"),
                                 QStringLiteral("La regla ya no existe: el cortafuegos "
                                                "cambio desde que se leyo la lista. La lista "
                                                "se leyo otra vez; no se elimino nada."));
        else
            Avisos::siFallo(this, o.linea, h.resultado);
    });
}

void firewallimpl::decirDuracion(Filas::Cambio cambio)
{
    lduracion->setText(Filas::duracion(cambio, guardado_, firewalld_));
}

void firewallimpl::bEliminar()
{
    const int fila = lreglas->currentRow();
    if (fila < 0 || fila >= filas_.size() || lreglas->currentItem()->text().isEmpty())
        return;
    const Filas::Eliminacion eliminacion = Filas::eliminar(filas_.at(fila));
    if (!eliminacion.negativa.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Error"), eliminacion.negativa);
        return;
    }
    if (!confirmar(this, QStringLiteral("Confimacion"),
                   "Desea eliminar la regla:\n\n" + lreglas->currentItem()->text(),
                   QStringLiteral("Si (Aceptar)")))
        return;
    aplicar(eliminacion.ordenes, Filas::cambioAlEliminar(filas_.at(fila)));
}

void firewallimpl::bAgregar()
{
    bool aceptado = false;
    QString pregunta
        = tr("Ingrese la regla\nEjemplo: INPUT -s 65.54.226.254 -j DROP\n\niptables -A");
    if (firewalld_)
        pregunta.prepend(tr("La regla va a iptables: firewalld no la guarda.\n\n"));
    const QString texto = QInputDialog::getText(this, tr("Ingreso de Dato"), pregunta,
                                                QLineEdit::Normal, QString(), &aceptado);
    if (!aceptado || texto.isEmpty())
        return;
    const std::optional<QByteArray> bytes = Texto::codificar(texto, Texto::Codificacion::Utf8);
    if (!bytes) {
        QMessageBox::warning(this, QStringLiteral("Error"),
                             QStringLiteral("La regla tiene caracteres no validos"));
        return;
    }

    // Split as the administrator would expect a shell to split it.
    const QByteArray comando = "iptables -A" + *bytes;
    Reglas::Fallo fallo = Reglas::Fallo::ComillaAbierta;
    const std::optional<QByteArrayList> argv = Reglas::dividirComoShell(comando, &fallo);
    if (!argv) {
        QMessageBox::warning(this, QStringLiteral("Error"),
                             fallo == Reglas::Fallo::BarraFinal
                                 ? QStringLiteral("La regla termina en una barra invertida sola")
                                 : QStringLiteral("La regla tiene una comilla sin cerrar"));
        return;
    }
    aplicar({{comando, *argv}},
            firewalld_ ? Filas::Cambio::AManoConFirewalld : Filas::Cambio::Iptables);
}

void firewallimpl::bBloquearIp()
{
    bool aceptado = false;
    const QString texto = QInputDialog::getText(
        this, tr("Ingreso de Dato"), tr("Ingrese el IP a bloquear\nEjemplo: 65.54.226.254\n\nIP?"),
        QLineEdit::Normal, QString(), &aceptado);
    const QString ip = texto.trimmed(); // pasted with blanks around it
    if (!aceptado || ip.isEmpty())
        return;
    const std::optional<Reglas::Red> red = Reglas::red(ip);
    if (!red) {
        QMessageBox::warning(this, QStringLiteral("Error"),
                             QStringLiteral("Direccion IP no valida"));
        return;
    }
    const QString pregunta = Filas::preguntaAmplia(*red);
    if (!pregunta.isEmpty()
        && !confirmar(this, QStringLiteral("Confirmacion"), pregunta,
                      QStringLiteral("Si (Bloquear)")))
        return;
    aplicar(Filas::bloquear(red->texto, firewalld_),
            firewalld_ ? Filas::Cambio::Firewalld : Filas::Cambio::Iptables);
}

void firewallimpl::bGuardar()
{
    if (guardado_ == Filas::Guardado::Ninguno)
        return;
    const Filas::Orden orden = Filas::guardar(guardado_);
    correr({orden}, false, [this, orden](const Filas::Hecho &h) {
        if (h.fallida < 0)
            decirDuracion(Filas::Cambio::Guardado);
        Avisos::siFallo(this, orden.linea, h.resultado);
    });
}

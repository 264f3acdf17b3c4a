#include "firewalldialog/firewallimpl.h"

#include "firewalldialog/reglas.h"
#include "platform/avisos.h"
#include "platform/texto.h"
#include "rutas.h"

#include <QEvent>
#include <QFile>
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

QString ultimaLinea(const QByteArray &texto)
{
    return Texto::decodificar(texto.trimmed().split('\n').constLast());
}

} // namespace

firewallimpl::firewallimpl(const Sistema &sistema, QWidget *parent, const char *name)
    : firewall(parent, name, false, Qt::WindowFlags()), sistema_(sistema)
{
    titulo_ = TextLabel1->text();
    lreglas->installEventFilter(this);
    guardado_ = Filas::guardado(sistema_);
    PushButton4->setEnabled(guardado_ != Filas::Guardado::Ninguno);
    RecargarReglas();
    decirDuracion(Filas::Cambio::Ninguno);
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
    lreglas->clear();
    filas_.clear();
    const QString instantanea = sistema_.ruta(QString::fromUtf8(Rutas::Instantanea));
    const QByteArray orden = "iptables-save >" + QFile::encodeName(instantanea);
    const Sistema::Resultado resultado = sistema_.ejecutar(orden);
    const std::optional<QByteArray> contenido = Sistema::leerArchivo(instantanea);
    if (!contenido) {
        QMessageBox::warning(
            this, QStringLiteral("Error"),
            QStringLiteral("No se pudo leer las reglas de Firewall.\n Intente Recargar..."));
        return;
    }
    const std::optional<QList<Nftables::Regla>> nft = leerNft(*contenido);
    // firewall-cmd is a Python program: not started where it is not installed.
    firewalld_ = Sistema::existe(sistema_.rutaBytes(Rutas::FirewallCmd))
                 && sistema_.ejecutarPrograma({"firewall-cmd", "--state"}).bien();
    QByteArrayList ricas;
    if (firewalld_) {
        const Sistema::Resultado r
            = sistema_.ejecutarPrograma({"firewall-cmd", "--list-rich-rules"});
        for (const QByteArrayView linea : Texto::lineas(r.salida))
            if (!linea.isEmpty())
                ricas.append(linea.toByteArray());
    }
    filas_ = Filas::componer(Reglas::leerInstantanea(*contenido), nft, ricas);
    // Each entry shows its rule decoded on its own.
    QStringList textos;
    textos.reserve(filas_.size());
    for (const Filas::Fila &fila : std::as_const(filas_))
        textos.append(fila.texto);
    lreglas->addItems(textos);
    Avisos::siFallo(this, orden, resultado);
    // The whole title, the part in brackets too, as the list's name: the
    // form's plumbing names a field by its label without what is bracketed.
    QString nombre = TextLabel1->text();
    if (nombre.endsWith(QLatin1Char(':')))
        nombre.chop(1);
    lreglas->setAccessibleName(nombre);
}

// nft's reading, or nothing: on a legacy host; or, told, when nft is missing
// or fails, and then the list holds iptables' rows alone. A missing nft is
// a lasting state of the host, said in the title; a failure, in a box.
std::optional<QList<Nftables::Regla>> firewallimpl::leerNft(const QByteArray &instantanea)
{
    TextLabel1->setText(titulo_);
    if (!Filas::consultarNft(instantanea))
        return std::nullopt;
    if (!Sistema::existe(sistema_.rutaBytes(Rutas::Nft))) {
        if (Filas::faltaNft(instantanea))
            TextLabel1->setText(QStringLiteral(
                "Solo las reglas de iptables: nft no esta instalado y puede haber otras:"));
        return std::nullopt;
    }
    QString fallo;
    const Sistema::Resultado r = sistema_.ejecutarPrograma({"nft", "-j", "-a", "list", "ruleset"});
    std::optional<QList<Nftables::Regla>> reglas;
    if (!r.bien())
        fallo = QStringLiteral("nft termino con error (codigo %1): %2")
                    .arg(r.estado)
                    .arg(ultimaLinea(r.errores));
    else if (!(reglas = Nftables::leer(r.salida, &fallo)))
        fallo = "nft imprimio algo inesperado: " + fallo;
    if (reglas)
        return reglas;
    TextLabel1->setText(QStringLiteral("Solo las reglas de iptables: no se pudo leer nftables:"));
    QMessageBox::warning(this, QStringLiteral("Error"),
                         "No se pudo leer las reglas de nftables (" + fallo
                             + ").\n\nLa lista muestra solo lo que imprime iptables-save.");
    return std::nullopt;
}

// The rule texts come from iptables-save, nft, firewalld and the keyboard,
// so they may hold "$(...)", ";" or quotes: every command gets them as an
// argument vector, never through a shell. A failure is told once the list is
// rebuilt, and stops the commands after it.
void firewallimpl::ejecutar(const QList<Filas::Orden> &ordenes, Filas::Cambio cambio)
{
    for (const Filas::Orden &o : ordenes) {
        const Sistema::Resultado resultado = sistema_.ejecutarPrograma(o.argv);
        if (!resultado.bien()) {
            RecargarReglas();
            // A handle that is gone: the ruleset changed since the list was read.
            if (o.argv.value(0) == "nft" && resultado.errores.contains("No such file or directory"))
                QMessageBox::warning(this, QStringLiteral("Error"),
                                     QStringLiteral("La regla ya no existe: el cortafuegos "
                                                    "cambio desde que se leyo la lista. La lista "
                                                    "se leyo otra vez; no se elimino nada."));
            else
                Avisos::siFallo(this, o.linea, resultado);
            return;
        }
    }
    RecargarReglas();
    decirDuracion(cambio);
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
    ejecutar(eliminacion.ordenes, Filas::cambioAlEliminar(filas_.at(fila)));
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
    ejecutar({{comando, *argv}},
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
    ejecutar(Filas::bloquear(red->texto, firewalld_),
             firewalld_ ? Filas::Cambio::Firewalld : Filas::Cambio::Iptables);
}

void firewallimpl::bGuardar()
{
    if (guardado_ == Filas::Guardado::Ninguno)
        return;
    const Filas::Orden orden = Filas::guardar(guardado_);
    const Sistema::Resultado resultado = sistema_.ejecutarPrograma(orden.argv);
    if (resultado.bien())
        decirDuracion(Filas::Cambio::Guardado);
    Avisos::siFallo(this, orden.linea, resultado);
}

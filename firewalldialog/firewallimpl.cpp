#include "firewalldialog/firewallimpl.h"

#include "firewalldialog/reglas.h"
#include "mainwindow/comandos.h"
#include "platform/avisos.h"
#include "platform/texto.h"
#include "rutas.h"

#include <QFile>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

firewallimpl::firewallimpl(QWidget *parent, const char *name)
    : firewall(parent, name, false, Qt::WindowFlags())
{
    RecargarReglas();
}

firewallimpl::~firewallimpl() = default;

void firewallimpl::RecargarReglas()
{
    lreglas->clear();
    reglas_.clear();
    const QString instantanea = Sistema::ruta(QString::fromUtf8(Rutas::Instantanea));
    const QByteArray orden = "iptables-save >" + QFile::encodeName(instantanea);
    const Sistema::Resultado resultado = Comandos::ejecutar(orden);
    const std::optional<QByteArray> contenido = Sistema::leerArchivo(instantanea);
    if (!contenido) {
        QMessageBox::warning(
            this, QStringLiteral("Error"),
            QStringLiteral("No se pudo leer las reglas de Firewall.\n Intente Recargar..."));
        return;
    }
    // Each entry shows its rule decoded on its own.
    reglas_ = Reglas::leerInstantanea(*contenido);
    QStringList textos;
    textos.reserve(reglas_.size());
    for (const QByteArray &regla : std::as_const(reglas_))
        textos.append(Texto::decodificar(regla));
    lreglas->addItems(textos);
    Avisos::siFallo(this, orden, resultado);
}

// The rule texts come from iptables-save and from the keyboard, so they may
// hold "$(...)", ";" or quotes: iptables gets them as an argument vector,
// never through a shell. A failure is told once the list is rebuilt.
void firewallimpl::ejecutarIptables(const QByteArray &comando,
                                    const std::optional<QByteArrayList> &argumentos)
{
    if (!argumentos) {
        QMessageBox::warning(this, QStringLiteral("Error"),
                             QStringLiteral("La regla tiene una comilla sin cerrar"));
        return;
    }
    const Sistema::Resultado resultado = Comandos::ejecutar(*argumentos);
    RecargarReglas();
    Avisos::siFallo(this, comando, resultado);
}

void firewallimpl::bEliminar()
{
    const QListWidgetItem *actual = lreglas->currentItem();
    const QString regla = actual ? actual->text() : QString();
    if (regla.isEmpty())
        return;
    const QByteArray bytes = reglas_.value(lreglas->currentRow());

    QMessageBox caja(QMessageBox::Warning, QStringLiteral("Confimacion"),
                     QStringLiteral("Desea eliminar la regla:\n\n") + regla, QMessageBox::NoButton,
                     this);
    // Same role for both, so the box keeps them in this order.
    QPushButton *no = caja.addButton(QStringLiteral("No (Cancelar)"), QMessageBox::ActionRole);
    QPushButton *si = caja.addButton(QStringLiteral("Si (Aceptar)"), QMessageBox::ActionRole);
    caja.setDefaultButton(no);
    caja.setEscapeButton(no);
    caja.exec();
    if (caja.clickedButton() != si)
        return;

    // The rule's bytes as iptables-save quoted them.
    const QByteArray comando = "iptables -D " + bytes;
    ejecutarIptables(comando, Reglas::dividir(comando));
}

void firewallimpl::bAgregar()
{
    bool aceptado = false;
    const QString texto = QInputDialog::getText(
        this, tr("Ingreso de Dato"),
        tr("Ingrese la regla\nEjemplo: INPUT -s 65.54.226.254 -j DROP\n\niptables -A"),
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
    ejecutarIptables(comando, Reglas::dividirComoShell(comando));
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
    if (!Reglas::esIPv4(ip)) {
        QMessageBox::warning(this, QStringLiteral("Error"),
                             QStringLiteral("Direccion IP no valida"));
        return;
    }

    const QByteArray comando = "iptables -A INPUT -s " + ip.toLatin1() + " -j DROP"; // ASCII
    ejecutarIptables(comando, Reglas::dividir(comando));
}

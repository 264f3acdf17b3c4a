#include "configdialog/confimpl.h"

#include "settings/ajustes.h"

#include <QLineEdit>
#include <QMessageBox>

namespace {

// The fields are the only working copy: each is named after its setting.
QLineEdit *campo(const QWidget *dialogo, const QString &clave)
{
    QLineEdit *c = dialogo->findChild<QLineEdit *>(clave);
    Q_ASSERT_X(c, "confimpl", "no field for a setting");
    return c;
}

void llenar(const QWidget *dialogo, QString (*valor)(const QString &))
{
    for (const QString &clave : Ajustes::claves())
        campo(dialogo, clave)->setText(valor(clave));
}

} // namespace

confimpl::confimpl(QWidget *parent, const char *name) : conf(parent, name, false)
{
    llenar(this, Ajustes::valor);
}

void confimpl::bAplicar_Click()
{
    QStringList textos;
    for (const QString &clave : Ajustes::claves())
        textos.append(campo(this, clave)->text());

    // The file is replaced whole or not at all, and memory follows only a
    // save that really happened: the next start must see what runs now.
    if (!Ajustes::guardar(textos)) {
        QMessageBox::warning(this, QStringLiteral("Error"),
                             QStringLiteral("No se pudo escribir el Archivo"));
        return;
    }
    Ajustes::asignar(textos);
}

void confimpl::bCancelar_Click()
{
    // reject() has already closed the dialog; the edits are dropped.
}

void confimpl::bPordefecto_Click()
{
    llenar(this, Ajustes::porDefecto);
}

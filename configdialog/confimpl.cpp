#include "configdialog/confimpl.h"

#include "platform/avisos.h"
#include "settings/ajustes.h"

#include <QComboBox>

#include <QLineEdit>

namespace {

// The fields are the only working copy: each is named after its setting.
QLineEdit *campo(const QWidget *dialogo, const QString &clave)
{
    QLineEdit *c = dialogo->findChild<QLineEdit *>(clave);
    Q_ASSERT_X(c, "confimpl", "no field for a setting");
    return c;
}

void llenar(const QWidget *dialogo, const QByteArrayList &valores)
{
    for (int i = 0; i < Ajustes::Cantidad; ++i)
        campo(dialogo, Ajustes::claves().at(i))->setText(Ajustes::mostrar(valores.at(i)));
}

} // namespace

confimpl::confimpl(const Sistema &sistema, Ajustes &ajustes, QWidget *parent, const char *name)
    : conf(parent, name, false), sistema_(sistema), ajustes_(&ajustes)
{
    llenar(this, ajustes.valores());
    // "Por Defecto" takes the profile that fits this machine, or the one chosen.
    for (const Ajustes::Perfil p : Ajustes::Perfiles)
        cbPerfil->addItem(Ajustes::nombre(p), static_cast<int>(p));
    cbPerfil->setCurrentIndex(
        cbPerfil->findData(static_cast<int>(Ajustes::perfilDelSistema(sistema_))));
}

void confimpl::bAplicar_Click()
{
    if (!ajustes_)
        return;
    // Cleaned once, so that the file and the running program hold the same
    // values: a pasted line break would otherwise run as two commands now
    // and as one after the next start.
    QStringList textos;
    for (const QString &clave : Ajustes::claves())
        textos.append(campo(this, clave)->text());
    // Fields left alone keep their bytes, whatever their encoding.
    const std::optional<QByteArrayList> valores = Ajustes::editar(ajustes_->valores(), textos);

    // The file is replaced whole or not at all, and memory follows only a
    // save that really happened: the next start must see what runs now.
    if (!valores || !Ajustes::guardar(sistema_, *valores)) {
        Avisos::noSePudoEscribir(this);
        return;
    }
    ajustes_->asignar(*valores);
}

void confimpl::bCancelar_Click()
{
    // reject() has already closed the dialog; the edits are dropped.
}

void confimpl::bPordefecto_Click()
{
    llenar(this, Ajustes::valoresDe(static_cast<Ajustes::Perfil>(cbPerfil->currentData().toInt())));
}

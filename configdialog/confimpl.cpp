#include "configdialog/confimpl.h"

#include "platform/avisos.h"
#include "settings/ajustes.h"

#include <QComboBox>
#include <QLabel>

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
    for (const QString &clave : Ajustes::claves())
        mostrados_.append(campo(this, clave)->text());
    connect(&ajustes, &Ajustes::cambiados, this, &confimpl::seguirAjustes);
    // "Por Defecto" takes the profile that fits this machine, or the one chosen.
    // On Linux Qt names a combo box by its value and leaves its name to a
    // label: an unseen one names the profile's.
    auto *nombrePerfil = new QLabel(cbPerfil->accessibleName(), cbPerfil->parentWidget());
    nombrePerfil->setBuddy(cbPerfil);
    nombrePerfil->hide();
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
    // Against what memory holds now: a field not edited here shows it (a
    // save in another dialog reached it through seguirAjustes), so only the
    // fields edited here change, and fields left alone keep their bytes,
    // whatever their encoding.
    QStringList textos;
    for (const QString &clave : Ajustes::claves())
        textos.append(campo(this, clave)->text());
    const std::optional<QByteArrayList> valores = Ajustes::editar(ajustes_->valores(), textos);

    // The file is replaced whole or not at all, and memory follows only a
    // save that really happened: the next start must see what runs now.
    if (!valores || !Ajustes::guardar(sistema_, *valores)) {
        Avisos::noSePudoEscribir(this);
        return;
    }
    ajustes_->asignar(*valores);
}

// Another dialog saved: the fields not edited here show the new values.
void confimpl::seguirAjustes()
{
    const QByteArrayList valores = ajustes_->valores();
    for (int i = 0; i < Ajustes::Cantidad; ++i) {
        QLineEdit *c = campo(this, Ajustes::claves().at(i));
        if (c->text() != mostrados_.at(i))
            continue;
        mostrados_[i] = Ajustes::mostrar(valores.at(i));
        c->setText(mostrados_.at(i));
    }
}

void confimpl::bCancelar_Click()
{
    // reject() has already closed the dialog; the edits are dropped.
}

void confimpl::bPordefecto_Click()
{
    llenar(this, Ajustes::valoresDe(static_cast<Ajustes::Perfil>(cbPerfil->currentData().toInt())));
}

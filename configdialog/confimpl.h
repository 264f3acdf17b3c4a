#ifndef TALVORA_CONFIMPL_H
#define TALVORA_CONFIMPL_H

// The configuration dialog's controller: fills the 44 fields from the
// settings, and saves them or puts the defaults in on request. Several may
// be open: each saves only what was edited in it, and shows what another
// saved in the fields it has not touched.

#include "configdialog/conf.h"
#include "platform/sistema.h"

#include <QPointer>

class Ajustes;

class confimpl : public conf
{
    Q_OBJECT

public:
    confimpl(const Sistema &sistema, Ajustes &ajustes, QWidget *parent = nullptr,
             const char *name = nullptr);

private slots:
    void bAplicar_Click() override;
    void bCancelar_Click() override;
    void bPordefecto_Click() override;

private:
    void seguirAjustes();

    const Sistema sistema_;
    QPointer<Ajustes> ajustes_; // the main window's, which may go first at the end of the run
    // Each field's text as this dialog last showed it: a field still
    // holding it was not edited here.
    QStringList mostrados_;
};

#endif

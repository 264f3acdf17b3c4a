#ifndef TALVORA_CONF_H
#define TALVORA_CONF_H

// The configuration dialog's form, laid out in conf.ui: the 44 setting
// fields, each named after its setting, the buttons and their connections.
// Its slots only warn until confimpl gives them a body.

#include "ui_conf.h"

#include <QDialog>

class conf : public QDialog, public Ui::conf
{
    Q_OBJECT

public:
    explicit conf(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                  Qt::WindowFlags fl = Qt::WindowFlags());
    ~conf() override;

public slots:
    virtual void bAplicar_Click();
    virtual void bCancelar_Click();
    virtual void bPordefecto_Click();
};

#endif

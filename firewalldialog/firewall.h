#ifndef TALVORA_FIREWALL_H
#define TALVORA_FIREWALL_H

// The firewall dialog's form, laid out in firewall.ui: the rule list and
// its four buttons, and a line on how long a change lasts. Its slots only
// warn until firewallimpl gives them a body.

#include "ui_firewall.h"

#include <QDialog>

class firewall : public QDialog, public Ui::firewall
{
    Q_OBJECT

public:
    explicit firewall(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                      Qt::WindowFlags fl = Qt::WindowFlags());
    ~firewall() override;

public slots:
    virtual void bAgregar();
    virtual void bEliminar();
    virtual void bBloquearIp();
    virtual void bGuardar();
};

#endif

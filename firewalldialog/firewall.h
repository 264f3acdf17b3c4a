#ifndef TALVORA_FIREWALL_H
#define TALVORA_FIREWALL_H

// The firewall dialog's form: the rule list, its three buttons and slots
// whose default body only warns. firewallimpl fills them.

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

class firewall : public QDialog
{
    Q_OBJECT

public:
    explicit firewall(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                      Qt::WindowFlags fl = Qt::WindowFlags());
    ~firewall() override;

    QPushButton *PushButton1;
    QPushButton *PushButton2;
    QPushButton *PushButton3;
    QListWidget *lreglas;
    QLabel *TextLabel1;

public slots:
    virtual void bAgregar();
    virtual void bEliminar();
    virtual void bBloquearIp();
};

#endif

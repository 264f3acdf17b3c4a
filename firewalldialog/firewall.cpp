#include "firewalldialog/firewall.h"
firewall::firewall(QWidget *parent, const char *, bool modal, Qt::WindowFlags fl) : QDialog(parent, fl)
{
    setModal(modal);
}

#ifndef TALVORA_FIREWALLIMPL_H
#define TALVORA_FIREWALLIMPL_H
#include "firewalldialog/firewall.h"
class firewallimpl : public firewall
{
    Q_OBJECT
public:
    explicit firewallimpl(QWidget *parent = nullptr, const char *name = nullptr);
};
#endif

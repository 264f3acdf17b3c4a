#include "firewalldialog/firewallimpl.h"
firewallimpl::firewallimpl(QWidget *parent, const char *name) : firewall(parent, name, false) {}

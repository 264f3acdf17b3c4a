#include "configdialog/confimpl.h"
confimpl::confimpl(QWidget *parent, const char *name) : conf(parent, name, false) {}

#include "configdialog/conf.h"
conf::conf(QWidget *parent, const char *, bool modal, Qt::WindowFlags fl) : QDialog(parent, fl)
{
    setModal(modal);
}

#ifndef TALVORA_CONFIMPL_H
#define TALVORA_CONFIMPL_H
#include "configdialog/conf.h"
class confimpl : public conf
{
    Q_OBJECT
public:
    explicit confimpl(QWidget *parent = nullptr, const char *name = nullptr);
};
#endif

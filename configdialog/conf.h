#ifndef TALVORA_CONF_H
#define TALVORA_CONF_H
#include <QDialog>
class conf : public QDialog
{
    Q_OBJECT
public:
    explicit conf(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                  Qt::WindowFlags fl = Qt::WindowFlags());
};
#endif

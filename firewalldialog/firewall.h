#ifndef TALVORA_FIREWALL_H
#define TALVORA_FIREWALL_H
#include <QDialog>
class firewall : public QDialog
{
    Q_OBJECT
public:
    explicit firewall(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                      Qt::WindowFlags fl = Qt::WindowFlags());
};
#endif

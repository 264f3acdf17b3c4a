#ifndef TALVORA_FIREWALLIMPL_H
#define TALVORA_FIREWALLIMPL_H

// The firewall dialog's controller: lists the filter rules from a fresh
// iptables-save snapshot, and deletes, appends or blocks through iptables.

#include "firewalldialog/firewall.h"
#include "platform/sistema.h"

#include <optional>

class firewallimpl : public firewall
{
    Q_OBJECT

public:
    explicit firewallimpl(const Sistema &sistema, QWidget *parent = nullptr,
                          const char *name = nullptr);
    ~firewallimpl() override;

private slots:
    void bEliminar() override;
    void bAgregar() override;
    void bBloquearIp() override;

private:
    void RecargarReglas();
    void ejecutarIptables(const QByteArray &comando,
                          const std::optional<QByteArrayList> &argumentos);

    // Row by row, the bytes that iptables-save printed for each listed rule:
    // a deletion names exactly them, whatever the list shows.
    QByteArrayList reglas_;
    const Sistema sistema_;
};

#endif

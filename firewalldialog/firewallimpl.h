#ifndef TALVORA_FIREWALLIMPL_H
#define TALVORA_FIREWALLIMPL_H

// The firewall dialog's controller: lists what filters (iptables-save's
// snapshot, nft's ruleset, firewalld's rich rules), runs what Filas decides
// for each button and says how long a change lasts. Every command runs off
// the window's thread; meanwhile the list and its buttons wait, disabled.

#include "firewalldialog/filas.h"
#include "firewalldialog/firewall.h"
#include "platform/sistema.h"

class Corredor;

class firewallimpl : public firewall
{
    Q_OBJECT

public:
    explicit firewallimpl(const Sistema &sistema, QWidget *parent = nullptr,
                          const char *name = nullptr);
    ~firewallimpl() override;

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private slots:
    void bEliminar() override;
    void bAgregar() override;
    void bBloquearIp() override;
    void bGuardar() override;

private:
    void RecargarReglas(); // the first reading
    // Runs `ordenes` and, when `releer`, reads the list again, off this
    // thread; `despues` follows here once the list is drawn.
    void correr(const QList<Filas::Orden> &ordenes, bool releer,
                std::function<void(const Filas::Hecho &)> despues);
    void ocupado(bool si);
    void dibujar(const Filas::Lectura &lectura);
    void aplicar(const QList<Filas::Orden> &ordenes, Filas::Cambio cambio);
    void decirDuracion(Filas::Cambio cambio);

    // Row by row, where each listed rule comes from and the bytes or handle
    // that name it: a deletion names exactly them, whatever the list shows.
    QList<Filas::Fila> filas_;
    bool firewalld_ = false;
    QString titulo_; // the list's title when it holds everything
    Filas::Guardado guardado_ = Filas::Guardado::Ninguno;
    const Sistema sistema_;
    Corredor *corredor_; // a child: gone with the dialog, its command left to end
};

#endif

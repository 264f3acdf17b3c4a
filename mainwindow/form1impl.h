#ifndef TALVORA_FORM1IMPL_H
#define TALVORA_FORM1IMPL_H

// The main window's controller: start-up, menus, and drawing what the
// board (tablero) says of each row. What an action does, and when a row is
// looked at again, is decided in the core; this class draws states, enables
// buttons and asks questions.

#include "mainwindow/anuncios.h"
#include "mainwindow/estado.h"
#include "mainwindow/form1base.h"
#include "mainwindow/servicios.h"
#include "mainwindow/tablero.h"
#include "platform/sistema.h"
#include "platform/texto.h"

#include <QTimer>

#include <array>
#include <optional>

namespace Accesos {
class HostsAllow;
}
class Corredor;
class QAction;
class QPushButton;

class form1 : public form1Base
{
    Q_OBJECT

public:
    form1(const Sistema &sistema, Ajustes &ajustes, QWidget *parent = nullptr,
          const char *name = nullptr, bool modal = false, Qt::WindowFlags fl = Qt::WindowFlags());
    ~form1() override;

    // The one entry point of every service action, for the buttons and the
    // menus alike: the board decides and runs it.
    void actuar(Servicio servicio, Accion accion);
    // What a row shows, and drawing it.
    std::optional<Estado> estado(Servicio servicio) const;
    void mostrar(Servicio servicio, Estado estado);

    Tablero &tablero() const { return *tablero_; }
    // Said to a screen reader without moving the focus; urgent ones over
    // whatever it is reading.
    void anunciar(const QString &texto, bool urgente);
    QString ultimoAnuncio() const { return ultimoAnuncio_; }

protected:
    void changeEvent(QEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private slots:
    void bIniciarGate_Click() override;
    void bIniciarSquid_Click() override;
    void bIniciarHttpd_Click() override;
    void bIniciarSamba_Click() override;
    void bIniciarSendmail_Click() override;
    void bIniciarDns_Click() override;
    void bIniciarXinetd_Click() override;
    void bIniciarTelnet_Click() override;
    void bIniciarFtp_Click() override;
    void bIniciarPop3_Click() override;
    void bIniciarSwat_Click() override;
    void bAplicarHostsAllow_Click() override;
    void bDetenerGate_Click() override;
    void bDetenerSquid_Click() override;
    void bDetenerHttpd_Click() override;
    void bDetenerSamba_Click() override;
    void bDetenerSendmail_Click() override;
    void bDetenerDns_Click() override;
    void bDetenerXinetd_Click() override;
    void bDetenerTelnet_Click() override;
    void bDetenerFtp_Click() override;
    void bDetenerPop3_Click() override;
    void bDetenerSwat_Click() override;
    void bReiniciarGate_Click() override;
    void bReiniciarSquid_Click() override;
    void bReiniciarHttpd_Click() override;
    void bReiniciarSamba_Click() override;
    void bReiniciarSendmail_Click() override;
    void bReiniciarDns_Click() override;
    void bReiniciarXinetd_Click() override;
    void bEditarGate_Click() override;
    void bEditarSquid_Click() override;
    void bEditarHttpd_Click() override;
    void bEditarSamba_Click() override;
    void bEditarSendmail_Click() override;
    void bEditarDns_Click() override;
    void bEditarXinetd_Click() override;
    void bEditarFtp_Click() override;
    void bLogSquid_Click() override;
    void bLogHttpd_Click() override;
    void bLogSamba_Click() override;
    void bLogSendmail_Click() override;
    void bLogXinetd_Click() override;
    void bLogHostsAllow_Click() override;
    void bFirewall_Click() override;
    void LeerEstadoGate();
    void LeerEstadoSquid();
    void LeerEstadoHttpd();
    void LeerEstadoSamba();
    void LeerEstadoSendmail();
    void LeerEstadoDns();
    void LeerEstadoXinetd();
    void LeerEstadoTelnet();
    void LeerEstadoFtp();
    void LeerEstadoPop3();
    void LeerEstadoSwat();
    void LeerEstadoHostsAllow();
    void EscribirHostsDeny();
    void EscribirHostsAllow();
    void EscribirFtp();
    void EscribirKorvgate();
    void VerManual();
    void VerAcercade();
    void Configuracion();

private:
    QLabel *etiqueta(Servicio servicio) const;
    void dibujarFila(Servicio servicio, Estado estado, bool ocupada);
    void avisarFallo(const QByteArray &comando, const Sistema::Resultado &resultado);
    bool confiable();
    void avisarSinTcpWrappers();
    void construirMenus();
    QString textoDelEditor() const;
    bool puedeSobrescribir();

    const Sistema sistema_;
    Ajustes *ajustes_;
    Tablero *tablero_ = nullptr;
    Corredor *trabajos_ = nullptr; // the Archivo menu's copies and reloads
    Accesos::HostsAllow *hostsAllow_ = nullptr;
    // What each row shows; empty before its first answer.
    std::array<std::optional<Estado>, std::size(Servicios)> estados_;
    // A row's start, stop and restart, by button and by menu entry: they
    // wait while its commands run.
    std::array<QList<QPushButton *>, std::size(Servicios)> botones_;
    std::array<QList<QAction *>, std::size(Servicios)> entradas_;
    // What a screen reader was last told of each row, whether an action of
    // the administrator is on its way there, and what waits to be said.
    std::array<std::optional<Estado>, std::size(Servicios)> dichos_;
    std::array<bool, std::size(Servicios)> pedidos_{};
    Anuncios::Resumen resumen_;
    QTimer pausaAnuncio_;
    QWidget *anuncio_ = nullptr;
    QString ultimoAnuncio_;
    // hosts.allow is written back in the encoding it was read in.
    Texto::Codificacion codificacionHostsAllow = Texto::Codificacion::Utf8;
};

#endif

#ifndef TALVORA_FORM1IMPL_H
#define TALVORA_FORM1IMPL_H

// The main window's controller: start-up, menus and every action. What the
// actions do to files and commands lives in the units beside it (estado,
// comandos, xinetd, accesos); this class applies their results to the window.

#include "mainwindow/form1base.h"
#include "platform/texto.h"
#include "settings/ajustes.h"

#include <optional>

class form1 : public form1Base
{
    Q_OBJECT

public:
    explicit form1(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false,
                   Qt::WindowFlags fl = Qt::WindowFlags());
    ~form1() override;

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
    using Ranura = void (form1::*)();
    using Clave = Ajustes::Clave;

    // What the window knows of each service: its label, the settings its
    // actions run, where its status lies, when to look again, and the slots
    // its buttons and menu entries reach.
    struct Servicio {
        const char *menu; // its submenu's title
        QLabel *Ui::form1Base::*etiqueta;
        std::optional<Clave> estado; // status file; none for an xinetd-run service
        const char *archivoXinetd;   // its service file in cDirectorioXinetd
        std::optional<Clave> iniciar, detener;
        std::optional<Clave> reiniciar[2]; // run in turn
        std::optional<Clave> editar, log;
        int sondaTardia; // ms after a start or restart, besides the usual one; 0: none
        bool pendiente;  // its label shows "---" while it restarts
        Ranura bIniciar, bDetener, bReiniciar, bEditar, bLog, sondeo;
    };
    enum Indice { Gate, Squid, Httpd, Samba, Sendmail, Dns, Xinetd, Telnet, Ftp, Pop3, Swat };
    static const Servicio servicios[];

    void LeerEstadoArchivo(const QByteArray &ruta, QLabel *etiqueta);
    void LeerArchivoXinetd(const QByteArray &ruta, QLabel *etiqueta);
    void CambiarArchivoXinetd(const QByteArray &ruta, QLabel *etiqueta, int direccion,
                              Ranura sondeo);

    QLabel *etiqueta(Indice i);
    void sondear(Indice i);
    void iniciar(Indice i);
    void detener(Indice i);
    void reiniciar(Indice i);
    void sondearDespues(Indice i, bool tardia);
    void editar(std::optional<Clave> clave);
    void cambiar(Indice i, int direccion);
    void noSePudoEscribir();
    void construirMenus();
    QByteArray archivoXinetd(Indice i) const;
    QString textoHostsAllow() const;

    // hosts.allow is written back in the encoding it was read in.
    Texto::Codificacion codificacionHostsAllow = Texto::Codificacion::Utf8;
};

#endif

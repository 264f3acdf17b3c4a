// Pictures of the three windows, filled with sample content: the main
// window's statuses as it shows them in the palette in force, hosts.allow and
// firewall rules from tests/datos, and the focus on one control, as Tab
// leaves it. demo/capturas-formularios runs it.
//
//   capturas_formularios PREFIJO [--oscuro]
//     saves PREFIJO-principal.png, PREFIJO-configuracion.png and
//     PREFIJO-firewall.png, on a dark palette with --oscuro.
#include "configdialog/confimpl.h"
#include "firewalldialog/firewall.h"
#include "firewalldialog/reglas.h"
#include "platform/formularios.h"
#include "platform/texto.h"
#include "support.h"

namespace {

bool guardar(QDialog *ventana, QWidget *foco, const QString &archivo)
{
    ventana->show();
    ventana->activateWindow();
    if (!QTest::qWaitForWindowActive(ventana))
        return false;
    foco->setFocus(Qt::TabFocusReason);
    return ventana->grab().save(archivo);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Formularios::prepararAplicacion();
    const QStringList argumentos = QApplication::arguments();
    if (argumentos.size() < 2) {
        std::fputs("uso: capturas_formularios PREFIJO [--oscuro]\n", stderr);
        return 2;
    }
    const QString prefijo = argumentos.at(1);
    if (argumentos.contains("--oscuro")) // as a dark desktop theme gives it
        QApplication::setPalette(QPalette(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35)));

    Ventana v; // the main window over a temporary root, menus and all
    form1 &principal = *v.w;
    const std::pair<Servicio, Estado> estados[]
        = {{Servicio::Gate, Estado::On},     {Servicio::Squid, Estado::On},
           {Servicio::Httpd, Estado::Off},   {Servicio::Samba, Estado::Off},
           {Servicio::Sendmail, Estado::On}, {Servicio::Dns, Estado::Error},
           {Servicio::Xinetd, Estado::On},   {Servicio::Telnet, Estado::Off},
           {Servicio::Ftp, Estado::On},      {Servicio::Pop3, Estado::Pendiente},
           {Servicio::Swat, Estado::Error}};
    for (const auto &[servicio, estado] : estados)
        principal.mostrar(servicio, estado);
    principal.mlHostsAllow->setPlainText(
        QString::fromUtf8(muestra("hosts/talvora-hosts.allow") + "in.telnetd: 10.0.0.1\n"));
    principal.mlHostsAllow->document()->setModified(false);

    v.ajustes.asignar(Ajustes::valoresPorDefecto());
    confimpl configuracion(v.sistema(), v.ajustes);

    firewall cortafuegos;
    for (const QByteArray &regla : Reglas::leerInstantanea(muestra("iptables/iptables-3.txt")))
        cortafuegos.lreglas->addItem(Texto::decodificar(regla));

    const bool bien
        = guardar(&principal, principal.bIniciarSquid, prefijo + "-principal.png")
          && guardar(&configuracion, configuracion.cIniciarGate, prefijo + "-configuracion.png")
          && guardar(&cortafuegos, cortafuegos.PushButton2, prefijo + "-firewall.png");
    return bien ? 0 : 1;
}

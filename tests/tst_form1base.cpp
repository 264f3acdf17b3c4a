// The main window's form: its widgets, slots, connections and tab order,
// checked against a table of its own rather than the generator's.
#include "mainwindow/form1base.h"
#include "support.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

// One widget a line: "name Class[@parent] x,y,w,h text|tool tip".
QStringList tablaDeWidgets()
{
    QStringList t = {
        "TextLabel1 QLabel 5,35,120,20 <b>Korv-Gate </b> Router|Servicio korv-gate que maneja un Router de iptables Masquerade",
        "TextLabel2 QLabel 5,65,120,20 <b>Squid</b> Proxy Web|Para iniciarlo por primera vez tipiar en una consola: squid -z para generar los archivos swap",
        "TextLabel2_2 QLabel 5,95,120,20 <b>Httpd</b> Servidor Web|Servidor de Paginas Web (/var/www/html)",
        "TextLabel2_3 QLabel 5,125,135,20 <b>Samba</b> Redes Windows|Permite utilizar sistema de archivos e impresoras Windows",
        "TextLabel2_2_3 QLabel 5,155,140,20 <b>Sendmail</b> Servidor Smtp|Servidor de Envio de Mails Smtp",
        "TextLabel2_2_3_2 QLabel 5,185,135,20 <b>Named</b> Servidor DNS|Servidor de Dns",
        "TextLabel2_2_2 QLabel 5,215,140,25 <b>Xinetd</b> Talvora|Talvora",
        "TextLabel2_2_2_2 QLabel 155,245,40,20 Telnet|Acceso Remoto",
        "TextLabel34 QLabel 155,270,45,20 Ftp|Acceso a archivos",
        "TextLabel35 QLabel 155,295,45,20 Pop3|Permite que los usuarios puedan leer su correo Pop3",
        "TextLabel35_2 QLabel 155,320,45,20 Swat|Configura el servidor samba por pagina web",
        "TextLabel2_2_2_3 QLabel 25,350,80,50 <b>Hosts Allow:</b> Accesos Autorizados|Solamente para los Servicios de Xinetd",
        "mlHostsAllow QPlainTextEdit 115,350,405,125 |",
        "bAplicarHostsAllow QPushButton 20,405,80,31 Aplicar|Guarda y aplica las modificaciones a /etc/hosts.allow",
        "bLogHostsDeny QPushButton 5,440,105,28 Logs Hosts Deny|Log de /var/log/HOSTS.DENY que muestra los accesos No autorizados (Necesita host.deny Por Defecto... Ver Menu Archivo)",
        "PushButton45 QPushButton 20,280,91,25 Firewall|Gestiona el firewall con iptables"};
    // The service rows: a frame holding the status label, and the buttons named
    // in "IDREL" (Iniciar, Detener, Reiniciar, Editar, Logs).
    const QStringList filas = QString("Gate:Frame1:IDRE Squid:Frame2:IDREL Httpd:Frame2_2:IDREL Samba:Frame2_3:IDREL "
                                      "Sendmail:Frame2_2_3:IDREL Dns:Frame2_2_3_2:IDRE Xinetd:Frame2_2_2:IDREL Telnet:Frame2_2_2_2:ID "
                                      "Ftp:Frame2_2_2_2_2:IDE Pop3:Frame2_2_2_2_2_2:ID Swat:Frame2_2_2_2_2_2_2:ID").split(' ');
    const QStringList textos = {"Iniciar", "Detener", "Reiniciar", "Editar", "Logs"};
    const int xs[] = {145, 210, 275, 425, 480}, anchos[] = {60, 60, 60, 50, 40};
    for (int n = 0; n < filas.size(); ++n) {
        const QStringList f = filas[n].split(':');
        const bool xinetd = n >= 7; // lower rows, their buttons a column further right
        const int y = xinetd ? 245 + 25 * (n - 7) : 30 + 30 * n, h = xinetd ? 25 : 30;
        for (QChar c : f[2]) {
            const int i = QString("IDREL").indexOf(c), x = xs[xinetd && i < 2 ? i + 1 : i];
            t << QString("b%1%2 QPushButton %3,%4,%5,%6 %7|").arg(i == 4 ? "Log" : textos[i], f[0]).arg(x).arg(y).arg(anchos[i]).arg(h).arg(textos[i]);
        }
        t << QString("%1 QFrame 345,%2,70,%3 |").arg(f[1]).arg(y).arg(h) << QString("t%1 QLabel@%2 10,5,50,%3 |").arg(f[0], f[1]).arg(xinetd ? 16 : 20);
    }
    return t;
}

} // namespace

class TstForm1Base : public QObject
{
    Q_OBJECT

private slots:
    void forma()
    {
        form1Base f;
        QCOMPARE(f.windowTitle() + QString(" %1x%2").arg(f.width()).arg(f.height()), "Talvora by Korvane 526x481");
        const QStringList tabla = tablaDeWidgets();
        QCOMPARE(tabla.size(), 80);
        QCOMPARE(f.findChildren<QFrame *>().size() + f.findChildren<QPushButton *>().size(), 80);
        for (const QString &fila : tabla) {
            const QString nombre = fila.section(' ', 0, 0), resto = fila.section(' ', 3);
            const QStringList clase = fila.section(' ', 1, 1).split('@'), g = fila.section(' ', 2, 2).split(',');
            QWidget *w = f.findChild<QWidget *>(nombre);
            QVERIFY2(w && f.findChildren<QWidget *>(nombre).size() == 1, qPrintable(nombre));
            QCOMPARE(QString(w->metaObject()->className()), clase[0]);
            QCOMPARE(w->parentWidget()->objectName(), clase.value(1, "form1Base"));
            QCOMPARE(w->geometry(), QRect(g[0].toInt(), g[1].toInt(), g[2].toInt(), g[3].toInt()));
            QCOMPARE(w->property("text").toString(), resto.section('|', 0, 0));
            QCOMPARE(w->toolTip(), resto.section('|', 1));
        }

        // Tab where the order turns: from the last row to the editor, and from its button row to Firewall.
        auto tab = [](QWidget *w) { do w = w->nextInFocusChain(); while (!(w->focusPolicy() & Qt::TabFocus)); return w; };
        QCOMPARE(tab(f.bDetenerSwat), f.mlHostsAllow);
        QCOMPARE(tab(f.bLogHostsDeny), f.PushButton45);

        const QStringList esperados = QStringLiteral(
            "bAplicarHostsAllow bDetenerDns bDetenerFtp bDetenerGate bDetenerHttpd bDetenerPop3 bDetenerSamba bDetenerSendmail "
            "bDetenerSquid bDetenerSwat bDetenerTelnet bDetenerXinetd bEditarDns bEditarFtp bEditarGate bEditarHttpd bEditarSamba "
            "bEditarSendmail bEditarSquid bEditarTelnet bEditarXinetd bIniciarDns bIniciarFtp bIniciarGate bIniciarHttpd "
            "bIniciarPop3 bIniciarSamba bIniciarSendmail bIniciarSquid bIniciarSwat bIniciarTelnet bIniciarXinetd bLogDns bLogFtp "
            "bLogGate bLogHostsAllow bLogHttpd bLogSamba bLogSendmail bLogSquid bLogTelnet bLogXinetd bReiniciarDns "
            "bReiniciarGate bReiniciarHttpd bReiniciarSamba bReiniciarSendmail bReiniciarSquid bReiniciarXinetd bFirewall").split(' ');
        QCOMPARE(slotsPropios(form1Base::staticMetaObject), esperados);

        // Each button reaches its own slot, whose default body only warns; any other warning fails.
        QTest::failOnWarning(QRegularExpression("."));
        for (QPushButton *b : f.findChildren<QPushButton *>()) {
            const QString n = b->objectName(), s = n == "bLogHostsDeny" ? "bLogHostsAllow" : n == "PushButton45" ? "bFirewall" : n;
            QTest::ignoreMessage(QtWarningMsg, qPrintable("form1Base::" + s + "_Click(): Not implemented yet!"));
            b->click();
        }
    }
};

QTEST_MAIN(TstForm1Base)
#include "tst_form1base.moc"

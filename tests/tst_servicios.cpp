// Start, stop, restart, edit and log actions of the init-script services:
// the command lines they run, the re-probes they schedule, and the Samba
// edit precondition.
#include "ventana.h"

static const char *const servicios[][2] = {{"Gate", "korv-gate"}, {"Squid", "squid"}, {"Httpd", "httpd"}, {"Samba", "smb"},
                                           {"Sendmail", "sendmail"}, {"Dns", "named"}, {"Xinetd", "xinetd"}};

class TstServicios : public QObject
{
    Q_OBJECT
private slots:
    void comandos_data();
    void comandos();
    void resondeos();
    void samba();
};

// Rows are named after the slot they call.
void TstServicios::comandos_data()
{
    QTest::addColumn<QStringList>("esperado");
    QTest::addColumn<QList<Ajuste>>("cambios");
    auto fila = [](const QByteArray &nombre, const QStringList &esperado, const QList<Ajuste> &cambios = {}) {
        QTest::newRow(nombre.constData()) << esperado << cambios;
    };
    for (const auto &[servicio, script] : servicios) {
        const QString ruta = QStringLiteral("/etc/rc.d/init.d/") + script;
        fila(QByteArray("bIniciar") + servicio, {ruta + " start"});
        fila(QByteArray("bDetener") + servicio, {ruta + " stop"});
        fila(QByteArray("bReiniciar") + servicio,
             qstrcmp(servicio, "Gate") ? QStringList{ruta + " restart"} : QStringList{ruta + " stop", ruta + " start"});
    }
    const QString editores = "bEditarGate kwrite /etc/rc.d/init.d/korv-gate &;bEditarSquid kwrite /etc/squid/squid.conf &;"
        "bEditarHttpd kwrite /etc/httpd/conf/httpd.conf &;bEditarSendmail kwrite /etc/sendmail.cf &;bEditarDns /usr/bin/"
        "bindconf &;bEditarFtp kwrite /etc/ftpaccess &;bEditarXinetd kfmclient openProfile filemanagement /etc/xinetd.d &;"
        "bLogSquid kwrite /var/log/squid/access.log &;bLogHttpd kwrite /var/log/httpd/access_log &;bLogSamba kfmclient "
        "openProfile filemanagement /var/log/samba &;bLogSendmail kwrite /var/log/maillog &;bLogXinetd kwrite /var/log/secure &";
    for (const QString &e : editores.split(';'))
        fila(e.section(' ', 0, 0).toLatin1(), {e.section(' ', 1)});
    for (const char *s : {"bEditarTelnet", "bLogGate", "bLogDns", "bLogFtp", "bLogTelnet"}) // left to the form
        fila(s, {});
    fila("bEditarGate %editor twice", {"gvim -f /a; gvim -f /b &"},
         {{"cEditor", "gvim -f"}, {"cEditarGate", "%editor /a; %editor /b"}});
    fila("bEditarXinetd editor taken literally, case-sensitive", {"%Editor ed\\1 $0 %editor .*x &"},
         {{"cEditor", "ed\\1 $0 %editor .*"}, {"cEditarXinetd", "%Editor %editorx"}});
    fila("bEditarHttpd empty", {" &"}, {{"cEditarHttpd", ""}});
    fila("bReiniciarGate never runs its own setting", {"off", "on"},
         {{"cReiniciarGate", "NUNCA"}, {"cDetenerGate", "off"}, {"cIniciarGate", "on"}});
}

// Settings change after the window is built: each click reads them anew.
// The slots left to the form keep its warning and run nothing.
void TstServicios::comandos()
{
    QFETCH(QStringList, esperado);
    QFETCH(QList<Ajuste>, cambios);
    const QByteArray slot = QByteArray(QTest::currentDataTag()).split(' ').first() + "_Click";
    Ventana v;
    cambiarAjustes(cambios);
    if (esperado.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, ("form1Base::" + slot + "(): Not implemented yet!").constData());
    Contestador cajas;
    QVERIFY(v.llamar(slot.constData()));
    QCOMPARE(v.grabador.comandos, esperado);
    QCOMPARE(cajas.vistas(), QStringList());
}

// Every start, stop and restart probes its label 2 s after its command
// returned (httpd start and restart also at 5 s), never at once. Three
// windows run the three actions side by side so that one wait covers all.
void TstServicios::resondeos()
{
    Ventana v;
    v.grabador.accion = [](const QString &c) { return QThread::msleep(c.endsWith("httpd start") ? 1000 : 0), 0; }; // a slow start
    form1 detener, reiniciar;
    QList<QLabel *> etiquetas;
    QList<QElapsedTimer> relojes;
    QStringList vistos, esperados;
    const std::pair<form1 *, const char *> acciones[] = {{v.w.get(), "Iniciar"}, {&detener, "Detener"}, {&reiniciar, "Reiniciar"}};
    for (const auto &[ventana, accion] : acciones)
        for (const auto &[servicio, script] : servicios) {
            const QByteArray slot = QByteArray("b") + accion + servicio + "_Click";
            etiquetas << ventana->findChild<QLabel *>(QLatin1Char('t') + QLatin1String(servicio));
            etiquetas.last()->clear();
            QVERIFY(QMetaObject::invokeMethod(ventana, slot.constData()));
            relojes << QElapsedTimer(), relojes.last().start(), vistos << slot;
            QCOMPARE(etiquetas.last()->text(), slot == "bReiniciarXinetd_Click" ? MarcaPendiente : QString());
            esperados << slot + (qstrcmp(servicio, "Httpd") || slot.startsWith("bDetener") ? " 2" : " 2 5");
        }
    // Each probe is noted in whole seconds after its action returned, allowing
    // up to 0.3 s early (coarse timers) and 0.7 s late.
    while (relojes.last().elapsed() < 6300) {
        QTest::qWait(10);
        for (int i = 0; i < etiquetas.size(); ++i)
            if (!etiquetas[i]->text().isEmpty() && etiquetas[i]->text() != MarcaPendiente)
                vistos[i] += ' ' + QString::number((relojes[i].elapsed() + 300) / 1000), etiquetas[i]->clear();
    }
    QCOMPARE(vistos, esperados);
}

// Samba is edited through swat under xinetd: both labels must show exactly
// ON, xinetd asked first.
void TstServicios::samba()
{
    const QString xinetd = "Error|Debe estar iniciado el servicio XINETD|OK", swat = "Error|Debe estar iniciado el servicio SWAT|OK";
    const QStringList casos[] = {{MarcaOff, MarcaOn, xinetd}, {MarcaPendiente, MarcaOn, xinetd}, {MarcaOff, MarcaOff, xinetd},
                                 {MarcaOn + ' ', MarcaOn, xinetd}, {MarcaOn, MarcaError, swat}, {MarcaOn, MarcaOff, swat},
                                 {MarcaOn, MarcaOn, "htmlview http://127.0.0.1:901/ &"}};
    Ventana v;
    for (const QStringList &c : casos) {
        v.grabador.comandos.clear();
        v.w->tXinetd->setText(c[0]), v.w->tSwat->setText(c[1]);
        Contestador cajas;
        v.w->bEditarSamba->click();
        QCOMPARE(cajas.vistas() + v.grabador.comandos, QStringList{c[2]});
    }
}

QTEST_MAIN(TstServicios)
#include "tst_servicios.moc"

// Start, stop, restart, edit and log actions of the init-script services:
// the command lines they run, the re-probes they schedule, and the Samba
// edit precondition.
#include "mainwindow/marcas.h"
#include "ventana.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QtTest>

namespace {

const QString init = QStringLiteral("/etc/rc.d/init.d/");

} // namespace

class TstServicios : public QObject
{
    Q_OBJECT

private slots:
    void comandos_data();
    void comandos();
    void leidoAlPulsar();
    void sinAccion();
    void resondeos();
    void samba_data();
    void samba();
};

void TstServicios::comandos_data()
{
    QTest::addColumn<QList<Ajuste>>("cambios");
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QStringList>("esperado");

    // Default settings: start, stop and restart of every service.
    const struct {
        const char *servicio, *script;
    } servicios[] = {{"Gate", "korv-gate"}, {"Squid", "squid"},       {"Httpd", "httpd"}, {"Samba", "smb"},
                     {"Sendmail", "sendmail"}, {"Dns", "named"}, {"Xinetd", "xinetd"}};
    for (const auto &s : servicios) {
        const QString script = init + QLatin1String(s.script);
        for (const char *accion : {"Iniciar", "Detener", "Reiniciar"}) {
            const QByteArray slot = QByteArray("b") + accion + s.servicio + "_Click";
            QStringList esperado;
            if (qstrcmp(accion, "Iniciar") == 0)
                esperado << script + QLatin1String(" start");
            else if (qstrcmp(accion, "Detener") == 0)
                esperado << script + QLatin1String(" stop");
            else if (qstrcmp(s.servicio, "Gate") == 0)
                esperado << script + QLatin1String(" stop") << script + QLatin1String(" start");
            else
                esperado << script + QLatin1String(" restart");
            QTest::newRow(slot.constData()) << QList<Ajuste>() << slot << esperado;
        }
    }

    // Default settings: edit and log commands.
    const struct {
        const char *slot, *comando;
    } editores[] = {
        {"bEditarGate_Click", "kwrite /etc/rc.d/init.d/korv-gate &"},
        {"bEditarSquid_Click", "kwrite /etc/squid/squid.conf &"},
        {"bEditarHttpd_Click", "kwrite /etc/httpd/conf/httpd.conf &"},
        {"bEditarSendmail_Click", "kwrite /etc/sendmail.cf &"},
        {"bEditarDns_Click", "/usr/bin/bindconf &"},
        {"bEditarXinetd_Click", "kfmclient openProfile filemanagement /etc/xinetd.d &"},
        {"bEditarFtp_Click", "kwrite /etc/ftpaccess &"},
        {"bLogSquid_Click", "kwrite /var/log/squid/access.log &"},
        {"bLogHttpd_Click", "kwrite /var/log/httpd/access_log &"},
        {"bLogSamba_Click", "kfmclient openProfile filemanagement /var/log/samba &"},
        {"bLogSendmail_Click", "kwrite /var/log/maillog &"},
        {"bLogXinetd_Click", "kwrite /var/log/secure &"},
    };
    for (const auto &e : editores)
        QTest::newRow(e.slot) << QList<Ajuste>() << QByteArray(e.slot) << QStringList{QString::fromLatin1(e.comando)};

    // Changed settings.
    auto fila = [](const char *nombre, QList<Ajuste> cambios, const char *slot, QStringList esperado) {
        QTest::newRow(nombre) << cambios << QByteArray(slot) << esperado;
    };
    fila("%editor twice", {{"cEditor", "gvim -f"}, {"cEditarGate", "%editor /a; %editor /b"}},
         "bEditarGate_Click", {"gvim -f /a; gvim -f /b &"});
    fila("%editor back to back", {{"cEditor", "vi"}, {"cLogXinetd", "%editor%editor"}}, "bLogXinetd_Click",
         {"vivi &"});
    fila("no %editor", {{"cEditor", "vi"}, {"cLogSquid", "less -R /var/log/x"}}, "bLogSquid_Click",
         {"less -R /var/log/x &"});
    fila("empty edit", {{"cEditarHttpd", ""}}, "bEditarHttpd_Click", {" &"});
    fila("empty log", {{"cLogSendmail", ""}}, "bLogSendmail_Click", {" &"});
    fila("empty start", {{"cIniciarSquid", ""}}, "bIniciarSquid_Click", {""});
    fila("empty stop", {{"cDetenerDns", ""}}, "bDetenerDns_Click", {""});
    fila("editor taken literally", {{"cEditor", "ed\\1 $0 %editor .*"}, {"cEditarSendmail", "%editor f"}},
         "bEditarSendmail_Click", {"ed\\1 $0 %editor .* f &"});
    fila("%editor is case-sensitive", {{"cEditor", "vi"}, {"cEditarXinetd", "%Editor %EDITOR %editorx"}},
         "bEditarXinetd_Click", {"%Editor %EDITOR vix &"});
    fila("editor with blanks", {{"cEditor", "  kate  -n "}, {"cEditarFtp", "%editor /etc/ftpaccess"}},
         "bEditarFtp_Click", {"  kate  -n  /etc/ftpaccess &"});
    fila("start passed unchanged", {{"cReiniciarDns", "rndc reload && echo \"ok\" >/dev/null"}},
         "bReiniciarDns_Click", {"rndc reload && echo \"ok\" >/dev/null"});
    fila("start with trailing &", {{"cIniciarHttpd", "apachectl start &"}}, "bIniciarHttpd_Click",
         {"apachectl start &"});
    fila("gate restart never runs its own setting",
         {{"cReiniciarGate", "NUNCA"}, {"cDetenerGate", "gate-off"}, {"cIniciarGate", "gate-on"}},
         "bReiniciarGate_Click", {"gate-off", "gate-on"});
}

void TstServicios::comandos()
{
    QFETCH(QList<Ajuste>, cambios);
    QFETCH(QByteArray, slot);
    QFETCH(QStringList, esperado);

    Ventana v(cambios);
    QVERIFY(v.grabador.comandos.isEmpty());
    SinCajas cajas;
    QVERIFY(QMetaObject::invokeMethod(v.w.get(), slot.constData()));
    QCOMPARE(v.grabador.comandos, esperado);
    QCOMPARE(cajas.vistas, QStringList());
}

// A setting changed after the window was built applies to the next click.
void TstServicios::leidoAlPulsar()
{
    Ventana v;
    QStringList valores = Ajustes::valores();
    valores[Ajustes::claves().indexOf(QStringLiteral("cDetenerSquid"))] = QStringLiteral("squid -k shutdown");
    valores[Ajustes::claves().indexOf(QStringLiteral("cEditor"))] = QStringLiteral("nano");
    Ajustes::asignar(valores);
    v.w->bDetenerSquid->click();
    v.w->bEditarSquid->click();
    QCOMPARE(v.grabador.comandos, (QStringList{"squid -k shutdown", "nano /etc/squid/squid.conf &"}));
}

// Telnet has no edit action, and Gate, Dns, Ftp and Telnet no log action:
// those slots keep the form's warning and run nothing.
void TstServicios::sinAccion()
{
    Ventana v;
    for (const char *slot : {"bEditarTelnet_Click", "bLogGate_Click", "bLogDns_Click", "bLogFtp_Click", "bLogTelnet_Click"}) {
        QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("form1Base::%1(): Not implemented yet!").arg(QLatin1String(slot))));
        QVERIFY(v.llamar(slot));
    }
    QVERIFY(v.grabador.comandos.isEmpty());
}

// Every start, stop and restart probes its label again 2 s after its command
// returned (httpd start and restart also at 5 s), and never at once. Three
// windows run the three actions side by side so that one wait covers all.
void TstServicios::resondeos()
{
    Ventana v;
    const QString pidHttpd = v.raiz.ruta(QStringLiteral("/var/run/httpd.pid"));
    // A slow httpd start whose pid file exists when the script returns.
    v.grabador.accion = [&](const QString &c) {
        if (c == init + QLatin1String("httpd start")) {
            QThread::msleep(600);
            QFile(pidHttpd).open(QIODevice::WriteOnly);
        }
        return 0;
    };
    form1 detener, reiniciar;
    form1 *iniciar = v.w.get();
    QCOMPARE(iniciar->tHttpd->text(), MarcaOff);

    const QString centinela = QStringLiteral("centinela");
    struct Seguimiento {
        QLabel *etiqueta;
        QList<int> esperados;
        QString nombre;
        QElapsedTimer reloj;
        QList<QPair<qint64, QString>> vistos;
    };
    std::vector<Seguimiento> seguidos;
    seguidos.reserve(21);
    const char *servicios[] = {"Gate", "Squid", "Httpd", "Samba", "Sendmail", "Dns", "Xinetd"};
    const QPair<form1 *, const char *> acciones[] = {{iniciar, "Iniciar"}, {&detener, "Detener"}, {&reiniciar, "Reiniciar"}};
    for (const auto &a : acciones) {
        for (const char *s : servicios) {
            const QByteArray slot = QByteArray("b") + a.second + s + "_Click";
            auto *etiqueta = a.first->findChild<QLabel *>(QLatin1Char('t') + QLatin1String(s));
            QVERIFY(etiqueta);
            const bool dosVeces = qstrcmp(s, "Httpd") == 0 && qstrcmp(a.second, "Detener") != 0;
            seguidos.push_back({etiqueta, dosVeces ? QList<int>{2000, 5000} : QList<int>{2000},
                                QString::fromLatin1(slot), QElapsedTimer(), {}});
            etiqueta->setText(centinela);
            QVERIFY(QMetaObject::invokeMethod(a.first, slot.constData()));
            seguidos.back().reloj.start();
            // No probe runs inside the action itself; the xinetd restart
            // shows the pending markup until its probe.
            const bool pendiente = slot == "bReiniciarXinetd_Click";
            QCOMPARE(etiqueta->text(), pendiente ? MarcaPendiente : centinela);
        }
    }
    QCOMPARE(v.grabador.comandos.size(), 22);

    QElapsedTimer total;
    total.start();
    while (seguidos.back().reloj.elapsed() < 6300 && total.elapsed() < 15000) {
        QTest::qWait(10);
        for (Seguimiento &s : seguidos) {
            const QString texto = s.etiqueta->text();
            if (texto == centinela || texto == MarcaPendiente)
                continue;
            s.vistos.append({s.reloj.elapsed(), texto});
            s.etiqueta->setText(centinela);
        }
    }

    for (const Seguimiento &s : seguidos) {
        QVERIFY2(s.vistos.size() == s.esperados.size(),
                 qPrintable(QStringLiteral("%1: %2 probes").arg(s.nombre).arg(s.vistos.size())));
        for (int i = 0; i < s.esperados.size(); ++i) {
            const qint64 t = s.vistos[i].first;
            QVERIFY2(t >= s.esperados[i] - 500 && t <= s.esperados[i] + 1000,
                     qPrintable(QStringLiteral("%1: probe %2 at %3 ms").arg(s.nombre).arg(i).arg(t)));
        }
    }
    // The slow start's pid file is seen by its first probe.
    QCOMPARE(seguidos[2].vistos.first().second, MarcaOn);
}

void TstServicios::samba_data()
{
    QTest::addColumn<QString>("xinetd");
    QTest::addColumn<QString>("swat");
    QTest::addColumn<QString>("aviso");

    const QString xinetd = QStringLiteral("Debe estar iniciado el servicio XINETD");
    const QString swat = QStringLiteral("Debe estar iniciado el servicio SWAT");
    QTest::newRow("xinetd OFF, swat ON") << MarcaOff << MarcaOn << xinetd;
    QTest::newRow("xinetd Error, swat ON") << MarcaError << MarcaOn << xinetd;
    QTest::newRow("xinetd pending, swat ON") << MarcaPendiente << MarcaOn << xinetd;
    QTest::newRow("xinetd empty, swat ON") << QString() << MarcaOn << xinetd;
    QTest::newRow("both OFF") << MarcaOff << MarcaOff << xinetd;
    QTest::newRow("xinetd ON, swat Error") << MarcaOn << MarcaError << swat;
    QTest::newRow("xinetd ON, swat OFF") << MarcaOn << MarcaOff << swat;
    QTest::newRow("xinetd ON, swat ON") << MarcaOn << MarcaOn << QString();
}

void TstServicios::samba()
{
    QFETCH(QString, xinetd);
    QFETCH(QString, swat);
    QFETCH(QString, aviso);

    // Both ON come from real probes at start-up; the other states are set
    // on the labels, as the last probe or action would leave them.
    Ventana v({}, [&](Ventana &p) {
        if (xinetd == MarcaOn)
            p.raiz.escribir(QStringLiteral("/var/run/xinetd.pid"), "1\n");
        p.raiz.escribir(QStringLiteral("/etc/xinetd.d/swat"),
                        swat == MarcaOn ? "service swat\n{\n\tdisable\t= no\n}\n" : "service swat\n{\n\tdisable\t= yes\n}\n");
    });
    QCOMPARE(v.w->tXinetd->text(), xinetd == MarcaOn ? MarcaOn : MarcaOff);
    QCOMPARE(v.w->tSwat->text(), swat == MarcaOn ? MarcaOn : MarcaOff);
    v.w->tXinetd->setText(xinetd);
    v.w->tSwat->setText(swat);

    if (aviso.isEmpty()) {
        SinCajas cajas;
        v.w->bEditarSamba->click();
        QCOMPARE(cajas.vistas, QStringList());
        QCOMPARE(v.grabador.comandos, QStringList{"htmlview http://127.0.0.1:901/ &"});
        return;
    }
    auto caja = responderCaja(QStringLiteral("OK"));
    v.w->bEditarSamba->click();
    QVERIFY(caja->vista);
    QCOMPARE(caja->titulo, QStringLiteral("Error"));
    QCOMPARE(caja->texto, aviso);
    QCOMPARE(caja->botones, QStringList{"OK"});
    QVERIFY(v.grabador.comandos.isEmpty());
}

QTEST_MAIN(TstServicios)
#include "tst_servicios.moc"

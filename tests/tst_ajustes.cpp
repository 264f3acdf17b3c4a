// The settings table and its file format.
#include "settings/ajustes.h"
#include <QtTest>

class TstAjustes : public QObject
{
    Q_OBJECT
private slots:
    void tabla();
    void formato();
};

// The commands that the buttons run are checked through them; these are the rest.
void TstAjustes::tabla()
{
    QCOMPARE(Ajustes::claves().join(' '),
             "cEditor cAbrirManual cIniciarGate cDetenerGate cReiniciarGate cEstadoGate cEditarGate cIniciarSquid "
             "cDetenerSquid cReiniciarSquid cEstadoSquid cEditarSquid cLogSquid cIniciarHttpd cDetenerHttpd cReiniciarHttpd "
             "cEstadoHttpd cEditarHttpd cLogHttpd cIniciarSamba cDetenerSamba cReiniciarSamba cEstadoSamba cEditarSamba "
             "cLogSamba cIniciarSendmail cDetenerSendmail cReiniciarSendmail cEstadoSendmail cEditarSendmail cLogSendmail "
             "cIniciarDns cDetenerDns cReiniciarDns cEstadoDns cEditarDns cIniciarXinetd cDetenerXinetd cReiniciarXinetd "
             "cEstadoXinetd cEditarXinetd cLogXinetd cDirectorioXinetd cEditarFtp");
    for (const QString &par : QStringLiteral("cAbrirManual htmlview file:/usr/local/share/talvora/doc/talvora/index.html;"
             "cReiniciarGate /etc/rc.d/init.d/korv-gate restart;cEstadoGate /var/run/korv-gate.pid;cEstadoSquid "
             "/var/run/squid.pid;cEstadoHttpd /var/run/httpd.pid;cEstadoSamba /var/lock/subsys/smb;cEstadoSendmail "
             "/var/run/sendmail.pid;cEstadoDns /var/run/named/named.pid;cEstadoXinetd /var/run/xinetd.pid;"
             "cDirectorioXinetd /etc/xinetd.d").split(';'))
        QCOMPARE(Ajustes::porDefecto(par.section(' ', 0, 0)), par.section(' ', 1));
}

// 44 lines, extra ones ignored, missing ones empty, blanks and empty lines
// kept in place, a carriage return before the line end dropped; written
// back as 44 lines each ended by "\n", a line break in a value shifting nothing.
void TstAjustes::formato()
{
    const auto resumen = [](const QByteArray &texto) {
        const QStringList v = Ajustes::analizar(texto);
        return QString::number(v.size()) + '|' + v.first() + '|' + v.at(2) + '|' + v.at(42) + '|' + v.last();
    };
    QByteArray completo;
    for (int i = 1; i <= 44; ++i)
        completo += 'v' + QByteArray::number(i) + '\n';
    QCOMPARE(resumen(completo + "v45\n"), "44|v1|v3|v43|v44");
    QCOMPARE(resumen(completo.chopped(4)), "44|v1|v3|v43|");
    QCOMPARE(resumen(""), "44||||");
    QCOMPARE(resumen("  kwrite  \r\n\n tercera \r\n"), "44|  kwrite  | tercera ||");
    QStringList v = Ajustes::valoresPorDefecto();
    v[0] = "a\nb";
    const QByteArray texto = Ajustes::componer(v);
    QCOMPARE(texto.count('\n'), 44);
    QCOMPARE(Ajustes::analizar(texto).mid(1), v.mid(1));
}

QTEST_MAIN(TstAjustes)
#include "tst_ajustes.moc"

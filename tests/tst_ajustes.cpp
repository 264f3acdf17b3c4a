// The settings file: 44 lines in a fixed order, read and written back.
#include "settings/ajustes.h"

#include <QtTest>

class TstAjustes : public QObject
{
    Q_OBJECT

private slots:
    // The order is the file's: a stored file read with another order would
    // hand every command to the wrong action.
    void orden()
    {
        QCOMPARE(Ajustes::claves().join(' '),
                 "cEditor cAbrirManual cIniciarGate cDetenerGate cReiniciarGate cEstadoGate "
                 "cEditarGate cIniciarSquid cDetenerSquid cReiniciarSquid cEstadoSquid cEditarSquid "
                 "cLogSquid cIniciarHttpd cDetenerHttpd cReiniciarHttpd cEstadoHttpd cEditarHttpd "
                 "cLogHttpd cIniciarSamba cDetenerSamba cReiniciarSamba cEstadoSamba cEditarSamba "
                 "cLogSamba cIniciarSendmail cDetenerSendmail cReiniciarSendmail cEstadoSendmail "
                 "cEditarSendmail cLogSendmail cIniciarDns cDetenerDns cReiniciarDns cEstadoDns "
                 "cEditarDns cIniciarXinetd cDetenerXinetd cReiniciarXinetd cEstadoXinetd "
                 "cEditarXinetd cLogXinetd cDirectorioXinetd cEditarFtp");
        QCOMPARE(Ajustes::nombre(Ajustes::Clave::cLogSquid), "cLogSquid");
    }

    // 44 lines, extra ones ignored, missing ones empty, blanks kept, a
    // carriage return before the line end dropped; written back as 44 lines
    // each ended by "\n", a line break in a value shifting nothing.
    void formato()
    {
        const auto resumen = [](const QByteArray &texto) {
            const QStringList v = Ajustes::analizar(texto);
            return QStringList{QString::number(v.size()), v[0], v[2], v[42], v[43]}.join('|');
        };
        QByteArray completo;
        for (int i = 1; i <= 44; ++i)
            completo += 'v' + QByteArray::number(i) + '\n';
        QCOMPARE(resumen(completo + "v45\n"), "44|v1|v3|v43|v44");
        QCOMPARE(resumen(completo.chopped(4)), "44|v1|v3|v43|");
        QCOMPARE(resumen(""), "44||||");
        QCOMPARE(resumen("  kwrite  \r\n\n tercera \r\n"), "44|  kwrite  | tercera ||");
        QStringList v = Ajustes::valoresPorDefecto();
        v[0] = "a\nb\r";
        const QByteArray texto = Ajustes::componer(v);
        QCOMPARE(texto.count('\n'), 44);
        QCOMPARE(Ajustes::analizar(texto), QStringList{"a b "} + v.mid(1));
    }
};

QTEST_MAIN(TstAjustes)
#include "tst_ajustes.moc"

// Writes that fail half way: every file the program replaces either takes
// its new content whole or keeps its old bytes, mode, owner and place, and
// the failure shows where its action reports failures.
#include "configdialog/confimpl.h"
#include "mainwindow/estado.h"
#include "support.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class TstFallos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); } // EFBIG instead of a signal

    void escrituraFallida_data()
    {
        QTest::addColumn<QString>("archivo"); // what is replaced, as the program names it
        QTest::addColumn<QString>("accion");  // a slot of the window, or "dialogo"
        QTest::newRow("ajustes") << TALVORA_DATADIR "/conf" << "dialogo";
        QTest::newRow("xinetd") << "/etc/xinetd.d/telnet" << "bIniciarTelnet_Click";
        QTest::newRow("hosts.allow") << "/etc/hosts.allow" << "bAplicarHostsAllow_Click";
        QTest::newRow("enlace") << "/etc/hosts.allow" << "bAplicarHostsAllow_Click";
        QTest::newRow("hosts.deny") << "/etc/hosts.deny" << "EscribirHostsDeny";
    }
    void escrituraFallida()
    {
        QFETCH(QString, archivo);
        QFETCH(QString, accion);
        const bool enlace = QTest::currentDataTag() == QByteArray("enlace");
        Ventana v;
        const QString destino = enlace ? "/etc/reglas/hosts.allow" : archivo;
        const QByteArray viejo = archivo.endsWith("conf") ? v.raiz.leer(archivo)
                                                          : "\tdisable = yes\n# lista vieja\n";
        v.raiz.escribir(destino, viejo);
        const QByteArray ruta = QFile::encodeName(v.raiz.ruta(destino));
        const uid_t dueno = geteuid() ? geteuid() : 65534;
        QVERIFY(chown(ruta, dueno, dueno) == 0 && chmod(ruta, 04640) == 0); // chown drops set-id
        QVERIFY(!enlace || QFile::link("reglas/hosts.allow", v.raiz.ruta(archivo)));
        const auto estado = [&] {
            struct stat st {};
            stat(ruta, &st);
            const QString dir = QFileInfo(ruta).path();
            return QStringList{QString::asprintf("%o %u %u", st.st_mode & 07777, st.st_uid, st.st_gid),
                               QFileInfo(v.raiz.ruta(archivo)).symLinkTarget(),
                               QDir(dir).entryList(QDir::AllEntries | QDir::Hidden).join(' ')};
        };
        const QStringList antes = estado();
        const QStringList ajustes = Ajustes::valores();
        v.w->tXinetd->setText(MarcaOn); // a switch would restart it
        v.w->mlHostsAllow->setPlainText("ALL: 10.0.0.1");
        const auto actuar = [&] {
            if (accion != "dialogo") {
                QVERIFY(v.llamar(qPrintable(accion)));
                return;
            }
            confimpl d;
            d.cEditor->setText("vi");
            d.bAplicar->click();
        };
        QStringList cajas;
        {
            rlimit sinLimite{};
            getrlimit(RLIMIT_FSIZE, &sinLimite);
            const rlimit limite{1, sinLimite.rlim_max}; // one byte gets through, then EFBIG
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
            cajas = contestar({}, actuar);
            setrlimit(RLIMIT_FSIZE, &sinLimite);
        }
        const bool xinetd = archivo.contains("xinetd");
        QCOMPARE(cajas, xinetd ? QStringList() : QStringList{"Error|No se pudo escribir el Archivo|OK"});
        QCOMPARE(v.w->tTelnet->text(), xinetd ? MarcaError : v.w->tTelnet->text());
        QCOMPARE(v.grabador.comandos.filter("xinetd"), QStringList()); // no restart
        QCOMPARE(v.raiz.leer(destino), viejo);
        QCOMPARE(estado(), antes);
        QCOMPARE(Ajustes::valores(), ajustes);
        // Once writes get through, the new bytes take the old file's place.
        contestar({}, actuar);
        QVERIFY(v.raiz.leer(destino) != viejo);
        QCOMPARE(estado(), antes);
        v.w->mlHostsAllow->document()->setModified(false);
    }
};

QTEST_MAIN(TstFallos)
#include "tst_fallos.moc"

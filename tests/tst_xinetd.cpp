// Switching the xinetd-run services by rewriting their service files.
#include "mainwindow/estado.h"
#include "mainwindow/xinetd.h"
#include "support.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

class TstXinetd : public QObject
{
    Q_OBJECT

private slots:
    // Greedy up to the last yes or no, in every line, case-sensitive, other bytes kept.
    void reglas()
    {
        QCOMPARE(Xinetd::reescribir("# disable = yes\r\n\tDisable = yes\n\tdisable = YES\ndisable "
                                    "yes\n\tdisable = yes # yes \xe9.",
                                    true),
                 "# disable\t= no\n\tDisable = yes\n\tdisable = YES\ndisable yes\n\tdisable\t= no "
                 "\xe9.\n");
        QCOMPARE(Xinetd::reescribir("  disable=no # no!\n", false), "  disable\t= yes!\n");
    }

    // On real files, side by side so that one wait covers all the re-probes:
    // the file replaced keeping its mode, owner and attributes; xinetd
    // restarted only where its label reads ON; a file that is missing or
    // cannot be replaced shows Error and is never probed again.
    void archivos()
    {
        if (geteuid() != 0)
            QSKIP("needs root, for chown and chattr");
        const QByteArray apagado = "service telnet\n{\n\tdisable\t\t= yes\n}\n";
        const QByteArray encendido = "service telnet\n{\n\tdisable\t= no\n}\n";
        const QString dir = "/etc/xinetd.d/";
        Ventana v([&](Ventana &x) {
            x.raiz.escribir("/var/run/xinetd.pid", "1\n");
            x.raiz.escribir(dir + "wu-ftpd", encendido);
            x.raiz.escribir(dir + "ipop3", "{\n\tdisable\t= no\t# no\n}\n");
            x.raiz.escribir(dir + "swat", "{\n\tport\t= 901\n}\n");
        });
        form1 *b = v.w.get(), a; // 'a' sees xinetd OFF
        a.tXinetd->setText(MarcaOff);
        QCOMPARE(b->tXinetd->text(), MarcaOn);
        if (QProcess::execute("chattr", {"+i", v.raiz.ruta(dir + "wu-ftpd")}) != 0)
            QSKIP("chattr +i is not available here");
        b->bIniciarTelnet->click();
        b->bDetenerFtp->click();
        QProcess::execute("chattr", {"-i", v.raiz.ruta(dir + "wu-ftpd")});
        QCOMPARE(b->tTelnet->text() + b->tFtp->text(), MarcaError + MarcaError);
        QCOMPARE(QDir(v.raiz.ruta(dir)).entryList(QDir::Files | QDir::Hidden).join(' '),
                 "ipop3 swat wu-ftpd");
        QCOMPARE(v.raiz.leer(dir + "wu-ftpd"), encendido);

        v.raiz.escribir(dir + "telnet", apagado);
        const QByteArray ruta = QFile::encodeName(v.raiz.ruta(dir + "telnet"));
        QVERIFY(::chmod(ruta, 0640) == 0 && ::chown(ruta, 65534, 65534) == 0);
        const bool xattr = ::setxattr(ruta, "user.talvora", "prueba", 6, 0) == 0;
        struct stat antes {}, despues {};
        QCOMPARE(::stat(ruta, &antes), 0);
        for (QLabel *l : {a.tTelnet, a.tFtp, a.tPop3, b->tSwat})
            l->clear();
        QElapsedTimer reloj;
        reloj.start();
        a.bIniciarTelnet->click();
        a.bDetenerFtp->click();
        a.bDetenerPop3->click();
        b->bDetenerSwat->click();
        QCOMPARE(v.grabador.comandos, QStringList{"/etc/rc.d/init.d/xinetd restart"});
        QCOMPARE(b->tXinetd->text(), MarcaPendiente);
        QCOMPARE(v.raiz.leer(dir + "telnet"), encendido);
        QCOMPARE(v.raiz.leer(dir + "wu-ftpd"), "service telnet\n{\n\tdisable\t= yes\n}\n");
        QCOMPARE(v.raiz.leer(dir + "ipop3"), "{\n\tdisable\t= yes\n}\n");
        QCOMPARE(v.raiz.leer(dir + "swat"), "{\n\tport\t= 901\n}\n");
        QCOMPARE(::stat(ruta, &despues), 0);
        QVERIFY(despues.st_ino != antes.st_ino);
        QCOMPARE(QString::asprintf("%o %u %u", despues.st_mode & 07777, despues.st_uid, despues.st_gid),
                 "640 65534 65534");
        char atributo[16] = {};
        if (xattr) // where the file system has user.* attributes
            QCOMPARE(QByteArray(atributo, int(::getxattr(ruta, "user.talvora", atributo, 16))), "prueba");
        QTRY_COMPARE(a.tTelnet->text() + a.tFtp->text() + a.tPop3->text() + b->tSwat->text(),
                     MarcaOn + MarcaOff + MarcaOff + MarcaOn);
        QVERIFY(reloj.elapsed() >= 900);
        QTRY_COMPARE(b->tXinetd->text(), MarcaOn);
        QCOMPARE(b->tTelnet->text() + b->tFtp->text(), MarcaError + MarcaError);
    }
};

QTEST_MAIN(TstXinetd)
#include "tst_xinetd.moc"

// Switching the xinetd-run services on and off by rewriting their service
// files: the rewriting rules, the re-probe, the xinetd restart, and how the
// file is replaced.
#include "mainwindow/xinetd.h"
#include "ventana.h"
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

class TstXinetd : public QObject
{
    Q_OBJECT
private slots:
    void reescritura();
};

// The rules on their own: greedy up to the last yes or no, in every line,
// case-sensitive, other bytes kept. Then every case on real files in one
// root, side by side, so that one wait covers all the re-probes. Window 'b'
// sees xinetd ON, window 'a' OFF.
void TstXinetd::reescritura()
{
    QCOMPARE(reescribirXinetd("# disable = yes\r\n\tDisable = yes\n\tdisable = YES\ndisable yes\n\tdisable = yes # yes \xe9.", 1),
             "# disable\t= no\n\tDisable = yes\n\tdisable = YES\ndisable yes\n\tdisable\t= no \xe9.\n");
    QCOMPARE(reescribirXinetd("  disable=no # no!\n", 7), "  disable\t= yes!\n");
    if (geteuid() != 0)
        QSKIP("needs root, for chattr and chown");
    const QByteArray apagado = "service telnet\n{\n\tflags\t\t= REUSE\n\tdisable\t\t= yes\n}\n";
    const QByteArray encendido = "service telnet\n{\n\tflags\t\t= REUSE\n\tdisable\t= no\n}\n";
    const QByteArray sinDisable = "service swat\n{\n\tport\t= 901\n}\n";
    const QString dir = "/etc/xinetd.d/";
    Ventana v([&](Ventana &p) {
        p.raiz.escribir("/var/run/xinetd.pid", "1\n");
        p.raiz.escribir(dir + "wu-ftpd", encendido);
        p.raiz.escribir(dir + "ipop3", "service ipop3\n{\n\tdisable\t= no\t# no\n}\n");
        p.raiz.escribir(dir + "swat", sinDisable);
    });
    form1 *b = v.w.get(), a; // a second window over the same root
    QCOMPARE(b->tXinetd->text(), MarcaOn);
    a.tXinetd->setText(MarcaOff);

    // A missing file, and one that cannot be replaced: Error, nothing created
    // or changed, no restart, and no re-probe (checked at the end).
    {
        Inmutable fijo{v.raiz.ruta(dir + "wu-ftpd")};
        QVERIFY(fijo.puesto);
        b->tTelnet->clear(), b->tFtp->clear();
        b->bIniciarTelnet->click();
        b->bDetenerFtp->click();
    }
    QCOMPARE(b->tTelnet->text() + b->tFtp->text(), MarcaError + MarcaError);
    QCOMPARE(QDir(v.raiz.ruta(dir)).entryList(QDir::Files | QDir::Hidden), (QStringList{"ipop3", "swat", "wu-ftpd"}));
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
    QCOMPARE(v.raiz.leer(dir + "wu-ftpd"), "service telnet\n{\n\tflags\t\t= REUSE\n\tdisable\t= yes\n}\n");
    QCOMPARE(v.raiz.leer(dir + "ipop3"), "service ipop3\n{\n\tdisable\t= yes\n}\n");
    QCOMPARE(v.raiz.leer(dir + "swat"), sinDisable);

    // The file was replaced, keeping mode, owner, group and extended attributes.
    QCOMPARE(::stat(ruta, &despues), 0);
    QCOMPARE((QList<uint>{despues.st_ino != antes.st_ino, despues.st_mode & 07777u, despues.st_uid, despues.st_gid}),
             (QList<uint>{1, 0640, 65534, 65534}));
    char atributo[16] = {};
    if (xattr) // where the file system has user.* attributes
        QCOMPARE(QByteArray(atributo, int(::getxattr(ruta, "user.talvora", atributo, sizeof atributo))), "prueba");

    // The labels follow a second later, the restart's probe a second after;
    // by then a re-probe of the failed actions would have shown.
    QTRY_COMPARE((QStringList{a.tTelnet->text(), a.tFtp->text(), a.tPop3->text(), b->tSwat->text()}),
                 (QStringList{MarcaOn, MarcaOff, MarcaOff, MarcaOn}));
    QVERIFY(reloj.elapsed() >= 900);
    QTRY_COMPARE(b->tXinetd->text(), MarcaOn);
    QCOMPARE(b->tTelnet->text() + b->tFtp->text(), MarcaError + MarcaError);
}

QTEST_MAIN(TstXinetd)
#include "tst_xinetd.moc"

// The configuration dialog: what its buttons and keys save, where, and when.
#include "configdialog/confimpl.h"
#include "support.h"

namespace {

const QString Dir = TALVORA_DATADIR, Conf = Dir + "/conf";

QStringList campos(const QWidget *d)
{
    QStringList t;
    for (const QString &c : Ajustes::claves())
        t << d->findChild<QLineEdit *>(c)->text();
    return t;
}

// Blanks and an empty value included: neither may be lost on the way.
QStringList deEjemplo()
{
    QStringList v{"  kwrite  "};
    for (int i = 2; i <= Ajustes::Cantidad; ++i)
        v << (i == 13 ? QString() : QString("valor %1").arg(i));
    return v;
}

} // namespace

class TstConfigDialog : public QObject
{
    Q_OBJECT

private slots:
    void guardar_data()
    {
        QTest::addColumn<bool>("porDefecto");
        QTest::addColumn<QStringList>("cambios"); // "key=text"
        QTest::addColumn<QString>("cierre");
        QTest::addColumn<QStringList>("guardado"); // "key=text" saved where not as typed
        QTest::newRow("sin cambios") << false << QStringList() << "Aceptar" << QStringList();
        QTest::newRow("por defecto") << true << QStringList() << "Aceptar" << QStringList();
        QTest::newRow("cancelar") << true << QStringList{"cEditor=vi"} << "Cancelar" << QStringList();
        QTest::newRow("Escape") << true << QStringList() << "Escape" << QStringList();
        QTest::newRow("cierre") << true << QStringList() << "cierre" << QStringList();
        QTest::newRow("blancos") << false << QStringList{"cEditor=  vi  ", "cEditarFtp= x "}
                                 << "Aceptar" << QStringList();
        QTest::newRow("vaciado") << false << QStringList{"cLogSquid="} << "Aceptar" << QStringList();
        // Enter in a field neither closes nor reaches "Por Defecto", which would wipe the edits.
        QTest::newRow("Intro") << false << QStringList{"cEditor=vi"} << "Intro" << QStringList();
        // A pasted line break would run as two commands now and as one after a restart.
        QTest::newRow("salto de linea")
            << false << QStringList{"cIniciarSquid=squid\nrm -rf /"} << "Aceptar"
            << QStringList{"cIniciarSquid=squid rm -rf /"};
    }
    void guardar()
    {
        QFETCH(bool, porDefecto);
        QFETCH(QStringList, cambios);
        QFETCH(QString, cierre);
        QFETCH(QStringList, guardado);
        Raiz raiz;
        const QStringList antes = deEjemplo();
        raiz.escribir(Conf, lineas(antes));
        Ajustes::asignar(antes);
        confimpl d;
        d.show();
        QCOMPARE(campos(&d), antes);
        QStringList esperado = antes;
        if (porDefecto) {
            d.bCancelar_2->click();
            QCOMPARE(campos(&d), esperado = Ajustes::valoresPorDefecto());
            QVERIFY(d.isVisible() && Ajustes::valores() == antes);
        }
        for (const QString &c : cambios + guardado) {
            const QString clave = c.section('=', 0, 0), texto = c.section('=', 1);
            if (!guardado.contains(c))
                d.findChild<QLineEdit *>(clave)->setText(texto);
            esperado[Ajustes::claves().indexOf(clave)] = texto;
        }
        if (cierre == "Escape" || cierre == "Intro")
            QTest::keyClick(d.cEditor, cierre == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
        QCOMPARE(d.isVisible(), cierre != "Escape");
        if (cierre == "cierre")
            d.close();
        else if (cierre != "Escape")
            (cierre == "Cancelar" ? d.bCancelar : d.bAplicar)->click();
        QVERIFY(!d.isVisible());
        if (cierre != "Aceptar" && cierre != "Intro")
            esperado = antes;
        QCOMPARE(raiz.leer(Conf), lineas(esperado));
        QCOMPARE(Ajustes::valores(), esperado);
        QCOMPARE(campos(confimpl().window()), esperado); // as the next dialog shows them
    }

    // Into a directory that cannot change: nothing moves, not even in memory.
    void escrituraFallida()
    {
        Raiz raiz;
        raiz.escribir(Conf, lineas(deEjemplo()));
        Ajustes::asignar(deEjemplo());
        if (QProcess::execute("chattr", {"+i", raiz.ruta(Dir)}) != 0)
            QSKIP("chattr +i is not available here (needs root and ext4/tmpfs)");
        confimpl d;
        d.cIniciarSquid->setText("/bin/true");
        const QStringList cajas = contestar({}, [&] { d.bAplicar->click(); });
        QProcess::execute("chattr", {"-i", raiz.ruta(Dir)});
        QCOMPARE(cajas, QStringList{"Error|No se pudo escribir el Archivo|OK"});
        QCOMPARE(QDir(raiz.ruta(Dir)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"conf"});
        QCOMPARE(raiz.leer(Conf), lineas(deEjemplo()));
        QCOMPARE(Ajustes::valores(), deEjemplo());
    }

    // A save reaches the running program at once; of two open dialogs the
    // last save wins, and a save does not refresh the other dialog.
    void dosDialogos()
    {
        Ventana v;
        confimpl a, b;
        a.cIniciarSquid->setText("/usr/sbin/squid -A");
        b.cIniciarSquid->setText("/usr/sbin/squid -B");
        const QStringList textos = campos(&b);
        v.grabador.comandos.clear();
        for (confimpl *d : {&a, &b}) {
            d->bAplicar->click();
            v.w->bIniciarSquid->click();
        }
        QCOMPARE(v.grabador.comandos, QStringList({"/usr/sbin/squid -A", "/usr/sbin/squid -B"}));
        QCOMPARE(v.raiz.leer(Conf), lineas(textos));
        QCOMPARE(campos(&a)[7], "/usr/sbin/squid -A");
    }
};

QTEST_MAIN(TstConfigDialog)
#include "tst_configdialog.moc"

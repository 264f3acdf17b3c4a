// The manual, the about box, and the dialogs the main window opens.
#include "configdialog/confimpl.h"
#include "firewalldialog/firewallimpl.h"
#include "ventana.h"

class TstAyuda : public QObject
{
    Q_OBJECT

    template <typename T> static QList<T *> abiertos()
    {
        QList<T *> lista;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<T *>(w); d && d->isVisible())
                lista << d;
        return lista;
    }

private slots:
    void manualYAcercaDe()
    {
        Ventana v;
        v.llamar("VerManual");
        cambiarAjustes({{"cAbrirManual", ""}});
        v.llamar("VerManual");
        QCOMPARE(v.grabador.comandos,
                 QStringList({"htmlview file:/usr/local/share/talvora/doc/talvora/index.html &", " &"}));
        auto caja = responderCaja("OK");
        v.llamar("VerAcercade");
        QVERIFY(caja->vista);
        QCOMPARE(caja->titulo, QString("Acerca de..."));
        QVERIFY(caja->texto.startsWith("Talvora by Korvane\nVersion 1.5\n\n"));
    }

    // Each opening is a new parentless, modeless window, deleted once closed;
    // closing the main window ends the run whatever is still open.
    void dialogos()
    {
        Ventana v;
        v.raiz.escribir("/usr/local/share/talvora/firewall", "*filter\n:INPUT ACCEPT [0:0]\nCOMMIT\n");
        v.w->show();
        v.llamar("Configuracion");
        v.llamar("Configuracion");
        v.llamar("bFirewall_Click");
        const QList<confimpl *> conf = abiertos<confimpl>();
        QCOMPARE(conf.size(), 2);
        QCOMPARE(abiertos<firewallimpl>().size(), 1);
        for (QDialog *d : {static_cast<QDialog *>(conf[0]), static_cast<QDialog *>(abiertos<firewallimpl>()[0])}) {
            QVERIFY(!d->parent());
            QVERIFY(!d->isModal());
        }
        QVERIFY(!QApplication::activeModalWidget());
        QPointer<confimpl> cerrado = conf[0];
        cerrado->close();
        QTRY_VERIFY(cerrado.isNull());
        QCOMPARE(abiertos<confimpl>().size(), 1);

        QSignalSpy fin(v.w.get(), &QDialog::finished);
        v.w->close();
        QCOMPARE(fin.size(), 1);
        qDeleteAll(abiertos<QDialog>());
    }
};

QTEST_MAIN(TstAyuda)
#include "tst_ayuda.moc"

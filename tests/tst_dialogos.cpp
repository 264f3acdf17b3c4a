// The configuration dialog: what its buttons and keys save or run. (The
// firewall dialog's tests are in tst_cortafuegos.)
#include "configdialog/confimpl.h"
#include "mainwindow/marcas.h"
#include "support.h"

#include <sys/stat.h>

namespace {

const QString Conf = QString(TALVORA_DATADIR) + "/conf";

QByteArrayList campos(const QWidget *d)
{
    QByteArrayList t;
    for (const QString &c : Ajustes::claves())
        t << d->findChild<QLineEdit *>(c)->text().toUtf8();
    return t;
}

} // namespace

class TstDialogos : public QObject
{
    Q_OBJECT

private slots:
    void guardar_data()
    {
        QTest::addColumn<QStringList>("pasos");    // "key=text" typed, or a button or key
        QTest::addColumn<QStringList>("guardado"); // "key=text" saved; empty: nothing saved
        QTest::newRow("sin cambios") << QStringList{"Aceptar"} << QStringList{"cEditor=  kwrite  "};
        QTest::newRow("por defecto") << QStringList{"Por Defecto", "Aceptar"}
                                     << QStringList{"cLogSquid=%editor /var/log/squid/access.log"};
        QTest::newRow("perfil") << QStringList{"Perfil=Red Hat", "Por Defecto", "Aceptar"}
                                << QStringList{"cEstadoHttpd=systemd:httpd.service"};
        QTest::newRow("cancelar") << QStringList{"Por Defecto", "cEditor=vi", "Cancelar"}
                                  << QStringList();
        QTest::newRow("Escape") << QStringList{"cEditor=vi", "<Escape>"} << QStringList();
        QTest::newRow("cierre") << QStringList{"cEditor=vi", "<Cerrar>"} << QStringList();
        QTest::newRow("blancos y vacio") << QStringList{"cEditor= vi ", "cLogSquid=", "Aceptar"}
                                         << QStringList{"cEditor= vi ", "cLogSquid="};
        // Enter in a field neither closes nor reaches "Por Defecto", which would wipe the edits.
        QTest::newRow("Intro") << QStringList{"cEditor=vi", "<Return>", "Aceptar"}
                               << QStringList{"cEditor=vi"};
        // A pasted line break would run as two commands now and as one after a restart.
        QTest::newRow("salto de linea") << QStringList{"cIniciarSquid=squid\nrm -rf /", "Aceptar"}
                                        << QStringList{"cIniciarSquid=squid rm -rf /"};
    }
    void guardar()
    {
        QFETCH(QStringList, pasos);
        QFETCH(QStringList, guardado);
        Ventana v;
        v.cambiarAjuste(Ajustes::Clave::cEditor, "  kwrite  ");
        QVERIFY(Ajustes::guardar(v.sistema(), v.ajustes.valores()));
        QByteArrayList esperado = v.ajustes.valores();
        confimpl d(v.sistema(), v.ajustes);
        d.show();
        QCOMPARE(campos(&d), esperado);
        QByteArrayList perfil = Ajustes::valoresPorDefecto(); // no systemd in the root
        for (const QString &p : pasos) {
            if (p.startsWith("Perfil=")) {
                d.cbPerfil->setCurrentText(p.section('=', 1));
                perfil = Ajustes::valoresDe(Ajustes::Perfil::RedHat);
            } else if (p.contains('='))
                d.findChild<QLineEdit *>(p.section('=', 0, 0))->setText(p.section('=', 1));
            else if (p.startsWith('<') && p != "<Cerrar>")
                QTest::keyClick(d.cEditor, p == "<Escape>" ? Qt::Key_Escape : Qt::Key_Return);
            else if (p == "<Cerrar>")
                d.close();
            for (QPushButton *b : d.findChildren<QPushButton *>()) {
                if (b->text() == p)
                    b->click();
            }
            if (p == "Por Defecto")
                QCOMPARE(campos(&d), perfil);
        }
        QVERIFY(!d.isVisible());
        if (pasos.contains("Por Defecto") && !guardado.isEmpty())
            esperado = perfil;
        for (const QString &g : guardado)
            esperado[Ajustes::claves().indexOf(g.section('=', 0, 0))] = g.section('=', 1).toUtf8();
        QCOMPARE(v.raiz.leer(Conf), lineas(esperado));
        QCOMPARE(v.ajustes.valores(), esperado); // what the running program and the next dialog use
    }

    // Two dialogs open: each saves only what was edited in it, so an
    // untouched older one undoes nothing, and its untouched fields show what
    // the other saved.
    void dosDialogos()
    {
        Ventana v;
        confimpl viejo(v.sistema(), v.ajustes), nuevo(v.sistema(), v.ajustes);
        viejo.cLogSquid->setText("vi /log");
        nuevo.cEditor->setText("gedit");
        nuevo.bAplicar->click();
        QCOMPARE(viejo.cEditor->text(), "gedit");
        viejo.bAplicar->click();
        QByteArrayList esperado = ajustesEnRaiz(v.raiz);
        esperado[int(Ajustes::Clave::cEditor)] = "gedit";
        esperado[int(Ajustes::Clave::cLogSquid)] = "vi /log";
        QCOMPARE(v.ajustes.valores(), esperado);
        QCOMPARE(v.raiz.leer(Conf), lineas(esperado));
    }

    // Fields left alone keep their ISO-8859-1 bytes, an edited one takes the
    // file's encoding or is refused; commands and paths run from them name
    // the same bytes.
    void ajustesCodificacion()
    {
        Raiz r;
        Grabador g;
        const QByteArray raiz = QFile::encodeName(r.ruta(""));
        const QByteArray conf = muestra("ajustes/latin1.conf").replace("@RAIZ@", raiz);
        const QByteArray xinetd = raiz + "/etc/xinetd.d-se\xf1or/telnet";
        QVERIFY(QDir().mkpath(r.ruta("/var/run")) && QDir().mkpath(r.ruta("/etc")));
        QCOMPARE(::mkdir(xinetd.chopped(7), 0755), 0);
        QVERIFY(Sistema::reemplazarArchivo(xinetd, "{\n\tdisable\t= yes\n}\n"));
        QVERIFY(Sistema::reemplazarArchivo(raiz + "/var/run/squid-se\xf1or.pid", "1\n"));
        r.escribir(Conf, conf);
        Ajustes ajustes;
        QCOMPARE(ajustes.cargar(r.sistema(g.ejecutor)), Ajustes::Carga::Cargado);
        const QByteArray editado = QByteArray(conf).replace("kwrite\n", "gedit \xf1\n");
        const QStringList casos[]
            = {{"cLogSquid", "vi €", conf},
               {"cEditarSquid", "%editor /etc/squid/squid.conf # configuración", conf},
               {"cEditor", "gedit ñ", editado}};
        for (const QStringList &c : casos) {
            confimpl d(r.sistema(g.ejecutor), ajustes);
            d.findChild<QLineEdit *>(c[0])->setText(c[1]);
            const QStringList cajas = contestar({}, [&] { d.bAplicar->click(); });
            QCOMPARE(cajas.size(), int(c[1].contains("€")));
            QCOMPARE(r.leer(Conf), c[2] == conf ? conf : editado);
            QCOMPARE(Ajustes::componer(ajustes.valores()), r.leer(Conf));
        }
        form1 w(r.sistema(g.ejecutor), ajustes);
        QCOMPARE(palabra(w.tSquid) + palabra(w.tTelnet), "ONOFF");
        w.bIniciarSquid->click();
        QTRY_COMPARE(g.crudos().size(), 1);
        w.bEditarSquid->click();
        w.bIniciarTelnet->click();
        QCOMPARE(g.crudos(),
                 QByteArrayList({"/opt/se\xf1or/squid start",
                                 "gedit \xf1 /etc/squid/squid.conf # configuraci\xf3n &"}));
        QCOMPARE(Sistema::leerArchivo(xinetd).value_or(""), "{\n\tdisable\t= no\n}\n");
    }
};

QTEST_MAIN(TstDialogos)
#include "tst_dialogos.moc"

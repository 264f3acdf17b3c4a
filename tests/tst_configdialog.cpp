#include "configdialog/confimpl.h"
#include "mainwindow/form1impl.h"
#include "settings/ajustes.h"
#include "support.h"

#include <QtTest>
#include <QtWidgets>

#include "configdialog/conf_icono.xpm"

namespace {

const QString Dir = QStringLiteral("/usr/local/share/talvora"), Conf = Dir + QStringLiteral("/conf");

// Blanks and an empty value included: neither may be lost on the way.
QStringList deEjemplo()
{
    QStringList v{QStringLiteral("  kwrite  ")};
    for (int i = 2; i <= Ajustes::Cantidad; ++i)
        v << (i == 13 ? QString() : QStringLiteral("valor %1").arg(i));
    return v;
}

QStringList campos(const QWidget *d) { QStringList t; for (const QString &c : Ajustes::claves()) t << d->findChild<QLineEdit *>(c)->text(); return t; }

} // namespace

class TstConfigDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { Ajustes::asignar(Ajustes::valoresPorDefecto()); }

    void formulario()
    {
        conf d;
        QCOMPARE(d.objectName() + ' ' + d.windowTitle(), "conf Configuracion de Talvora by Korvane");
        QVERIFY(d.size() == QSize(530, 405) && !d.isModal() && QByteArray(conf_icono[0]) == "34 34 116 2" && d.Solapas->count() == 7);

        // "name class parent x,y,w,h text"; every page has the same rows, its fields in the settings' order.
        QStringList esperado = {"TextLabel1 QLabel conf 20,10,140,20 Editor  / Visor ( %editor ):",
            "cEditor QLineEdit conf 170,9,310,22", "TextLabel1_2 QLabel conf 20,40,140,20 Abrir Manual:",
            "cAbrirManual QLineEdit conf 170,39,310,22", "Solapas QTabWidget conf 5,70,515,290",
            "bCancelar_2 QPushButton conf 150,365,105,28 Por Defecto", "bCancelar QPushButton conf 275,365,104,28 Cancelar",
            "bAplicar QPushButton conf 400,365,104,28 Aceptar"}, arbol;
        const QStringList filas = {"5,20,130,20 19 Iniciar", "5,54,150,16 49 Detener", "5,84,125,16 79 Reiniciar",
            "5,114,150,16 109 Archivo de Estado", "5,144,125,16 139 Editar", "5,175,125,16 170 Logs",
            "5,206,125,16 201 Directorio de Xinetd", "5,236,125,16 231 Editar Ftp"};
        const QStringList paginas = { // page, tab label, the labels
            "Korv_Gate Korv-Gate TextLabel1_4 TextLabel1_2_3 TextLabel1_3_2 TextLabel1_2_3_2 TextLabel1_3_2_2",
            "Squid Squid TextLabel1_4_2 TextLabel1_2_3_3 TextLabel1_3_2_3 TextLabel1_2_3_2_3 TextLabel1_3_2_2_3 TextLabel1_3_2_2_2_2",
            "Httpd Httpd TextLabel1_4_3 TextLabel1_2_3_4 TextLabel1_3_2_4 TextLabel1_2_3_2_4 TextLabel1_3_2_2_4 TextLabel1_3_2_2_2_3",
            "Samba Samba TextLabel1_4_4 TextLabel1_2_3_4_2 TextLabel1_3_2_5 TextLabel1_2_3_2_5 TextLabel1_3_2_2_5 TextLabel1_3_2_2_2_4",
            "Sendmail Sendmail TextLabel1_4_5 TextLabel1_2_3_5 TextLabel1_3_2_6 TextLabel1_2_3_2_6 TextLabel1_3_2_2_6 TextLabel1_3_2_2_2_5",
            "Named Named TextLabel1_4_6 TextLabel1_2_3_6 TextLabel1_3_2_7 TextLabel1_2_3_2_7 TextLabel1_3_2_2_7",
            "Xinetd Xinetd TextLabel1_4_7 TextLabel1_2_3_7 TextLabel1_3_2_8 TextLabel1_2_3_2_8 TextLabel1_3_2_2_8 "
            "TextLabel1_3_2_2_2_7 TextLabel1_3_2_2_2_7_2 TextLabel1_3_2_2_2_7_2_2"};
        for (int p = 0, clave = 2; p < paginas.size(); ++p) {
            const QStringList n = paginas[p].split(' ');
            QCOMPARE(d.Solapas->widget(p)->objectName() + ' ' + d.Solapas->tabText(p), n[0] + ' ' + n[1]);
            for (int i = 2; i < n.size(); ++i) {
                const QStringList f = filas[i - 2].split(' ');
                esperado << QStringList{n[i], "QLabel", n[0], f[0], filas[i - 2].section(' ', 2)}.join(' ')
                         << QStringList{Ajustes::claves()[clave++], "QLineEdit", n[0], "165," + f[1] + ",310,22"}.join(' ');
            }
        }
        for (QWidget *w : d.findChildren<QWidget *>())
            if (QStringList{"QLabel", "QLineEdit", "QPushButton", "QTabWidget"}.contains(w->metaObject()->className()))
                arbol << QStringLiteral("%1 %2 %3 %4 %5").arg(w->objectName(), w->metaObject()->className(),
                             w->parentWidget()->objectName(), QString::asprintf("%d,%d,%d,%d", w->x(), w->y(), w->width(),
                             w->height()), w->property("text").toString()).trimmed();
        arbol.sort(), esperado.sort(); // the pages' own order is the tabs'
        QCOMPARE(arbol, esperado);

        // Focus; the tab widget takes it through its tab bar.
        QStringList foco{"cEditor"}, orden = QStringList{"cEditor", "cAbrirManual", "Solapas"} + Ajustes::claves().mid(2)
                                               + QStringList{"bCancelar_2", "bCancelar", "bAplicar"};
        for (QWidget *w = d.cEditor->nextInFocusChain(); w != d.cEditor; w = w->nextInFocusChain())
            if (const QString n = w == d.Solapas->tabBar() ? QStringLiteral("Solapas") : w->objectName(); orden.contains(n) && foco.last() != n)
                foco << n;
        QCOMPARE(foco, orden);
    }

    void guardar_data()
    {
        // cambios: "clave=texto"
        QTest::addColumn<bool>("porDefecto"), QTest::addColumn<QStringList>("cambios"), QTest::addColumn<QString>("cierre");
        QTest::newRow("sin cambios") << false << QStringList{} << "Aceptar";
        QTest::newRow("por defecto y aceptar") << true << QStringList{} << "Aceptar";
        QTest::newRow("por defecto y cancelar") << true << QStringList{"cEditor=vi"} << "Cancelar";
        QTest::newRow("por defecto y Escape") << true << QStringList{} << "Escape";
        QTest::newRow("por defecto y cierre") << true << QStringList{} << "cierre";
        QTest::newRow("blancos") << false << QStringList{"cEditor=  vi  ", "cEditarFtp= x "} << "Aceptar";
        QTest::newRow("campo vaciado") << false << QStringList{"cLogSquid="} << "Aceptar";
        // Enter in a field neither closes nor reaches "Por Defecto", which would wipe the edits; then "Aceptar".
        QTest::newRow("Intro en un campo") << false << QStringList{"cEditor=vi"} << "Intro";
        // "Aceptar" into a directory that cannot change: root ignores permission bits, not the immutable flag.
        QTest::newRow("escritura fallida") << true << QStringList{"cIniciarSquid=/bin/true"} << "inmutable";
    }
    void guardar()
    {
        QFETCH(bool, porDefecto); QFETCH(QStringList, cambios); QFETCH(QString, cierre);
        RaizTemporal raiz;
        const QStringList antes = deEjemplo();
        raiz.escribir(Conf, lineas(antes));
        Ajustes::asignar(antes);
        if (cierre == "inmutable" && QProcess::execute("chattr", {"+i", raiz.ruta(Dir)}) != 0)
            QSKIP("chattr +i is not available here");
        const auto quitar = qScopeGuard([&] { if (cierre == "inmutable") QProcess::execute("chattr", {"-i", raiz.ruta(Dir)}); });
        confimpl d;
        d.show();
        QCOMPARE(campos(&d), antes);
        QStringList esperado = antes;
        if (porDefecto) {
            d.bCancelar_2->click();
            QCOMPARE(campos(&d), esperado = Ajustes::valoresPorDefecto());
            QVERIFY(d.isVisible() && raiz.leer(Conf) == lineas(antes) && Ajustes::valores() == antes);
        }
        for (const QString &c : cambios) {
            d.findChild<QLineEdit *>(c.section('=', 0, 0))->setText(c.section('=', 1));
            esperado[Ajustes::claves().indexOf(c.section('=', 0, 0))] = c.section('=', 1);
        }
        const auto caja = cierre == "inmutable" ? responderCaja(QStringLiteral("OK")) : nullptr;
        if (cierre == "Escape" || cierre == "Intro")
            QTest::keyClick(d.cEditor, cierre == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
        QCOMPARE(d.isVisible(), cierre != "Escape");
        if (cierre == "cierre")
            d.close();
        else if (cierre != "Escape")
            (cierre == "Cancelar" ? d.bCancelar : d.bAplicar)->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(caja ? QStringList({caja->titulo, caja->texto}) + caja->botones : QStringList(),
                 caja ? QStringList({"Error", "No se pudo escribir el Archivo", "OK"}) : QStringList());
        QCOMPARE(QDir(raiz.ruta(Dir)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"conf"}); // no temporary left
        if (cierre != "Aceptar" && cierre != "Intro")
            esperado = antes;
        QCOMPARE(raiz.leer(Conf), lineas(esperado));
        QCOMPARE(Ajustes::valores(), esperado);
        QCOMPARE(campos(confimpl().window()), esperado); // as the next dialog shows them
    }

    // A save reaches the running program (the next start of Squid) at once; of two open dialogs the last
    // save wins, and a save does not refresh the other dialog.
    void dosDialogos()
    {
        RaizTemporal raiz;
        raiz.escribir(Conf, lineas(deEjemplo()));
        Ajustes::asignar(deEjemplo());
        Grabador grabador;
        form1 w;
        confimpl a, b;
        a.cIniciarSquid->setText(QStringLiteral("/usr/sbin/squid -A"));
        b.cIniciarSquid->setText(QStringLiteral("/usr/sbin/squid -B"));
        const QStringList textos = campos(&b);
        grabador.comandos.clear();
        for (confimpl *d : {&a, &b}) {
            d->bAplicar->click();
            QVERIFY(QMetaObject::invokeMethod(&w, "bIniciarSquid_Click"));
        }
        QCOMPARE(grabador.comandos, QStringList({"/usr/sbin/squid -A", "/usr/sbin/squid -B"}));
        QCOMPARE(raiz.leer(Conf), lineas(textos));
        QCOMPARE(Ajustes::valores(), textos);
    }
};

QTEST_MAIN(TstConfigDialog)
#include "tst_configdialog.moc"

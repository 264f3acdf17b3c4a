// The three forms and the main window's menus against their golden files.
// After an intended change, run with TALVORA_ARBOLES_NUEVOS=1 to write the
// files anew, and review their diff.
#include "arbol.h"
#include "configdialog/conf.h"
#include "firewalldialog/firewall.h"
#include "support.h"

class TstFormularios : public QObject
{
    Q_OBJECT

    static void comparar(const QString &volcado, const QString &nombre)
    {
        QFile archivo(TALVORA_DATOS "/" + nombre);
        if (qEnvironmentVariableIsSet("TALVORA_ARBOLES_NUEVOS")) {
            QVERIFY(archivo.open(QIODevice::WriteOnly));
            archivo.write(volcado.toUtf8());
            return;
        }
        QVERIFY2(archivo.open(QIODevice::ReadOnly), qPrintable(archivo.fileName()));
        const QStringList esperado = QString::fromUtf8(archivo.readAll()).split('\n');
        const QStringList visto = volcado.split('\n');
        for (int i = 0; i < qMax(esperado.size(), visto.size()); ++i)
            QCOMPARE(visto.value(i), esperado.value(i));
    }

private slots:
    void formularios()
    {
        form1Base principal;
        conf configuracion;
        firewall cortafuegos;
        comparar(volcarFormulario(&principal, form1Base::staticMetaObject), "form1base.arbol");
        comparar(volcarFormulario(&configuracion, conf::staticMetaObject), "conf.arbol");
        comparar(volcarFormulario(&cortafuegos, firewall::staticMetaObject), "firewall.arbol");
    }
    void menus()
    {
        Ventana v;
        comparar(volcarMenus(v.w.get()), "menus.arbol");
    }
};

QTEST_MAIN(TstFormularios)
#include "tst_formularios.moc"

// The three forms against their golden files: any change to what a form
// builds (a widget, a text, a font, a frame, the focus order, what a button
// reaches, a slot) shows as a difference. After an intended change, run
// with TALVORA_ARBOLES_NUEVOS=1 to write the files anew, and review the diff.
#include "arbol.h"
#include "configdialog/conf.h"
#include "firewalldialog/firewall.h"
#include "mainwindow/form1base.h"

#include <QtTest>

class TstFormularios : public QObject
{
    Q_OBJECT

    static void comparar(QDialog *formulario, const QMetaObject &clase, const QString &nombre)
    {
        const QString ruta = QStringLiteral(TALVORA_DATOS "/") + nombre + QStringLiteral(".arbol");
        const QString volcado = volcarFormulario(formulario, clase);
        QFile archivo(ruta);
        if (qEnvironmentVariableIsSet("TALVORA_ARBOLES_NUEVOS")) {
            QVERIFY(archivo.open(QIODevice::WriteOnly));
            archivo.write(volcado.toUtf8());
            return;
        }
        QVERIFY2(archivo.open(QIODevice::ReadOnly), qPrintable(ruta));
        const QStringList esperado = QString::fromUtf8(archivo.readAll()).split(QLatin1Char('\n'));
        const QStringList visto = volcado.split(QLatin1Char('\n'));
        for (int i = 0; i < qMax(esperado.size(), visto.size()); ++i)
            QCOMPARE(visto.value(i), esperado.value(i));
    }

private slots:
    void principal()
    {
        form1Base f;
        comparar(&f, form1Base::staticMetaObject, QStringLiteral("form1base"));
    }
    void configuracion()
    {
        conf c;
        comparar(&c, conf::staticMetaObject, QStringLiteral("conf"));
    }
    void cortafuegos()
    {
        firewall f;
        comparar(&f, firewall::staticMetaObject, QStringLiteral("firewall"));
    }
};

QTEST_MAIN(TstFormularios)
#include "tst_formularios.moc"

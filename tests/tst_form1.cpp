// The main window's controller: start-up (first run, loading, failures),
// its slots, menus, status probes and the end of the run.
#include "ventana.h"

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace {

const QString Conf = "/usr/local/share/talvora/conf", Deny = "/etc/hosts.deny", Allow = "/etc/hosts.allow";
const QString On = "<b><font color=darkgreen>ON", Off = "<b><font color=red>OFF", Err = "<b><font color=darkblue>Error";
const QStringList servicios = QString("Gate Squid Httpd Samba Sendmail Dns Xinetd Telnet Ftp Pop3 Swat").split(' ');
const QString Pregunta = "Bienvenido a Talvora by Korvane 1.0|Por primera vez se ejecuta el programa\n\nDesea escribir el archivo /etc/hosts.deny ?\n"
                         "(Se agrega la linea ALL:ALL) por defecto.\nEsto permitira optimizar el uso de xinetd \ny loguear los accesos no autorizados al "
                         "sistema.\n--- Se creara una copia de seguridad de su archivo original\nen /etc/hosts.deny.viejo ---\n";

QLabel *etiqueta(QWidget *w, const QString &servicio) { return w->findChild<QLabel *>("t" + servicio); }

// Runs a probe directly, then queued by its slot signature.
void sondear(form1 &w, const QString &servicio, const QString &esperado)
{
    etiqueta(&w, servicio)->clear();
    QVERIFY(QMetaObject::invokeMethod(&w, qPrintable("LeerEstado" + servicio)));
    QCOMPARE(etiqueta(&w, servicio)->text(), esperado);
    etiqueta(&w, servicio)->clear();
    QTimer::singleShot(0, &w, qPrintable("1LeerEstado" + servicio + "()"));
    QTRY_COMPARE(etiqueta(&w, servicio)->text(), esperado);
}

// A status label makes its rich text control when it first gets a markup, so
// its ChildAdded marks when it was probed; "+" once the editor holds hosts.allow.
struct OrdenDeSondas : QObject {
    QStringList orden;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (auto *l = qobject_cast<QLabel *>(o); l && e->type() == QEvent::ChildAdded && l->objectName().startsWith('t'))
            orden << l->objectName() + (l->window()->findChild<QPlainTextEdit *>()->toPlainText().isEmpty() ? "" : "+");
        return false;
    }
};

// The window's slots (or the application's quit) that an action is wired to; disconnecting finds them.
QString conectadoA(QAction *a, QObject *w)
{
    QStringList r;
    for (int i = form1Base::staticMetaObject.methodOffset(); i < w->metaObject()->methodCount(); ++i)
        if (QObject::disconnect(a, nullptr, w, ("1" + w->metaObject()->method(i).methodSignature()).constData()))
            r << w->metaObject()->method(i).name();
    return QObject::disconnect(a, nullptr, qApp, SLOT(quit())) ? "quit" : r.join(',');
}

} // namespace

class TstForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init() { Ajustes::asignar(Ajustes::valoresPorDefecto()); }
    void cleanup() { descartarRespuestas(); }

    void inicio_data()
    {
        // The configuration file (or "<falta>" in its directory, "<sin directorio>", "<directorio>" in its place),
        // the answers given, the boxes shown and the settings loaded.
        QTest::addColumn<QString>("conf");
        QTest::addColumn<QStringList>("respuestas");
        QTest::addColumn<QStringList>("cajas");
        QTest::addColumn<QStringList>("ajustes");
        const QStringList defecto = Ajustes::valoresPorDefecto(), listo{Pregunta, "Listo|Se modifico /etc/hosts.deny"};
        for (const char *r : {"No Escribir(Cancelar)", "<Escape>", "<Return>", "<Cerrar>"})
            QTest::newRow(r) << "<falta>" << QStringList{r} << QStringList{Pregunta} << defecto;
        QTest::newRow("Escribir") << "<falta>" << QStringList{"Escribir (Recomendado)", "<Return>"} << listo << defecto;
        QStringList blancos = Ajustes::claves(), corto = blancos; // 44 values unlike the defaults and each other
        blancos[1] = blancos[20] = corto[43] = "";
        QTest::newRow("blancos") << QString(lineas(blancos)) << QStringList() << QStringList() << blancos;
        QTest::newRow("43 lineas") << QString(lineas(Ajustes::claves().mid(0, 43))) << QStringList() << QStringList() << corto;
        QTest::newRow("vacio") << "" << QStringList() << QStringList() << QStringList(44, "");
        QTest::newRow("ilegible") << "<directorio>" << QStringList{"<Return>"} << QStringList{"Error|No se puede Leer el Archivo de Configuracion"} << defecto;
        QTest::newRow("sin directorio") << "<sin directorio>" << QStringList{"No Escribir(Cancelar)", "<Return>"} << QStringList{Pregunta, "Error|No se pudo escribir el Archivo"} << defecto;
    }
    void inicio()
    {
        QFETCH(QString, conf);
        QFETCH(QStringList, respuestas);
        QFETCH(QStringList, cajas);
        QFETCH(QStringList, ajustes);
        const bool escribe = respuestas.contains("Escribir (Recomendado)"), construida = conf != "<sin directorio>";
        RaizTemporal raiz;
        raiz.escribir(Deny, "viejo\n");
        raiz.escribir(Allow, "ALL: 127.0.0.1\n");
        if (conf == "<falta>" || conf == "<directorio>") // root reads any file whatever its mode, but not a directory
            raiz.crearDirectorio(conf == "<falta>" ? "/usr/local/share/talvora" : Conf);
        else if (conf != "<sin directorio>")
            raiz.escribir(Conf, conf.toUtf8());
        Grabador g;
        QByteArray denyAlCopiar = "-";
        g.accion = [&](const QString &) { return denyAlCopiar = raiz.leer(Deny), 0; };
        QList<std::shared_ptr<CajaVista>> respondidas;
        for (const QString &r : respuestas + QStringList{""}) // one box more than expected is ended, not answered
            respondidas << responderCaja(r);
        OrdenDeSondas orden;
        qApp->installEventFilter(&orden);
        auto w = std::make_unique<form1>();
        qApp->removeEventFilter(&orden);
        QCOMPARE(orden.orden.join(' '), construida ? "tGate tSquid tHttpd tXinetd tTelnet tFtp tPop3+ tSwat+ tSendmail+ tSamba+ tDns+" : "");
        QStringList vistas;
        for (const auto &c : respondidas)
            if (c->vista)
                vistas << c->titulo + "|" + c->texto;
        QCOMPARE(vistas, cajas);
        if (cajas.value(0) == Pregunta)
            QCOMPARE(respondidas[0]->botones, (QStringList{"No Escribir(Cancelar)", "Escribir (Recomendado)"}));
        QCOMPARE(Ajustes::valores(), ajustes);
        QCOMPARE(raiz.leer(Conf), conf == "<falta>" ? lineas(Ajustes::valoresPorDefecto()) : conf.startsWith('<') ? "" : conf.toUtf8());
        QCOMPARE(g.comandos.filter("hosts.deny.viejo").size(), int(escribe));
        QCOMPARE(denyAlCopiar, escribe ? "viejo\n" : "-"); // the backup is taken before the rewrite
        QCOMPARE(raiz.leer(Deny).startsWith("# Modificado por Talvora by Korvane\nALL:ALL: "), escribe);
        QCOMPARE(w->findChild<QMenuBar *>() != nullptr, construida);
        for (const QString &s : servicios)
            QCOMPARE(etiqueta(w.get(), s)->text().isEmpty(), !construida);
        w.reset(); // an editor nobody typed in is not saved
        QCOMPARE(raiz.leer(Allow), "ALL: 127.0.0.1\n");
        QCOMPARE(raiz.existe("/usr/local/share/talvora"), conf != "<sin directorio>");
    }

    void slotsMenusYCierre()
    {
        const QStringList esperados = QStringLiteral(
            "bIniciarGate bIniciarSquid bIniciarHttpd bIniciarSamba bIniciarSendmail bIniciarDns bIniciarXinetd bIniciarTelnet "
            "bIniciarFtp bIniciarPop3 bIniciarSwat bAplicarHostsAllow bDetenerGate bDetenerSquid bDetenerHttpd bDetenerSamba "
            "bDetenerSendmail bDetenerDns bDetenerXinetd bDetenerTelnet bDetenerFtp bDetenerPop3 bDetenerSwat bReiniciarGate "
            "bReiniciarSquid bReiniciarHttpd bReiniciarSamba bReiniciarSendmail bReiniciarDns bReiniciarXinetd bEditarGate "
            "bEditarSquid bEditarHttpd bEditarSamba bEditarSendmail bEditarDns bEditarXinetd bEditarFtp bLogSquid bLogHttpd "
            "bLogSamba bLogSendmail bLogXinetd bLogHostsAllow bFirewall LeerEstadoGate LeerEstadoSquid LeerEstadoHttpd "
            "LeerEstadoSamba LeerEstadoSendmail LeerEstadoDns LeerEstadoXinetd LeerEstadoTelnet LeerEstadoFtp LeerEstadoPop3 "
            "LeerEstadoSwat LeerEstadoHostsAllow EscribirHostsDeny EscribirHostsAllow EscribirFtp EscribirKorvgate VerManual "
            "VerAcercade Configuracion").split(' ');
        QCOMPARE(slotsPropios(form1::staticMetaObject), esperados);

        Ventana v;
        // Each menu as "path: entry, ...", an entry being "text=slot shortcut", "-" or a submenu's title.
        QStringList esperado = {
            "&Archivo: Crear /etc/hosts.deny Por Defecto=EscribirHostsDeny, Crear /etc/hosts.allow Por Defecto=EscribirHostsAllow, -, "
            "Crear korv-gate Por Defecto=EscribirKorvgate, Crear /etc/ftpaccess Por Defecto=EscribirFtp, -, Configurar ...=Configuracion, -, S&alir=quit Ctrl+Q",
            "&Servicios: Korv-&Gate, Squid, Httpd, Samba, Sendmail, Dns, Xinetd"};
        const QString id = "Iniciar=bIniciar%1_Click, Detener=bDetener%1_Click", re = ", Reiniciar=bReiniciar%1_Click, -, Editar=bEditar%1_Click";
        for (const QString &s : servicios.mid(0, 7))
            esperado << "&Servicios|" + (s == "Gate" ? "Korv-&Gate" : s) + ": " + QString(id + re + (s == "Gate" || s == "Dns" ? "" : ", Logs=bLog%1_Click")).arg(s);
        esperado << "&Xinetd Serv: Telnet, Ftp, Pop3, Swat";
        for (const QString &s : servicios.mid(7))
            esperado << "&Xinetd Serv|" + s + ": " + QString(id + (s == "Ftp" ? ", -, Editar=bEditar%1_Click" : "")).arg(s);
        esperado << "A&yuda: Manual...=VerManual, -, Acerca de ...=VerAcercade";

        auto *barra = v.w->findChild<QMenuBar *>();
        v.w->show(); // the bar spans the top strip as the window is resized
        for (int ancho : {526, 700}) {
            v.w->resize(ancho, 500);
            QTRY_COMPARE(barra->geometry(), QRect(0, 0, ancho, barra->height()));
            QVERIFY(barra->height() > 0 && barra->height() <= 30);
        }

        QStringList visto;
        std::function<void(QMenu *, const QString &)> recorrer = [&](QMenu *menu, const QString &ruta) {
            QStringList entradas;
            for (QAction *a : menu->actions())
                entradas << (a->menu() ? a->menu()->title() : a->isSeparator() ? "-" : a->text() + "=" + conectadoA(a, v.w.get()))
                                + (a->shortcut().isEmpty() ? "" : " " + a->shortcut().toString());
            visto << ruta + menu->title() + ": " + entradas.join(", ");
            for (QAction *a : menu->actions())
                if (a->menu())
                    recorrer(a->menu(), ruta + menu->title() + "|");
        };
        for (QAction *a : barra->actions())
            recorrer(a->menu(), "");
        QCOMPARE(visto, esperado);

        QSignalSpy terminado(v.w.get(), &QDialog::finished); // closing the window ends the run
        v.w->close();
        QCOMPARE(terminado.count(), 1);
    }

    void sondas_data()
    {
        // What lies at the probed path, and what the xinetd-file and the existence probes make of it.
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<QString>("xinetd");
        QTest::addColumn<QString>("existencia");
        QTest::newRow("disable = yes") << QByteArray("service telnet\n{\n\tdisable\t= yes\n}\n") << Off << On;
        QTest::newRow("disable = no") << QByteArray("service telnet\n{\n\tdisable\t= no\n}\n") << On << On;
        QTest::newRow("comentario antes") << QByteArray("# disable this? yes, by hand\n{\n\tdisable\t= no\n}\n") << Off << On;
        QTest::newRow("YES") << QByteArray("\tdisable\t= YES\n") << On << On;
        QTest::newRow("dos yes") << QByteArray("\tdisable\t= yes # yes, off\n") << On << On;
        QTest::newRow("no existe") << QByteArray("<falta>") << Err << Off;
        QTest::newRow("ruta vacia") << QByteArray("<vacia>") << Err << Off;
    }
    void sondas()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(QString, xinetd);
        QFETCH(QString, existencia);
        Ventana v;
        for (int i = 0; i < servicios.size(); ++i) { // each probe looks at its own path only
            const QString ruta = i < 7 ? "/var/run/sonda" + servicios[i] : "/etc/xinetd.d/" + QStringList{"telnet", "wu-ftpd", "ipop3", "swat"}[i - 7];
            if (!contenido.startsWith('<'))
                v.raiz.escribir(ruta, contenido);
            if (i < 7)
                cambiarAjustes({{"cEstado" + servicios[i], contenido == "<vacia>" ? "" : v.raiz.ruta(ruta)}});
            sondear(*v.w, servicios[i], i < 7 ? existencia : xinetd);
            QFile::remove(v.raiz.ruta(ruta));
        }
    }

    void finDeLaEjecucion()
    {
        Ventana v([](Ventana &x) { x.raiz.escribir(Allow, "ALL: 127.0.0.1\n"); });
        QTest::keyClicks(v.w->mlHostsAllow, "# ");
        v.w.reset(); // typed but not applied: saved all the same
        QCOMPARE(v.raiz.leer(Allow), "# ALL: 127.0.0.1\n\n");
        Ventana sinArchivo; // the Error text of a failed load is not saved
        sinArchivo.w.reset();
        QVERIFY(!sinArchivo.raiz.existe(Allow));
    }
};

QTEST_MAIN(TstForm1)
#include "tst_form1.moc"

// The main window's form: its widgets, slots, connections and tab order,
// checked against a table of their own rather than the generator's.
#include "mainwindow/form1base.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

namespace {

enum Fuente { Normal, Helv, HelvNegrita };

struct Fila {
    const char *nombre, *clase, *padre;
    int x, y, w, h;
    const char *texto, *tip;
    Fuente fuente;
};

const char *const Ini = "Iniciar", *const Det = "Detener", *const Rei = "Reiniciar", *const Edi = "Editar",
                  *const Log = "Logs";

const Fila tabla[] = {
    {"TextLabel1", "QLabel", "", 5, 35, 120, 20, "<b>Korv-Gate </b> Router",
     "Servicio korv-gate que maneja un Router de iptables Masquerade", Normal},
    {"TextLabel2", "QLabel", "", 5, 65, 120, 20, "<b>Squid</b> Proxy Web",
     "Para iniciarlo por primera vez tipiar en una consola: squid -z para generar los archivos swap", Normal},
    {"TextLabel2_2", "QLabel", "", 5, 95, 120, 20, "<b>Httpd</b> Servidor Web",
     "Servidor de Paginas Web (/var/www/html)", Normal},
    {"TextLabel2_3", "QLabel", "", 5, 125, 135, 20, "<b>Samba</b> Redes Windows",
     "Permite utilizar sistema de archivos e impresoras Windows", Normal},
    {"TextLabel2_2_3", "QLabel", "", 5, 155, 140, 20, "<b>Sendmail</b> Servidor Smtp",
     "Servidor de Envio de Mails Smtp", Normal},
    {"TextLabel2_2_3_2", "QLabel", "", 5, 185, 135, 20, "<b>Named</b> Servidor DNS", "Servidor de Dns", Normal},
    {"TextLabel2_2_2", "QLabel", "", 5, 215, 140, 25, "<b>Xinetd</b> Talvora", "Talvora", Normal},
    {"TextLabel2_2_2_2", "QLabel", "", 155, 245, 40, 20, "Telnet", "Acceso Remoto", HelvNegrita},
    {"TextLabel34", "QLabel", "", 155, 270, 45, 20, "Ftp", "Acceso a archivos", HelvNegrita},
    {"TextLabel35", "QLabel", "", 155, 295, 45, 20, "Pop3", "Permite que los usuarios puedan leer su correo Pop3",
     HelvNegrita},
    {"TextLabel35_2", "QLabel", "", 155, 320, 45, 20, "Swat", "Configura el servidor samba por pagina web",
     HelvNegrita},
    {"TextLabel2_2_2_3", "QLabel", "", 25, 350, 80, 50, "<b>Hosts Allow:</b> Accesos Autorizados",
     "Solamente para los Servicios de Xinetd", Normal},

    {"bIniciarGate", "QPushButton", "", 145, 30, 60, 30, Ini, "", Normal},
    {"bDetenerGate", "QPushButton", "", 210, 30, 60, 30, Det, "", Normal},
    {"bReiniciarGate", "QPushButton", "", 275, 30, 60, 30, Rei, "", Normal},
    {"bEditarGate", "QPushButton", "", 425, 30, 50, 30, Edi, "", Normal},
    {"bIniciarSquid", "QPushButton", "", 145, 60, 60, 30, Ini, "", Normal},
    {"bDetenerSquid", "QPushButton", "", 210, 60, 60, 30, Det, "", Normal},
    {"bReiniciarSquid", "QPushButton", "", 275, 60, 60, 30, Rei, "", Normal},
    {"bEditarSquid", "QPushButton", "", 425, 60, 50, 30, Edi, "", Normal},
    {"bLogSquid", "QPushButton", "", 480, 60, 40, 30, Log, "", Normal},
    {"bIniciarHttpd", "QPushButton", "", 145, 90, 60, 30, Ini, "", Normal},
    {"bDetenerHttpd", "QPushButton", "", 210, 90, 60, 30, Det, "", Normal},
    {"bReiniciarHttpd", "QPushButton", "", 275, 90, 60, 30, Rei, "", Normal},
    {"bEditarHttpd", "QPushButton", "", 425, 90, 50, 30, Edi, "", Normal},
    {"bLogHttpd", "QPushButton", "", 480, 90, 40, 30, Log, "", Normal},
    {"bIniciarSamba", "QPushButton", "", 145, 120, 60, 30, Ini, "", Normal},
    {"bDetenerSamba", "QPushButton", "", 210, 120, 60, 30, Det, "", Normal},
    {"bReiniciarSamba", "QPushButton", "", 275, 120, 60, 30, Rei, "", Normal},
    {"bEditarSamba", "QPushButton", "", 425, 120, 50, 30, Edi, "", Normal},
    {"bLogSamba", "QPushButton", "", 480, 120, 40, 30, Log, "", Normal},
    {"bIniciarSendmail", "QPushButton", "", 145, 150, 60, 30, Ini, "", Normal},
    {"bDetenerSendmail", "QPushButton", "", 210, 150, 60, 30, Det, "", Normal},
    {"bReiniciarSendmail", "QPushButton", "", 275, 150, 60, 30, Rei, "", Normal},
    {"bEditarSendmail", "QPushButton", "", 425, 150, 50, 30, Edi, "", Normal},
    {"bLogSendmail", "QPushButton", "", 480, 150, 40, 30, Log, "", Normal},
    {"bIniciarDns", "QPushButton", "", 145, 180, 60, 30, Ini, "", Normal},
    {"bDetenerDns", "QPushButton", "", 210, 180, 60, 30, Det, "", Normal},
    {"bReiniciarDns", "QPushButton", "", 275, 180, 60, 30, Rei, "", Normal},
    {"bEditarDns", "QPushButton", "", 425, 180, 50, 30, Edi, "", Normal},
    {"bIniciarXinetd", "QPushButton", "", 145, 210, 60, 30, Ini, "", Normal},
    {"bDetenerXinetd", "QPushButton", "", 210, 210, 60, 30, Det, "", Normal},
    {"bReiniciarXinetd", "QPushButton", "", 275, 210, 60, 30, Rei, "", Normal},
    {"bEditarXinetd", "QPushButton", "", 425, 210, 50, 30, Edi, "", Normal},
    {"bLogXinetd", "QPushButton", "", 480, 210, 40, 30, Log, "", Normal},
    {"bIniciarTelnet", "QPushButton", "", 210, 245, 60, 25, Ini, "", Helv},
    {"bDetenerTelnet", "QPushButton", "", 275, 245, 60, 25, Det, "", Helv},
    {"bIniciarFtp", "QPushButton", "", 210, 270, 60, 25, Ini, "", Helv},
    {"bDetenerFtp", "QPushButton", "", 275, 270, 60, 25, Det, "", Helv},
    {"bEditarFtp", "QPushButton", "", 425, 270, 50, 25, Edi, "", Helv},
    {"bIniciarPop3", "QPushButton", "", 210, 295, 60, 25, Ini, "", Helv},
    {"bDetenerPop3", "QPushButton", "", 275, 295, 60, 25, Det, "", Helv},
    {"bIniciarSwat", "QPushButton", "", 210, 320, 60, 25, Ini, "", Helv},
    {"bDetenerSwat", "QPushButton", "", 275, 320, 60, 25, Det, "", Helv},
    {"PushButton45", "QPushButton", "", 20, 280, 91, 25, "Firewall", "Gestiona el firewall con iptables", Normal},
    {"bAplicarHostsAllow", "QPushButton", "", 20, 405, 80, 31, "Aplicar",
     "Guarda y aplica las modificaciones a /etc/hosts.allow", Normal},
    {"bLogHostsDeny", "QPushButton", "", 5, 440, 105, 28, "Logs Hosts Deny",
     "Log de /var/log/HOSTS.DENY que muestra los accesos No autorizados (Necesita host.deny Por Defecto... "
     "Ver Menu Archivo)",
     Normal},
    {"mlHostsAllow", "QPlainTextEdit", "", 115, 350, 405, 125, "", "", Helv},

    {"Frame1", "QFrame", "", 345, 30, 70, 30, "", "", Normal},
    {"Frame2", "QFrame", "", 345, 60, 70, 30, "", "", Normal},
    {"Frame2_2", "QFrame", "", 345, 90, 70, 30, "", "", Normal},
    {"Frame2_3", "QFrame", "", 345, 120, 70, 30, "", "", Normal},
    {"Frame2_2_3", "QFrame", "", 345, 150, 70, 30, "", "", Normal},
    {"Frame2_2_3_2", "QFrame", "", 345, 180, 70, 30, "", "", Normal},
    {"Frame2_2_2", "QFrame", "", 345, 210, 70, 30, "", "", Normal},
    {"Frame2_2_2_2", "QFrame", "", 345, 245, 70, 25, "", "", Normal},
    {"Frame2_2_2_2_2", "QFrame", "", 345, 270, 70, 25, "", "", Normal},
    {"Frame2_2_2_2_2_2", "QFrame", "", 345, 295, 70, 25, "", "", Normal},
    {"Frame2_2_2_2_2_2_2", "QFrame", "", 345, 320, 70, 25, "", "", Normal},
    {"tGate", "QLabel", "Frame1", 10, 5, 50, 20, "", "", Normal},
    {"tSquid", "QLabel", "Frame2", 10, 5, 50, 20, "", "", Normal},
    {"tHttpd", "QLabel", "Frame2_2", 10, 5, 50, 20, "", "", Normal},
    {"tSamba", "QLabel", "Frame2_3", 10, 5, 50, 20, "", "", Normal},
    {"tSendmail", "QLabel", "Frame2_2_3", 10, 5, 50, 20, "", "", Normal},
    {"tDns", "QLabel", "Frame2_2_3_2", 10, 5, 50, 20, "", "", Normal},
    {"tXinetd", "QLabel", "Frame2_2_2", 10, 5, 50, 20, "", "", Normal},
    {"tTelnet", "QLabel", "Frame2_2_2_2", 10, 5, 50, 16, "", "", Helv},
    {"tFtp", "QLabel", "Frame2_2_2_2_2", 10, 5, 50, 16, "", "", Helv},
    {"tPop3", "QLabel", "Frame2_2_2_2_2_2", 10, 5, 50, 16, "", "", Helv},
    {"tSwat", "QLabel", "Frame2_2_2_2_2_2_2", 10, 5, 50, 16, "", "", Helv},
};

const char *const slotsEnOrden[] = {
    "bAplicarHostsAllow_Click", "bDetenerDns_Click", "bDetenerFtp_Click", "bDetenerGate_Click",
    "bDetenerHttpd_Click", "bDetenerPop3_Click", "bDetenerSamba_Click", "bDetenerSendmail_Click",
    "bDetenerSquid_Click", "bDetenerSwat_Click", "bDetenerTelnet_Click", "bDetenerXinetd_Click",
    "bEditarDns_Click", "bEditarFtp_Click", "bEditarGate_Click", "bEditarHttpd_Click", "bEditarSamba_Click",
    "bEditarSendmail_Click", "bEditarSquid_Click", "bEditarTelnet_Click", "bEditarXinetd_Click",
    "bIniciarDns_Click", "bIniciarFtp_Click", "bIniciarGate_Click", "bIniciarHttpd_Click", "bIniciarPop3_Click",
    "bIniciarSamba_Click", "bIniciarSendmail_Click", "bIniciarSquid_Click", "bIniciarSwat_Click",
    "bIniciarTelnet_Click", "bIniciarXinetd_Click", "bLogDns_Click", "bLogFtp_Click", "bLogGate_Click",
    "bLogHostsAllow_Click", "bLogHttpd_Click", "bLogSamba_Click", "bLogSendmail_Click", "bLogSquid_Click",
    "bLogTelnet_Click", "bLogXinetd_Click", "bReiniciarDns_Click", "bReiniciarGate_Click",
    "bReiniciarHttpd_Click", "bReiniciarSamba_Click", "bReiniciarSendmail_Click", "bReiniciarSquid_Click",
    "bReiniciarXinetd_Click", "bFirewall_Click",
};

const char *const ordenTab[] = {
    "bIniciarGate", "bDetenerGate", "bReiniciarGate", "bEditarGate", "bIniciarSquid", "bDetenerSquid",
    "bReiniciarSquid", "bEditarSquid", "bLogSquid", "bIniciarHttpd", "bDetenerHttpd", "bReiniciarHttpd",
    "bEditarHttpd", "bLogHttpd", "bIniciarSamba", "bDetenerSamba", "bReiniciarSamba", "bEditarSamba",
    "bLogSamba", "bIniciarSendmail", "bDetenerSendmail", "bReiniciarSendmail", "bEditarSendmail",
    "bLogSendmail", "bIniciarDns", "bDetenerDns", "bReiniciarDns", "bEditarDns", "bIniciarXinetd",
    "bDetenerXinetd", "bReiniciarXinetd", "bEditarXinetd", "bLogXinetd", "bIniciarTelnet", "bDetenerTelnet",
    "bIniciarFtp", "bDetenerFtp", "bEditarFtp", "bIniciarPop3", "bDetenerPop3", "bIniciarSwat", "bDetenerSwat",
    "mlHostsAllow", "bAplicarHostsAllow", "bLogHostsDeny", "PushButton45",
};

// Records which of the form's slots a click reaches.
#define REGISTRA(s) \
    void s() override { corridos << QStringLiteral(#s); }
class Registro : public form1Base
{
public:
    QStringList corridos;
    REGISTRA(bAplicarHostsAllow_Click) REGISTRA(bDetenerDns_Click) REGISTRA(bDetenerFtp_Click)
    REGISTRA(bDetenerGate_Click) REGISTRA(bDetenerHttpd_Click) REGISTRA(bDetenerPop3_Click)
    REGISTRA(bDetenerSamba_Click) REGISTRA(bDetenerSendmail_Click) REGISTRA(bDetenerSquid_Click)
    REGISTRA(bDetenerSwat_Click) REGISTRA(bDetenerTelnet_Click) REGISTRA(bDetenerXinetd_Click)
    REGISTRA(bEditarDns_Click) REGISTRA(bEditarFtp_Click) REGISTRA(bEditarGate_Click)
    REGISTRA(bEditarHttpd_Click) REGISTRA(bEditarSamba_Click) REGISTRA(bEditarSendmail_Click)
    REGISTRA(bEditarSquid_Click) REGISTRA(bEditarTelnet_Click) REGISTRA(bEditarXinetd_Click)
    REGISTRA(bIniciarDns_Click) REGISTRA(bIniciarFtp_Click) REGISTRA(bIniciarGate_Click)
    REGISTRA(bIniciarHttpd_Click) REGISTRA(bIniciarPop3_Click) REGISTRA(bIniciarSamba_Click)
    REGISTRA(bIniciarSendmail_Click) REGISTRA(bIniciarSquid_Click) REGISTRA(bIniciarSwat_Click)
    REGISTRA(bIniciarTelnet_Click) REGISTRA(bIniciarXinetd_Click) REGISTRA(bLogDns_Click)
    REGISTRA(bLogFtp_Click) REGISTRA(bLogGate_Click) REGISTRA(bLogHostsAllow_Click) REGISTRA(bLogHttpd_Click)
    REGISTRA(bLogSamba_Click) REGISTRA(bLogSendmail_Click) REGISTRA(bLogSquid_Click)
    REGISTRA(bLogTelnet_Click) REGISTRA(bLogXinetd_Click) REGISTRA(bReiniciarDns_Click)
    REGISTRA(bReiniciarGate_Click) REGISTRA(bReiniciarHttpd_Click) REGISTRA(bReiniciarSamba_Click)
    REGISTRA(bReiniciarSendmail_Click) REGISTRA(bReiniciarSquid_Click) REGISTRA(bReiniciarXinetd_Click)
    REGISTRA(bFirewall_Click)
};

bool esDeLaForma(const QWidget *w)
{
    return qobject_cast<const QFrame *>(w) || qobject_cast<const QPushButton *>(w);
}

} // namespace

class TstForm1Base : public QObject
{
    Q_OBJECT

private slots:
    void ventana()
    {
        form1Base f;
        QCOMPARE(f.objectName(), QStringLiteral("form1Base"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Talvora by Korvane"));
        QCOMPARE(f.size(), QSize(526, 481));
        QVERIFY(f.isSizeGripEnabled());
        QVERIFY(!f.isModal());
        QVERIFY(f.isWindow());
        QVERIFY(f.windowIconText().isEmpty());
        QVERIFY(f.windowIcon().availableSizes().contains(QSize(32, 32)));
        const QImage icono = f.windowIcon().pixmap(QSize(32, 32)).toImage();
        QVERIFY(icono.hasAlphaChannel());
        QCOMPARE(qAlpha(icono.pixel(0, 0)), 0);

        QFile xpm(qEnvironmentVariable("TALVORA_SOURCE_DIR") + "/mainwindow/form1base_icono.xpm");
        QVERIFY(xpm.open(QIODevice::ReadOnly));
        const QByteArray fuente = xpm.readAll();
        QVERIFY(fuente.contains("\"32 32 362 2\""));
        QCOMPARE(fuente.count(" c None\""), 1);

        form1Base otra(nullptr, "otra", true);
        QCOMPARE(otra.objectName(), QStringLiteral("otra"));
        QVERIFY(otra.isModal());
    }

    void widgets()
    {
        form1Base f;
        int vistos = 0;
        for (QWidget *w : f.findChildren<QWidget *>())
            vistos += esDeLaForma(w);
        QCOMPARE(vistos, 80);
        QCOMPARE(int(std::size(tabla)), 80);

        for (const Fila &e : tabla) {
            const QString nombre = QString::fromLatin1(e.nombre);
            const auto encontrados = f.findChildren<QWidget *>(nombre);
            QVERIFY2(encontrados.size() == 1, e.nombre);
            QWidget *w = encontrados.first();
            QCOMPARE(w->metaObject()->className(), e.clase);
            QCOMPARE(w->parentWidget()->objectName(), QString::fromLatin1(*e.padre ? e.padre : "form1Base"));
            QCOMPARE(w->geometry(), QRect(e.x, e.y, e.w, e.h));
            QCOMPARE(w->toolTip(), QString::fromLatin1(e.tip));
            QVERIFY2(w->isEnabled() && !w->isHidden(), e.nombre);
            QVERIFY2(w->whatsThis().isEmpty(), e.nombre);

            QCOMPARE(w->testAttribute(Qt::WA_SetFont), e.fuente != Normal);
            if (e.fuente != Normal) {
                QCOMPARE(w->font().family(), QStringLiteral("adobe-helvetica"));
                QCOMPARE(w->font().pointSize(), 12);
                QCOMPARE(w->font().bold(), e.fuente == HelvNegrita);
            }

            if (auto *b = qobject_cast<QPushButton *>(w))
                QCOMPARE(b->text(), QString::fromLatin1(e.texto));
            if (auto *l = qobject_cast<QLabel *>(w)) {
                QCOMPARE(l->text(), QString::fromLatin1(e.texto));
                const bool estado = nombre.startsWith('t');
                QCOMPARE(l->alignment(), estado ? Qt::Alignment(Qt::AlignCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
                QCOMPARE(l->textFormat(), nombre == "tGate" ? Qt::RichText : Qt::AutoText);
                QCOMPARE(l->frameShape(), QFrame::NoFrame);
                QCOMPARE(l->frameShadow(), QFrame::Plain);
            } else if (auto *m = qobject_cast<QPlainTextEdit *>(w)) {
                QVERIFY(m->toPlainText().isEmpty());
                QCOMPARE(m->frameShape(), QFrame::Box);
            } else if (auto *fr = qobject_cast<QFrame *>(w)) {
                QCOMPARE(fr->frameShape(), QFrame::StyledPanel);
                QCOMPARE(fr->frameShadow(), QFrame::Raised);
            }
        }
    }

    void slotsEnElMetaObjeto()
    {
        const QMetaObject &mo = form1Base::staticMetaObject;
        QCOMPARE(mo.className(), "form1Base");
        QCOMPARE(mo.superClass(), &QDialog::staticMetaObject);
        QCOMPARE(mo.propertyCount(), mo.propertyOffset());
        QCOMPARE(mo.methodCount() - mo.methodOffset(), int(std::size(slotsEnOrden)));
        for (int i = 0; i < int(std::size(slotsEnOrden)); ++i) {
            const QMetaMethod m = mo.method(mo.methodOffset() + i);
            QCOMPARE(m.methodSignature(), QByteArray(slotsEnOrden[i]) + "()");
            QCOMPARE(m.methodType(), QMetaMethod::Slot);
            QCOMPARE(m.access(), QMetaMethod::Public);
            QCOMPARE(m.returnType(), int(QMetaType::Void));
        }
    }

    void cadaBotonLlegaASuSlot()
    {
        Registro f;
        QSet<QString> alcanzados;
        const auto botones = f.findChildren<QPushButton *>();
        QCOMPARE(botones.size(), 45);
        for (QPushButton *b : botones) {
            const QString nombre = b->objectName();
            const QString esperado = nombre == "bLogHostsDeny" ? QStringLiteral("bLogHostsAllow_Click")
                : nombre == "PushButton45"                    ? QStringLiteral("bFirewall_Click")
                                                              : nombre + "_Click";
            f.corridos.clear();
            b->click();
            QCOMPARE(f.corridos, QStringList{esperado});
            alcanzados.insert(esperado);
        }
        QCOMPARE(alcanzados.size(), 45);
        for (const char *s : {"bEditarTelnet_Click", "bLogDns_Click", "bLogFtp_Click", "bLogGate_Click",
                              "bLogTelnet_Click"})
            QVERIFY2(!alcanzados.contains(QLatin1String(s)), s);
    }

    void cuerposPorDefectoAvisan()
    {
        form1Base f;
        for (const char *s : slotsEnOrden) {
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable(QStringLiteral("form1Base::%1(): Not implemented yet!").arg(s)));
            QVERIFY(QMetaObject::invokeMethod(&f, s));
        }
        QVERIFY(f.mlHostsAllow->toPlainText().isEmpty());
        QVERIFY(f.tGate->text().isEmpty());
    }

    void textosPasanPorLaTraduccion()
    {
        // Records what the form asks to translate; answers only "Firewall".
        struct Traductor : QTranslator {
            QStringList pedidos;
            bool isEmpty() const override { return false; }
            QString translate(const char *ctx, const char *src, const char *com, int) const override
            {
                const_cast<Traductor *>(this)->pedidos << QStringLiteral("%1|%2|%3").arg(ctx, src, com);
                return QByteArray(src) == "Firewall" ? QStringLiteral("Cortafuegos") : QString();
            }
        } traductor;
        QCoreApplication::installTranslator(&traductor);
        form1Base f;
        QCoreApplication::removeTranslator(&traductor);
        QCOMPARE(f.PushButton45->text(), QStringLiteral("Cortafuegos"));
        QCOMPARE(traductor.pedidos.count("form1Base|Detener|Detiene el Gate"), 1);
        QCOMPARE(traductor.pedidos.count("form1Base|Detener|Detiene el firewall"), 10);
        QVERIFY(traductor.pedidos.contains("form1Base|Talvora by Korvane|"));
        QVERIFY(traductor.pedidos.contains("form1Base|Gestiona el firewall con iptables|"));
        for (const Fila &e : tabla) {
            const QString prefijo = QStringLiteral("form1Base|%1|").arg(e.texto);
            QVERIFY2(!*e.texto || !traductor.pedidos.filter(prefijo).isEmpty(), e.nombre);
            QVERIFY2(!*e.tip || traductor.pedidos.contains(QStringLiteral("form1Base|%1|").arg(e.tip)), e.nombre);
        }
    }

    void ordenDeTabulacion()
    {
        form1Base f;
        // The chain as Tab walks it: only widgets that take focus by Tab
        // (the frames and labels in between take none).
        QStringList recorrido;
        QWidget *w = f.bIniciarGate;
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                recorrido << w->objectName();
            w = w->nextInFocusChain();
        } while (w != f.bIniciarGate && recorrido.size() < 100);
        QStringList esperado;
        for (const char *n : ordenTab)
            esperado << QString::fromLatin1(n);
        QCOMPARE(recorrido, esperado);

        // And real Tab presses on the shown window.
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        const QList<QPair<QWidget *, QWidget *>> pasos = {
            {f.bDetenerSwat, f.mlHostsAllow}, {f.bLogHostsDeny, f.PushButton45}, {f.PushButton45, f.bIniciarGate}};
        for (const auto &paso : pasos) {
            paso.first->setFocus(Qt::OtherFocusReason);
            QTRY_COMPARE(QApplication::focusWidget(), paso.first);
            QTest::keyClick(paso.first, Qt::Key_Tab);
            QTRY_COMPARE(QApplication::focusWidget(), paso.second);
        }
    }
};

QTEST_MAIN(TstForm1Base)
#include "tst_form1base.moc"

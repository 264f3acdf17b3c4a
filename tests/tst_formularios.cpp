// The three forms: against their golden files, with the main window's
// menus; their texts against their boxes, on any font and scale; and what
// a keyboard, a screen reader and a dark palette get from them.
// After an intended change, run with TALVORA_ARBOLES_NUEVOS=1 to write the
// files anew, and review their diff.
#include "arbol.h"
#include "configdialog/conf.h"
#include "firewalldialog/firewall.h"
#include "mainwindow/marcas.h"
#include "platform/formularios.h"
#include "support.h"

namespace {

// The sides of a frame that its window's image leaves out: each side must
// show its border within the two whole device pixels inside its edge.
QString ladosSinBorde(const QFrame *marco, const QImage &imagen)
{
    const qreal escala = imagen.devicePixelRatio();
    const QRectF r(QPointF(marco->mapTo(marco->window(), QPoint())) * escala,
                   QSizeF(marco->size()) * escala);
    const int x0 = qCeil(r.left()), x1 = qFloor(r.right()) - 1;
    const int y0 = qCeil(r.top()), y1 = qFloor(r.bottom()) - 1;
    const QColor fondo = marco->palette().color(QPalette::Window);
    const auto borde = [&](int x, int y, int dx, int dy) {
        for (int i = 0; i < 2; ++i) {
            const QColor c = imagen.pixelColor(x + i * dx, y + i * dy);
            if (qAbs(c.red() - fondo.red()) + qAbs(c.green() - fondo.green())
                    + qAbs(c.blue() - fondo.blue())
                > 30)
                return true;
        }
        return false;
    };
    // Off the middle, where a status text may lie.
    const int xm = x0 + (x1 - x0) / 4, ym = y0 + (y1 - y0) / 4;
    QString faltan;
    faltan += borde(x0, ym, 1, 0) ? "" : "izquierda ";
    faltan += borde(x1, ym, -1, 0) ? "" : "derecha ";
    faltan += borde(xm, y0, 0, 1) ? "" : "arriba ";
    faltan += borde(xm, y1, 0, -1) ? "" : "abajo ";
    return faltan;
}

// WCAG 2 contrast of two colours, worked out here apart from the code.
double contraste(QColor a, QColor b)
{
    const auto luz = [](QColor c) {
        double l = 0;
        const double pesos[] = {0.2126, 0.7152, 0.0722},
                     canales[] = {c.redF(), c.greenF(), c.blueF()};
        for (int i = 0; i < 3; ++i)
            l += pesos[i]
                 * (canales[i] <= 0.04045 ? canales[i] / 12.92
                                          : std::pow((canales[i] + 0.055) / 1.055, 2.4));
        return l;
    };
    return (qMax(luz(a), luz(b)) + 0.05) / (qMin(luz(a), luz(b)) + 0.05);
}

bool esControl(const QWidget *w)
{
    return w->isVisible() && w->isEnabled()
           && (qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w)
               || qobject_cast<const QAbstractScrollArea *>(w) || qobject_cast<const QTabBar *>(w)
               || qobject_cast<const QComboBox *>(w));
}

// Presses Tab from the first control on until the focus comes back to it,
// and compares what it reached with every enabled control, in the order of
// the form's focus chain.
void recorrer(QDialog *d)
{
    QWidgetList esperados, vistos;
    for (QWidget *w = d->nextInFocusChain(); w != d; w = w->nextInFocusChain()) {
        if (esControl(w))
            esperados << w;
    }
    QList<QImage> conFoco;
    esperados.first()->setFocus(Qt::TabFocusReason);
    while (QApplication::focusWidget() && vistos.size() <= esperados.size()
           && !vistos.contains(QApplication::focusWidget())) {
        vistos << QApplication::focusWidget();
        conFoco << vistos.last()->grab().toImage();
        QTest::keyClick(vistos.last(), Qt::Key_Tab);
    }
    const auto nombres = [](const QWidgetList &l) {
        QStringList n;
        for (const QWidget *w : l)
            n << w->objectName();
        return n.join(' ');
    };
    QCOMPARE(nombres(vistos), nombres(esperados));
    // Each control but a list (whose focus shows on its current row, not on
    // itself) looks different while it has the focus.
    for (int i = 1; i < vistos.size(); ++i) {
        if (!qobject_cast<QAbstractItemView *>(vistos[i]))
            QVERIFY2(vistos[i]->grab().toImage() != conFoco[i],
                     qPrintable(vistos[i]->objectName()));
    }
}

} // namespace

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
        QCOMPARE(volcado.split('\n'), QString::fromUtf8(archivo.readAll()).split('\n'));
    }

private slots:
    void initTestCase() { Formularios::prepararAplicacion(); }

    void formularios()
    {
        form1Base principal;
        conf configuracion;
        firewall cortafuegos;
        comparar(volcarFormulario(&principal), "form1base.arbol");
        comparar(volcarFormulario(&configuracion), "conf.arbol");
        comparar(volcarFormulario(&cortafuegos), "firewall.arbol");
    }
    // With the fonts the packages bring, at the offscreen screen's 96 dpi
    // (and scaled, in the run at 1.5x), every label's text (a status label's
    // with each markup) and every button's fits the room its widget gives it,
    // wrapping where it wraps; also when a platform theme sets an application
    // font of its own once the windows are up.
    void textosCaben_data()
    {
        QTest::addColumn<bool>("tema");
        QTest::newRow("fuentes del arranque") << false;
        QTest::newRow("fuente del tema") << true;
    }
    void textosCaben()
    {
        QFETCH(bool, tema);
        form1Base principal;
        conf configuracion;
        firewall cortafuegos;
        const QFont antes = QApplication::font();
        if (tema) {
            QApplication::setFont(QFont("DejaVu Serif", 14, QFont::DemiBold));
            QApplication::setFont(QFont("DejaVu Sans", 15), "QPushButton");
        }
        const auto deVuelta = qScopeGuard([&] { QApplication::setFont(antes); });
        QStringList cortados;
        for (QDialog *d : QList<QDialog *>{&principal, &configuracion, &cortafuegos}) {
            for (QLabel *l : d->findChildren<QLabel *>()) {
                const QStringList textos
                    = l->text().isEmpty()
                          ? QStringList{Marcas::clasica(Estado::On), Marcas::clasica(Estado::Off),
                                        Marcas::clasica(Estado::Error),
                                        Marcas::clasica(Estado::Pendiente)}
                          : QStringList{l->text()};
                for (const QString &t : textos) {
                    l->setText(t);
                    const QSize hace = l->wordWrap() ? QSize(l->minimumSizeHint().width(),
                                                             l->heightForWidth(l->width()))
                                                     : l->sizeHint();
                    if (hace.width() > l->width() || hace.height() > l->height())
                        cortados << QString("%1 %2: %3x%4")
                                        .arg(l->objectName(), t)
                                        .arg(hace.width())
                                        .arg(hace.height());
                }
            }
            for (QPushButton *b : d->findChildren<QPushButton *>()) {
                QStyleOptionButton o;
                o.initFrom(b);
                const int margen
                    = b->style()->pixelMetric(QStyle::PM_ButtonMargin, &o, b)
                      + 2 * b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &o, b);
                const int hace = b->fontMetrics().horizontalAdvance(b->text()) + margen;
                if (hace > b->width() || b->fontMetrics().height() > b->height())
                    cortados << QString("%1: %2").arg(b->objectName()).arg(hace);
            }
        }
        // Each status frame is drawn whole, at whatever scale the screen has.
        const QImage imagen = principal.grab().toImage();
        for (QFrame *marco : principal.findChildren<QFrame *>()) {
            if (marco->frameShape() == QFrame::StyledPanel
                && !ladosSinBorde(marco, imagen).isEmpty())
                cortados << marco->objectName() + " sin borde " + ladosSinBorde(marco, imagen);
        }
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join("; ")));
    }

    void menus()
    {
        Ventana v;
        comparar(volcarMenus(v.w.get()), "menus.arbol");
    }

    // Tab reaches every control of each window (of each page of the
    // configuration dialog) and leaves the hosts.allow editor, which keeps
    // only the tabs that are pasted into it.
    void tabulador()
    {
        Ventana v;
        conf configuracion;
        firewall cortafuegos;
        for (QDialog *d : QList<QDialog *>{v.w.get(), &configuracion, &cortafuegos}) {
            d->show();
            d->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(d));
            for (int i = 0; i < (d == &configuracion ? configuracion.Solapas->count() : 1); ++i) {
                configuracion.Solapas->setCurrentIndex(i);
                recorrer(d);
            }
            d->hide();
        }
        form1Base principal; // its editor is never saved
        QPlainTextEdit *editor = principal.mlHostsAllow;
        principal.show();
        principal.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&principal));
        for (const auto &[tecla, destino] :
             {std::pair{QKeyCombination(Qt::Key_Tab), "bAplicarHostsAllow"},
              {Qt::ControlModifier | Qt::Key_Tab, "bAplicarHostsAllow"},
              {Qt::Key_Backtab, "bDetenerSwat"}}) {
            editor->setFocus(Qt::TabFocusReason);
            QTest::keyClick(editor, tecla.key(), tecla.keyboardModifiers());
            QCOMPARE(QApplication::focusWidget()->objectName(), QString(destino));
        }
        QVERIFY(!editor->document()->isModified());
        QApplication::clipboard()->setText("sshd:\t10.0.0.1");
        editor->paste();
        QVERIFY(editor->toPlainText().contains("sshd:\t10.0.0.1"));
    }

    // Return and Enter on a focused button press it in the configuration
    // dialog, whose buttons are not auto-default. (The firewall's are, as
    // firewall.arbol says, and Qt presses them; in a field they press none:
    // tst_dialogos.)
    void intro()
    {
        conf configuracion;
        for (QPushButton *b : configuracion.findChildren<QPushButton *>()) {
            for (Qt::Key tecla : {Qt::Key_Return, Qt::Key_Enter}) {
                configuracion.show();
                b->setFocus();
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Not implemented"));
                QTest::keyClick(b, tecla);
            }
        }
    }

    // What a screen reader says for the main window's rows, which say whose
    // they are and, for a status, its state. (The forms' fields and their
    // labels are named in the golden trees.)
    void nombresAccesibles()
    {
        Ventana v;
        const auto nombre = [](QWidget *w) {
            return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        };
        QCOMPARE(nombre(v.w->bIniciarSquid) + "|" + nombre(v.w->bDetenerTelnet) + "|"
                     + nombre(v.w->bLogSendmail) + "|" + nombre(v.w->tSquid),
                 "Iniciar Squid|Detener Telnet|Logs Sendmail|Estado de Squid: OFF");
        v.w->mostrar(Servicio::Squid, Estado::On);
        QCOMPARE(nombre(v.w->tSquid), "Estado de Squid: ON");
        // The frame around a status is a plain container, not a window.
        QCOMPARE(QAccessible::queryAccessibleInterface(v.w->Frame2)->role(), QAccessible::Pane);
        QSet<QString> nombres;
        const QWidgetList filas = v.w->findChildren<QWidget *>(QRegularExpression("^[bt][A-Z]"));
        for (QWidget *w : filas)
            nombres << nombre(w);
        QCOMPARE(nombres.size(), filas.size()); // no two alike
    }

    // Each status text, drawn in its frame on dark palettes: a contrast of
    // 4.5:1 at least between the glyphs' strongest pixel and the background
    // behind them.
    void contrasteDeLosEstados()
    {
        Ventana v;
        form1 &principal = *v.w;
        for (const QColor fondo : {QColor(0x35, 0x35, 0x35), QColor(0x23, 0x26, 0x29)}) {
            for (Estado e : {Estado::On, Estado::Off, Estado::Error, Estado::Pendiente}) {
                principal.setPalette(QPalette()); // the window redraws its states when it changes
                principal.mostrar(Servicio::Gate, e);
                principal.setPalette(QPalette(fondo, fondo)); // light text, as Qt derives it
                const QImage imagen = principal.Frame1->grab().toImage();
                const QRect caja(principal.tGate->geometry().topLeft() * imagen.devicePixelRatio(),
                                 principal.tGate->size() * imagen.devicePixelRatio());
                const QColor atras = imagen.pixelColor(caja.topLeft());
                double mejor = 1;
                for (int y = caja.top(); y <= caja.bottom(); ++y) {
                    for (int x = caja.left(); x <= caja.right(); ++x)
                        mejor = qMax(mejor, contraste(imagen.pixelColor(x, y), atras));
                }
                QVERIFY2(mejor >= 4.5, qPrintable(QString("%1 sobre %2: %3")
                                                      .arg(principal.tGate->text(), fondo.name())
                                                      .arg(mejor)));
            }
        }
    }

    // Qt's own dialogs speak Spanish, whatever the locale.
    void textosDeQt()
    {
        QInputDialog entrada;
        entrada.show();
        QStringList botones;
        for (const QAbstractButton *b : entrada.findChildren<QPushButton *>())
            botones << b->text().remove('&');
        botones.sort();
        QCOMPARE(botones, QStringList({"Aceptar", "Cancelar"}));
    }
};

QTEST_MAIN(TstFormularios)
#include "tst_formularios.moc"

// The three forms and the main window's menus against their golden files.
// After an intended change, run with TALVORA_ARBOLES_NUEVOS=1 to write the
// files anew, and review their diff.
#include "arbol.h"
#include "configdialog/conf.h"
#include "firewalldialog/firewall.h"
#include "mainwindow/estado.h"
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
    // With the fonts the packages bring, at the offscreen screen's 96 dpi,
    // every label's text (a status label's with each markup) and every
    // button's fits the room its widget gives it, wrapping where it wraps.
    void textosCaben()
    {
        Formularios::prepararAplicacion();
        form1Base principal;
        conf configuracion;
        firewall cortafuegos;
        QStringList cortados;
        for (QDialog *d :
             {static_cast<QDialog *>(&principal), static_cast<QDialog *>(&configuracion),
              static_cast<QDialog *>(&cortafuegos)}) {
            for (QLabel *l : d->findChildren<QLabel *>()) {
                const QStringList textos
                    = l->text().isEmpty()
                          ? QStringList{MarcaOn, MarcaOff, MarcaError, MarcaPendiente}
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
};

QTEST_MAIN(TstFormularios)
#include "tst_formularios.moc"

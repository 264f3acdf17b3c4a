#include "support.h"

Raiz::~Raiz()
{
    QProcess::execute("rm", {"-rf", dir.path()}); // names that are not UTF-8 too
}

void Raiz::escribir(const QString &absoluta, const QByteArray &contenido) const
{
    QDir().mkpath(QFileInfo(ruta(absoluta)).path());
    QFile f(ruta(absoluta));
    if (!f.open(QIODevice::WriteOnly) || f.write(contenido) != contenido.size())
        qFatal("cannot write test file %s", qPrintable(f.fileName()));
}

QByteArray Raiz::leer(const QString &absoluta) const
{
    QFile f(ruta(absoluta));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Grabador::Grabador()
{
    ejecutor = [this](Sistema::Forma forma, const QByteArrayList &orden) {
        Grabador *g = this;
        const bool programa = forma == Sistema::Forma::Programa;
        if (programa) {
            g->vectores << orden;
        } else {
            g->comandos << QString::fromUtf8(orden.first());
            g->crudos << orden.first();
        }
        Sistema::Resultado r;
        if (g->deVerdad && !programa) {
            const Sistema real;
            if (forma == Sistema::Forma::Fondo)
                real.lanzar(orden.first());
            else
                r = real.ejecutar(orden.first());
        } else if (programa && g->accionVector) {
            r.estado = g->accionVector(orden);
        } else if (!programa && g->accion) {
            r.estado = g->accion(g->comandos.last());
        }
        return r;
    };
}

QByteArray muestra(const QString &nombre)
{
    QFile f(TALVORA_DATOS "/" + nombre);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("no sample %s", qPrintable(nombre));
    return f.readAll();
}

QByteArray lineas(const QByteArrayList &valores) { return valores.join('\n') + '\n'; }

Ventana::Ventana(const std::function<void(Ventana &)> &antes)
{
    QByteArrayList valores = Ajustes::valoresPorDefecto();
    for (QByteArray &valor : valores) {
        if (valor.startsWith("/var/") || valor == "/etc/xinetd.d")
            valor = QFile::encodeName(raiz.ruta(valor));
    }
    raiz.escribir(Rutas::Configuracion, lineas(valores));
    if (antes)
        antes(*this);
    w = std::make_unique<form1>(sistema(), ajustes);
}

void Ventana::cambiarAjuste(Ajustes::Clave clave, const QByteArray &valor)
{
    QByteArrayList valores = ajustes.valores();
    valores[int(clave)] = valor;
    ajustes.asignar(valores);
}

namespace {

void responder(QWidget *w, const QString &respuesta)
{
    auto *caja = qobject_cast<QMessageBox *>(w);
    auto *entrada = qobject_cast<QInputDialog *>(w);
    const QList<QAbstractButton *> botones = caja ? caja->buttons() : QList<QAbstractButton *>();
    const auto boton = std::find_if(botones.begin(), botones.end(),
                                    [&](QAbstractButton *b) { return b->text() == respuesta; });
    if (entrada && respuesta.startsWith('=')) {
        entrada->setTextValue(respuesta.mid(1));
        entrada->accept();
    } else if (respuesta == "<Escape>" || respuesta == "<Return>") {
        QTest::keyClick(w, respuesta == "<Escape>" ? Qt::Key_Escape : Qt::Key_Return);
    } else if (boton != botones.end()) {
        (*boton)->click();
    } else if (respuesta == "<Cerrar>") {
        w->close();
    } else if (auto *d = qobject_cast<QDialog *>(w)) {
        d->done(-1);
    }
}

} // namespace

QStringList contestar(const QStringList &respuestas, const std::function<void()> &accion)
{
    QStringList vistas;
    QTimer reloj;
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || w->property("contestada").toBool())
            return;
        w->setProperty("contestada", true);
        QStringList vista{w->windowTitle()};
        if (auto *caja = qobject_cast<QMessageBox *>(w)) {
            vista << caja->text();
            for (QAbstractButton *b : caja->buttons())
                vista << b->text();
        } else if (auto *entrada = qobject_cast<QInputDialog *>(w)) {
            vista << entrada->labelText();
        }
        vistas << vista.join('|');
        responder(w, respuestas.value(vistas.size() - 1));
    });
    reloj.start(10);
    accion();
    return vistas;
}

QString palabra(const QLabel *etiqueta) { return etiqueta->text().section('>', -1); }

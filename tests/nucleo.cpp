#include "nucleo.h"

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
        const bool programa = forma == Sistema::Forma::Programa;
        {
            const std::lock_guard<std::mutex> cerrado(cerrojo_);
            if (programa)
                vectores_ << orden;
            else
                crudos_ << orden.first();
        }
        Sistema::Resultado r;
        if (deVerdad && !programa) {
            const Sistema real;
            if (forma == Sistema::Forma::Fondo)
                real.lanzar(orden.first());
            else
                r = real.ejecutar(orden.first());
        } else if (programa && accionVector) {
            r.estado = accionVector(orden);
        } else if (!programa && accion) {
            r.estado = accion(QString::fromUtf8(orden.first()));
        }
        return r;
    };
}

QStringList Grabador::comandos() const
{
    QStringList c;
    for (const QByteArray &b : crudos())
        c << QString::fromUtf8(b);
    return c;
}

QByteArrayList Grabador::crudos() const
{
    const std::lock_guard<std::mutex> cerrado(cerrojo_);
    return crudos_;
}

QList<QByteArrayList> Grabador::vectores() const
{
    const std::lock_guard<std::mutex> cerrado(cerrojo_);
    return vectores_;
}

void Grabador::limpiar()
{
    const std::lock_guard<std::mutex> cerrado(cerrojo_);
    crudos_.clear();
    vectores_.clear();
}

QByteArray muestra(const QString &nombre)
{
    QFile f(TALVORA_DATOS "/" + nombre);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("no sample %s", qPrintable(nombre));
    return f.readAll();
}

QByteArray lineas(const QByteArrayList &valores) { return valores.join('\n') + '\n'; }

void cambiarAjuste(Ajustes &ajustes, Ajustes::Clave clave, const QByteArray &valor)
{
    QByteArrayList valores = ajustes.valores();
    valores[int(clave)] = valor;
    ajustes.asignar(valores);
}

QByteArrayList ajustesEnRaiz(const Raiz &raiz)
{
    QByteArrayList valores = Ajustes::valoresPorDefecto();
    for (QByteArray &valor : valores) {
        if (valor.startsWith("/var/") || valor == "/etc/xinetd.d")
            valor = QFile::encodeName(raiz.ruta(valor));
    }
    return valores;
}

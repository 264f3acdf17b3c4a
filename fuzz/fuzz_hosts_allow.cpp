// hosts.allow read into the editor and saved untouched: every line comes
// back with its bytes, in whatever encoding, ended by "\n", and the file
// ends in an empty line. Any editor text saves as itself plus that end.
#include "comun.h"
#include "mainwindow/accesos.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QByteArray archivo = bytes(datos, largo);
    const Accesos::ArchivoHostsAllow leido = Accesos::analizarHostsAllow(archivo);
    QByteArrayList lineas;
    for (const std::string &l : lineasCrudas(archivo.toStdString()))
        lineas.append(QByteArray::fromStdString(l));
    QByteArray modelo = lineas.join('\n') + '\n';
    if (!modelo.endsWith("\n\n"))
        modelo += '\n';
    const std::optional<QByteArray> guardado
        = Accesos::bytesHostsAllow(leido.texto, leido.codificacion);
    EXIGIR(guardado && *guardado == modelo);

    const QString editor = QString::fromUtf8(archivo);
    const QString texto = Accesos::textoHostsAllow(editor);
    const QString cola
        = editor.endsWith(QLatin1Char('\n')) ? QStringLiteral("\n") : QStringLiteral("\n\n");
    EXIGIR(texto == editor + cola);
    EXIGIR(Accesos::bytesHostsAllow(editor, Texto::Codificacion::Utf8) == texto.toUtf8());
    return 0;
}

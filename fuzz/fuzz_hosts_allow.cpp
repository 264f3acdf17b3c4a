// The hosts.allow save rule: the saved text is the editor's text followed
// by as few line breaks as make it end in an empty line, "\n\n".
#include "comun.h"
#include "mainwindow/accesos.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    const QString editor = QString::fromUtf8(bytes(datos, largo));
    const QString texto = Accesos::textoHostsAllow(editor);
    const QString cola
        = editor.endsWith(QLatin1Char('\n')) ? QStringLiteral("\n") : QStringLiteral("\n\n");
    EXIGIR(texto == editor + cola);
    EXIGIR(texto.toLocal8Bit().endsWith("\n\n"));
    return 0;
}

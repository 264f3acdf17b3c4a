#include "mainwindow/comandos.h"

#include "platform/host.h"

namespace Comandos {

void ejecutar(const QByteArray &comando) { Host::run(comando); }

// ASCII bytes never occur inside a UTF-8 sequence, so the byte search finds
// the same places in UTF-8 and in ISO-8859-1.
QByteArray expandirEditor(const QByteArray &comando, const QByteArray &editor)
{
    QByteArray resultado = comando;
    resultado.replace("%editor", editor);
    return resultado + " &";
}

} // namespace Comandos

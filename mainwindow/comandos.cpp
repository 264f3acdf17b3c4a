#include "mainwindow/comandos.h"

#include "platform/host.h"

namespace Comandos {

void ejecutar(const QString &comando) { Host::run(comando); }

QString expandirEditor(const QString &comando, const QString &editor)
{
    QString resultado = comando;
    resultado.replace(QStringLiteral("%editor"), editor);
    return resultado + QStringLiteral(" &");
}

} // namespace Comandos

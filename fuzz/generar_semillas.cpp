// Writes the seed files that the program itself produces: configuration
// files from the default and from edited settings, and the default access
// lists. Usage: generar_semillas DIRECTORY (its ajustes/ and hosts/ exist).
#include "mainwindow/accesos.h"
#include "settings/ajustes.h"

#include <QFile>

static void escribir(const QString &ruta, const QByteArray &datos)
{
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || f.write(datos) != datos.size())
        qFatal("no se pudo escribir %s", qPrintable(ruta));
}

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    escribir(dir + "/ajustes/por-defecto.conf", Ajustes::componer(Ajustes::valoresPorDefecto()));

    QByteArrayList editados = Ajustes::valoresPorDefecto();
    editados[0] = "gedit --new-window";
    editados[5] = "/run/korv-gate.pid";
    editados[11] = "%editor /etc/squid/squid.conf # configuración";
    editados[23] = QByteArray();
    editados[42] = "/srv/xinetd.d";
    editados[43] = "vi /etc/ftpaccess\nrm -rf /"; // a pasted line break
    escribir(dir + "/ajustes/editado.conf", Ajustes::componer(editados));
    escribir(dir + "/ajustes/vacio.conf", Ajustes::componer(QByteArrayList()));

    escribir(dir + "/hosts/talvora-hosts.allow", Accesos::HostsAllowPorDefecto);
    escribir(dir + "/hosts/talvora-hosts.deny", Accesos::HostsDenyPorDefecto);
    return 0;
}

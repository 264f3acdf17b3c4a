#include "platform/confianza.h"

#include "rutas.h"

#include <QFile>
#include <QStringList>

#include <cstdlib>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Confianza {

namespace {

QString usuario(uid_t uid)
{
    const passwd *p = ::getpwuid(uid);
    return p ? QString::fromLocal8Bit(p->pw_name) : QString::number(uid);
}

QString grupo(gid_t gid)
{
    const group *g = ::getgrgid(gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
}

bool segura(const struct stat &st)
{
    if (st.st_uid != 0)
        return false;
    if (S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX))
        return true;
    return !(st.st_mode & S_IWOTH) && (!(st.st_mode & S_IWGRP) || st.st_gid == 0);
}

// The path itself when it exists, else the nearest directory above it that
// does.
QByteArray existente(QByteArray ruta)
{
    struct stat st {
    };
    while (::lstat(ruta.constData(), &st) != 0) {
        const qsizetype barra = ruta.lastIndexOf('/');
        if (barra <= 0)
            return "/";
        ruta.truncate(barra);
    }
    return ruta;
}

// The same with symbolic links resolved: what is read.
QByteArray real(const QByteArray &ruta)
{
    const QByteArray hay = existente(ruta);
    char *r = ::realpath(hay.constData(), nullptr);
    if (!r)
        return hay;
    const QByteArray canonica(r);
    std::free(r);
    return canonica;
}

// "/", then each directory down to the path.
QByteArrayList deArriba(const QByteArray &ruta)
{
    QByteArrayList rutas{"/"};
    for (qsizetype i = ruta.indexOf('/', 1); i > 0; i = ruta.indexOf('/', i + 1))
        rutas << ruta.left(i);
    if (ruta != "/")
        rutas << ruta;
    return rutas;
}

QString explicar(const Sistema &sistema, const Fallo &f, bool directorio)
{
    const QString cual
        = directorio ? QStringLiteral("el directorio") : QStringLiteral("el archivo");
    QString texto = QStringLiteral("Talvora no ejecuta ni copia nada de su configuracion ni de sus "
                                   "archivos por defecto mientras otro usuario que no sea root "
                                   "pueda cambiarlos:\n\n%1 %2\nmodo %3, propietario %4, grupo %5")
                        .arg(cual, f.ruta)
                        .arg(f.modo, 4, 8, QLatin1Char('0'))
                        .arg(usuario(f.dueno), grupo(f.grupo));
    QStringList porque, arreglo;
    const bool otros = (f.modo & S_IWOTH) && !(directorio && (f.modo & S_ISVTX));
    if (f.dueno != 0) {
        porque << QStringLiteral("Pertenece al usuario %1, que puede cambiarlo.")
                      .arg(usuario(f.dueno));
        arreglo << QStringLiteral("chown root: ") + f.ruta;
    }
    if (otros)
        porque << QStringLiteral("Cualquier usuario puede escribir en el.");
    else if ((f.modo & S_IWGRP) && f.grupo != 0)
        porque << QStringLiteral("Los miembros del grupo %1 pueden escribir en el.")
                      .arg(grupo(f.grupo));
    if (otros || ((f.modo & S_IWGRP) && f.grupo != 0))
        arreglo << QStringLiteral("chmod go-w ") + f.ruta;

    // Debian's opt-in: /usr/local and what is made under it, writable by staff.
    const bool staff = !otros && (f.modo & S_IWGRP) && f.grupo != 0
                       && (f.ruta == QLatin1String("/usr/local")
                           || f.ruta.startsWith(QLatin1String("/usr/local/")))
                       && Sistema::existe(sistema.rutaBytes(Rutas::StaffUsrLocal));
    if (staff) {
        porque << QStringLiteral(
                      "Este sistema deja /usr/local en manos del grupo %1 porque existe %2: "
                      "sus miembros podrian hacer que Talvora ejecute lo que quieran como root.")
                      .arg(grupo(f.grupo), QString::fromLatin1(Rutas::StaffUsrLocal));
        arreglo.prepend(QStringLiteral("rm ") + QString::fromLatin1(Rutas::StaffUsrLocal));
        arreglo << QStringLiteral("(y lo mismo en cada directorio de /usr/local que lo necesite)");
    }
    texto += QStringLiteral("\n\n") + porque.join(QLatin1Char(' '))
             + QStringLiteral("\n\nPara corregirlo, como root:\n")
             + arreglo.join(QLatin1Char('\n'));
    return texto;
}

std::optional<Fallo> comprobarSiempre(const Sistema &sistema)
{
    const QByteArray mapeada = QFile::encodeName(sistema.ruta(QString()));
    const QByteArray raiz = mapeada.isEmpty() ? mapeada : real(mapeada);
    const QByteArray porDefecto = sistema.rutaBytes(Rutas::PorDefecto);
    QByteArrayList vistas;
    for (const QByteArray &archivo : {sistema.rutaBytes(Rutas::Configuracion),
                                      porDefecto + "korv-gate", porDefecto + "ftpaccess"}) {
        // Both the path as named, whose links others must not replace, and
        // what it leads to.
        for (const QByteArray &ruta : deArriba(existente(archivo)) + deArriba(real(archivo))) {
            if (vistas.contains(ruta))
                continue;
            vistas << ruta;
            struct stat st {
            };
            if (::stat(ruta.constData(), &st) != 0 || segura(st))
                continue;
            // Under a test's root, the path the administrator would see.
            QByteArray vista = ruta;
            for (const QByteArray &r : {mapeada, raiz}) {
                if (!r.isEmpty() && vista.startsWith(r + '/')) {
                    vista.remove(0, r.size());
                    break;
                }
            }
            Fallo f{QFile::decodeName(vista), st.st_mode & 07777u, st.st_uid, st.st_gid, {}};
            f.mensaje = explicar(sistema, f, S_ISDIR(st.st_mode));
            return f;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Fallo> comprobar(const Sistema &sistema)
{
    return ::geteuid() == 0 ? comprobarSiempre(sistema) : std::nullopt;
}

} // namespace Confianza

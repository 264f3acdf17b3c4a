#include "app/arranque.h"

#include "talvora_version.h"

#include <QMessageBox>
#include <QString>

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {

// Options QGuiApplication, the xcb platform and QApplication take. Those
// marked with a value also consume the next argument unless written "=value".
struct OpcionQt {
    const char *nombre;
    bool conValor;
};
constexpr OpcionQt opcionesQt[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"reverse", false},
    {"session", true},
    {"display", true},
    {"geometry", true},
    {"name", true},
    {"title", true},
    {"visual", true},
    {"icon", true},
    {"style", true},
    {"stylesheet", true},
    {"widgetcount", false},
    {"qmljsdebugger", true},
    {"nograb", false},
    {"dograb", false},
    {"sync", false},
    {"testability", false},
    {"fontengine", true},
};

const OpcionQt *opcionQt(const char *argumento, bool *conIgual)
{
    const char *nombre = argumento + 1;
    if (*nombre == '-') // Qt accepts "--platform" as well as "-platform"
        ++nombre;
    const char *igual = std::strchr(nombre, '=');
    const size_t largo = igual ? size_t(igual - nombre) : std::strlen(nombre);
    for (const OpcionQt &o : opcionesQt) {
        if (std::strlen(o.nombre) == largo && std::strncmp(o.nombre, nombre, largo) == 0) {
            if (igual && !o.conValor)
                return nullptr;
            *conIgual = igual != nullptr;
            return &o;
        }
    }
    return nullptr;
}

void imprimirUso(std::FILE *f)
{
    std::fputs("Uso: talvora [OPCIÓN]... [OPCIÓN DE QT]...\n"
               "Panel de control de los servicios de red del servidor.\n"
               "\n"
               "  -h, --help       muestra esta ayuda y termina\n"
               "  -v, --version    muestra la versión y termina\n"
               "\n"
               "Las opciones de Qt (-platform, -display, -style, -geometry, ...) se\n"
               "pasan a Qt. Talvora necesita privilegios de administrador: inícielo\n"
               "desde el menú o con talvora-root. Manual: man 8 talvora.\n",
               f);
}

bool hay(const char *variable)
{
    const char *v = std::getenv(variable);
    return v && *v;
}

} // namespace

namespace Arranque {

int leerOpciones(int argc, char **argv, std::FILE *salida, std::FILE *errores)
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (!std::strcmp(a, "-h") || !std::strcmp(a, "--help")) {
            imprimirUso(salida);
            return 0;
        }
        if (!std::strcmp(a, "-v") || !std::strcmp(a, "--version")) {
            std::fputs("talvora " TALVORA_VERSION "\n", salida);
            return 0;
        }
        bool conIgual = false;
        const OpcionQt *qt = a[0] == '-' ? opcionQt(a, &conIgual) : nullptr;
        if (qt) {
            if (qt->conValor && !conIgual) {
                if (i + 1 >= argc) {
                    std::fprintf(errores, "talvora: falta el valor de la opción '%s'\n", a);
                    imprimirUso(errores);
                    return 2;
                }
                ++i;
            }
            continue;
        }
        if (a[0] == '-')
            std::fprintf(errores, "talvora: opción desconocida '%s'\n", a);
        else
            std::fprintf(errores, "talvora: argumento no esperado '%s'\n", a);
        imprimirUso(errores);
        return 2;
    }
    return seguir;
}

int comprobarPantalla(int argc, char **argv, std::FILE *errores)
{
    std::string plataforma = hay("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    bool pantallaNombrada = hay("DISPLAY") || hay("WAYLAND_DISPLAY");
    // leerOpciones has accepted the line, so every Qt option that takes a
    // value has one.
    for (int i = 1; i < argc; ++i) {
        bool conIgual = false;
        const OpcionQt *qt = argv[i][0] == '-' ? opcionQt(argv[i], &conIgual) : nullptr;
        if (!qt || !qt->conValor)
            continue;
        const char *valor = conIgual ? std::strchr(argv[i], '=') + 1 : argv[++i];
        if (!std::strcmp(qt->nombre, "platform"))
            plataforma = valor;
        else if (!std::strcmp(qt->nombre, "display"))
            pantallaNombrada = true;
    }
    // "xcb:opciones" or a list "wayland;xcb": each name up to its options.
    bool soloX = true;
    for (size_t inicio = 0; inicio < plataforma.size();) {
        size_t fin = plataforma.find(';', inicio);
        if (fin == std::string::npos)
            fin = plataforma.size();
        const std::string nombre = plataforma.substr(inicio, fin - inicio);
        if (nombre.substr(0, nombre.find(':')) != "xcb")
            soloX = false;
        inicio = fin + 1;
    }
    if (!soloX || pantallaNombrada)
        return seguir;
    std::fputs("talvora: no hay ninguna pantalla gráfica donde abrir la ventana (no están\n"
               "definidas DISPLAY ni WAYLAND_DISPLAY).\n"
               "\n"
               "Talvora es un programa de ventanas. Para usarlo:\n"
               "  - en el escritorio del servidor, inícielo desde el menú (Sistema, Talvora)\n"
               "    o con la orden talvora-root en una terminal;\n"
               "  - desde otra máquina, conéctese con reenvío de X y use talvora-root:\n"
               "      ssh -X -t usuario@servidor talvora-root\n"
               "  - si ya hay una pantalla X, indíquela: DISPLAY=:0 talvora\n",
               errores);
    return sinPantalla;
}

bool esRoot() { return geteuid() == 0; }

void avisarSiNoEsRoot(QWidget *padre)
{
    if (esRoot())
        return;
    const passwd *pw = getpwuid(geteuid());
    const QString usuario = pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(geteuid());
    QMessageBox::warning(
        padre, QStringLiteral("Atención"),
        QStringLiteral(
            "Talvora necesita privilegios de administrador (root) y se está ejecutando "
            "como el usuario «%1».\n\n"
            "Puede ver el estado de los servicios, pero iniciar o detener servicios, "
            "cambiar los archivos de /etc, guardar la configuración y tocar las reglas "
            "del cortafuegos fallarán.\n\n"
            "Para administrar el servidor, inicie Talvora desde el menú (Sistema, Talvora) "
            "o con la orden talvora-root, que pide la contraseña de administrador.")
            .arg(usuario));
}

} // namespace Arranque

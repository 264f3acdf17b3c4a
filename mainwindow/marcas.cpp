#include "mainwindow/marcas.h"

#include <QColor>
#include <QPalette>
#include <cmath>

namespace {

// WCAG 2 relative luminance and contrast ratio.
double luminancia(const QColor &c)
{
    const auto canal
        = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * canal(c.redF()) + 0.7152 * canal(c.greenF()) + 0.0722 * canal(c.blueF());
}

double contraste(const QColor &a, const QColor &b)
{
    const double la = luminancia(a), lb = luminancia(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The hue made lighter, step by step, until it reads on the background; a
// little above the 4.5:1 floor, for the rounding of drawn pixels.
QColor legible(const QColor &tono, const QColor &fondo, const QColor &texto)
{
    for (int luz = tono.lightness(); luz <= 255; ++luz) {
        const QColor c = QColor::fromHsl(tono.hslHue(), tono.hslSaturation(), luz);
        if (contraste(c, fondo) >= 4.6)
            return c;
    }
    return texto; // a window too light for any shade: its own text colour
}

} // namespace

namespace Marcas {

bool esOscura(const QPalette &paleta)
{
    return paleta.color(QPalette::Window).lightness()
           < paleta.color(QPalette::WindowText).lightness();
}

namespace {

// The colour's name and the word of each state.
std::pair<const char *, QString> partes(Estado estado)
{
    switch (estado) {
    case Estado::On:
        return {"darkgreen", QStringLiteral("ON")};
    case Estado::Off:
        return {"red", QStringLiteral("OFF")};
    case Estado::Error:
        break;
    case Estado::Pendiente:
        return {"darkblue", QStringLiteral("---")};
    }
    return {"darkblue", QStringLiteral("Error")};
}

QString marca(const QString &color, const QString &palabra)
{
    return QStringLiteral("<b><font color=") + color + QLatin1Char('>') + palabra;
}

} // namespace

QString clasica(Estado estado)
{
    const auto [nombre, palabra] = partes(estado);
    return marca(QString::fromLatin1(nombre), palabra);
}

QString texto(Estado estado, const QPalette &paleta)
{
    if (!esOscura(paleta))
        return clasica(estado);
    const auto [nombre, palabra] = partes(estado);
    return marca(legible(QColor(QString::fromLatin1(nombre)), paleta.color(QPalette::Window),
                         paleta.color(QPalette::WindowText))
                     .name(),
                 palabra);
}

} // namespace Marcas

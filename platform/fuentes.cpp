#include "platform/fuentes.h"

#include <fontconfig/fontconfig.h>
#include <system_error>

PrecargaFuentes::PrecargaFuentes()
{
    try {
        hilo_ = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
        // No thread to spare: Qt loads the configuration itself when needed.
    }
}

PrecargaFuentes::~PrecargaFuentes()
{
    esperar();
}

void PrecargaFuentes::esperar()
{
    if (hilo_.joinable())
        hilo_.join();
}

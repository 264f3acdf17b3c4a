#include "platform/fuentes.h"

#include <fontconfig/fontconfig.h>
#include <malloc.h>
#include <system_error>

PrecargaFuentes::PrecargaFuentes()
{
    try {
        hilo_ = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
        // No thread to spare: Qt loads the configuration itself when needed.
    }
}

PrecargaFuentes::~PrecargaFuentes() { esperar(); }

void PrecargaFuentes::esperar()
{
    if (hilo_.joinable()) {
        hilo_.join();
        // The parse's scratch memory stays in the thread's own malloc arena,
        // where the main thread would never reuse it: hand it back.
        malloc_trim(0);
    }
}

#ifndef TALVORA_FUENTES_H
#define TALVORA_FUENTES_H

#include <thread>

// Loads the system's font configuration on a second thread while the
// application connects to the display. Reading and parsing that
// configuration is the largest single cost of showing the first text, and
// the connection leaves the second core idle meanwhile.
//
// esperar() must return before anything lays out text: fontconfig gives no
// way to wait for a load in progress, so a second caller would load it all
// over again instead of sharing it.
class PrecargaFuentes
{
public:
    PrecargaFuentes();
    ~PrecargaFuentes();
    PrecargaFuentes(const PrecargaFuentes &) = delete;
    PrecargaFuentes &operator=(const PrecargaFuentes &) = delete;

    void esperar();

private:
    std::thread hilo_;
};

#endif

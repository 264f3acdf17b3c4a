// Runs a fuzz target's property over the files of the given directories, and
// over small changes of each (cut short, or one byte replaced by a line
// feed, a carriage return, a quote, a backslash, a NUL, a non-ASCII byte, a digit, a dot, a
// slash, a blank, or the bytes beside it), so that every test run checks the properties with the
// ordinary compiler, without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo);

static constexpr char Cambios[]
    = {'\n', '\r', '"', '\'', '\\', '\0', '\xf1', '0', '9', '.', '/', ' '};

static void probar(const std::string &entrada)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(entrada.data()), entrada.size());
}

int main(int argc, char **argv)
{
    long entradas = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto &e : std::filesystem::recursive_directory_iterator(argv[i])) {
            if (!e.is_regular_file())
                continue;
            std::ifstream f(e.path(), std::ios::binary);
            const std::string semilla{std::istreambuf_iterator<char>(f), {}};
            probar(semilla);
            const size_t paso = semilla.size() / 24 + 1;
            for (size_t j = 0; j < semilla.size(); j += paso) {
                probar(semilla.substr(0, j));
                std::string cambiada = semilla;
                for (const char c : Cambios) {
                    cambiada[j] = c;
                    probar(cambiada);
                }
                for (const int d : {-1, 1}) { // a digit one up or down, a letter beside it
                    cambiada[j] = static_cast<char>(semilla[j] + d);
                    probar(cambiada);
                }
            }
            entradas += 1 + long(3 + std::size(Cambios)) * long((semilla.size() + paso - 1) / paso);
        }
    }
    std::printf("%ld entradas\n", entradas);
    return entradas > 0 ? 0 : 1;
}

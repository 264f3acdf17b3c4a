#ifndef TALVORA_TEXTO_H
#define TALVORA_TEXTO_H

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <iterator>
#include <optional>

namespace Texto {

// The lines of file contents, split the way a text stream's readLine does:
// on "\n", dropping a "\r" right before it; a last line without "\n" counts,
// an empty file has no lines. For a range-for loop: each line is a view into
// `texto`, which must outlive the loop, and is found as the loop gets to it,
// so a large file is split without a copy or a list of its lines.
class Lineas
{
public:
    class iterator
    {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = QByteArrayView;
        using difference_type = std::ptrdiff_t;
        using pointer = const QByteArrayView *;
        using reference = QByteArrayView;

        iterator(QByteArrayView texto, qsizetype inicio) : texto_(texto), inicio_(inicio)
        {
            leer();
        }
        QByteArrayView operator*() const { return linea_; }
        iterator &operator++()
        {
            inicio_ = siguiente_;
            leer();
            return *this;
        }
        bool operator==(const iterator &otro) const { return inicio_ == otro.inicio_; }
        bool operator!=(const iterator &otro) const { return inicio_ != otro.inicio_; }

    private:
        void leer();

        QByteArrayView texto_, linea_;
        qsizetype inicio_, siguiente_ = 0;
    };

    explicit Lineas(QByteArrayView texto) : texto_(texto) {}
    iterator begin() const { return iterator(texto_, 0); }
    iterator end() const { return iterator(texto_, texto_.size()); }

private:
    QByteArrayView texto_;
};

inline Lineas lineas(QByteArrayView texto) { return Lineas(texto); }

// How text that came from the system is shown and written back. Servers
// still hold ISO-8859-1 files next to UTF-8 ones, and nothing says which is
// which: bytes that are valid UTF-8 are taken as UTF-8, any others as
// ISO-8859-1. Either way encoding the shown text in the same encoding gives
// the very same bytes back.
enum class Codificacion { Utf8, Latin1 };

bool esAscii(const QByteArray &bytes); // the same in both
Codificacion detectar(const QByteArray &bytes);
QString decodificar(const QByteArray &bytes, Codificacion codificacion);
QString decodificar(const QByteArray &bytes); // in the encoding detectar() picks

// Nothing when the text holds a character the encoding cannot: a silent
// substitute would end up in a system file or a command.
std::optional<QByteArray> codificar(const QString &texto, Codificacion codificacion);

} // namespace Texto

#endif

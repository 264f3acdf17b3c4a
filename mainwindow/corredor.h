#ifndef TALVORA_CORREDOR_H
#define TALVORA_CORREDOR_H

// Runs a row's commands off the window's thread, one after the other, and
// tells when they are done. A command left running when the program quits
// finishes on its own: nothing is killed half-way.

#include "mainwindow/servicios.h"
#include "platform/sistema.h"

#include <QByteArrayList>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>

struct Fallo {
    QByteArray comando;
    Sistema::Resultado resultado;
};

class Corredor : public QObject
{
    Q_OBJECT

public:
    explicit Corredor(const Sistema &sistema, QObject *parent = nullptr);
    ~Corredor() override;

    // Every line runs, in turn, even after one failed. terminado() follows
    // in this object's thread, with the failures in order.
    void correr(Servicio fila, const QByteArrayList &comandos);

    // Any other work that may wait on a process: 'trabajo' runs on a
    // thread of its own, then 'luego' here with what it gave, unless this
    // runner is gone by then.
    template <typename T>
    void hacer(std::function<T()> trabajo, std::function<void(const T &)> luego)
    {
        auto hecho = std::make_shared<T>();
        const auto hacerlo = [hecho, trabajo = std::move(trabajo)] { *hecho = trabajo(); };
        const auto fin = [hecho, luego = std::move(luego)] { luego(*hecho); };
        // No thread to be had: done here, late rather than never.
        if (!enHilo(hacerlo, fin)) {
            hacerlo();
            fin();
        }
    }

signals:
    void terminado(Servicio fila, const QList<Fallo> &fallos);

private:
    // False when no thread could be had; nothing ran then.
    bool enHilo(std::function<void()> trabajo, std::function<void()> luego);

    struct Buzon;
    const Sistema sistema_;
    std::shared_ptr<Buzon> buzon_;
};

Q_DECLARE_METATYPE(Fallo)

#endif

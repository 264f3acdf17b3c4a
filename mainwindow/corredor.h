#ifndef TALVORA_CORREDOR_H
#define TALVORA_CORREDOR_H

// Runs commands off the window's thread and tells when they are done: a
// row's command lines one after the other, or any work that waits on other
// processes. A command left running when the program quits, or when this
// object goes, finishes on its own: nothing is killed half-way.

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

    // Runs `trabajo` on a thread of its own; `entregar` gets what it returns
    // in this object's thread, unless this object is gone by then. With no
    // thread to be had, `entregar` gets `sinHilo` at once.
    template <typename T>
    void enHilo(std::function<T()> trabajo, const T &sinHilo,
                std::function<void(const T &)> entregar)
    {
        const bool lanzado = lanzar([trabajo, entregar]() -> std::function<void()> {
            return [valor = trabajo(), entregar] { entregar(valor); };
        });
        if (!lanzado)
            entregar(sinHilo);
    }

signals:
    void terminado(Servicio fila, const QList<Fallo> &fallos);

private:
    // Starts `trabajo` on a detached thread; what it returns is called in
    // this object's thread. False when no thread could be created.
    bool lanzar(std::function<std::function<void()>()> trabajo);

    struct Buzon;
    const Sistema sistema_;
    std::shared_ptr<Buzon> buzon_;
};

Q_DECLARE_METATYPE(Fallo)

#endif

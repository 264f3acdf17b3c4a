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

signals:
    void terminado(Servicio fila, const QList<Fallo> &fallos);

private:
    struct Buzon;
    const Sistema sistema_;
    std::shared_ptr<Buzon> buzon_;
};

Q_DECLARE_METATYPE(Fallo)

#endif

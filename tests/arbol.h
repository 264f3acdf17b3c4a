#pragma once

// A form as text: its window, its widget tree (class, name, geometry,
// texts, tool tips, fonts, frames), its focus chain, what each button
// reaches, and its class's own slots. Compared with the golden files under
// tests/datos, it tells whether a change to a form changed what it builds.

#include <QString>

class QDialog;
struct QMetaObject;

QString volcarFormulario(QDialog *formulario, const QMetaObject &clase);

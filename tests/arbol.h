#pragma once

// A form as text: its window, its widget tree with every property the form
// sets, its focus chain, what each button reaches, and its class's own
// slots; and a window's menus. Compared with the golden files under
// tests/datos, they tell whether a change altered what a form builds.

#include <QString>

class QDialog;
class QWidget;
struct QMetaObject;

QString volcarFormulario(QDialog *formulario, const QMetaObject &clase);
QString volcarMenus(const QWidget *ventana);

#pragma once

// A form as text: its window, its widget tree with every property the form
// sets, and its focus chain; and a window's menus. Compared with the golden files under
// tests/datos, they tell whether a change altered what a form builds.

#include <QString>

class QDialog;
class QWidget;

QString volcarFormulario(QDialog *formulario);
QString volcarMenus(const QWidget *ventana);

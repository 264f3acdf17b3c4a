#ifndef TALVORA_SINHACER_H
#define TALVORA_SINHACER_H

#include <QtGlobal>

// The default body of a form's slot: the controller is expected to give it
// one, and a click that reaches this says so.
#define TALVORA_SIN_HACER(clase, slot)                                                             \
    void clase::slot() { qWarning(#clase "::" #slot "(): Not implemented yet!"); }

#endif

// Toolbar commands whose work lives with the data files and the hand-over of
// the curves to the chart; until those are part of the program the buttons
// leave everything as it is.

#include "app/principal.h"

void principal::nuevofichero() {}

void principal::abrir() {}

void principal::guardarfichero() {}

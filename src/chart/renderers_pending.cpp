// Placeholders for the fitted curve types until their renderers are in:
// they draw nothing.

#include "chart/renderers.h"

void dibujaspline(TrazoDestino &, Curva &) {}
void dibujapolinomio(TrazoDestino &, Curva &) {}
void dibujaajuste(TrazoDestino &, platform::Integer, Curva &) {}
void dibujafourier(TrazoDestino &, Curva &) {}

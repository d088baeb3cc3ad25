#pragma once
// Drawing of one curve on the plot: the pen shared by every curve drawing,
// the dots and straight segments, and the renderers of the fitted types.
// Each drawing takes the curve's own record (the Fourier renderer trims its
// point array) and records the first and last segment it drew, for the
// dotted extensions the chart adds afterwards.

#include "chart/graficos.h"
#include "platform/drawsurface.h"

// One drawn segment: (x1, y1) to (x2, y2).
struct Tramo {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
};

// Where a curve is drawn and where its first and last segments are recorded.
// tramoinicial = (start, end) of the first segment; tramofinal = (last drawn
// point, the point drawn before it).
struct TrazoDestino {
    platform::DrawSurface &pct;
    Tramo &tramoinicial;
    Tramo &tramofinal;
};

// The curve pen: fore and fill colour from the palette index, solid fill,
// width grosor, style tipolinea.
void ponerplumacurva(platform::DrawSurface &pct, const Curva &c);
// Afterwards: transparent fill, width 1, solid style (colours stay).
void quitarplumacurva(platform::DrawSurface &pct);
// Dot radius: 0.003 x grosor x the plot's width in user units.
platform::Single radiopunto(const platform::DrawSurface &pct, const Curva &c);

// Types 0 and 1.
void dibujapuntos(TrazoDestino &d, Curva &c);
// Type 2.
void dibujaspline(TrazoDestino &d, Curva &c);
// Type 3.
void dibujapolinomio(TrazoDestino &d, Curva &c);
// Types 4, 5, 6: tipo = tipoajuste - 4 (0 x, 1 sine, 2 cosine).
void dibujaajuste(TrazoDestino &d, platform::Integer tipo, Curva &c);
// Type 7.
void dibujafourier(TrazoDestino &d, Curva &c);

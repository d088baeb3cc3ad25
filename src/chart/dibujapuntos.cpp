// The curve pen, the dot radius and the drawing of types 0 (points) and 1
// (straight segments).

#include "chart/renderers.h"

#include "chart/pasoseguro.h"

#include <algorithm>

using platform::Single;

void ponerplumacurva(platform::DrawSurface &pct, const Curva &c)
{
    const platform::OleColor color = qbcolor(c.color);
    pct.setForeColor(color);
    pct.setFillColor(color);
    pct.setFillStyle(platform::fillStyleSolid);
    pct.setDrawWidth(c.grosor);
    pct.setDrawStyle(c.tipolinea);
}

void quitarplumacurva(platform::DrawSurface &pct)
{
    pct.setFillStyle(platform::fillStyleTransparent);
    pct.setDrawWidth(1);
    pct.setDrawStyle(platform::drawStyleSolid);
}

Single radiopunto(const platform::DrawSurface &pct, const Curva &c)
{
    return static_cast<Single>(c.grosor * 0.003 * double(pct.scaleWidth()));
}

void dibujapuntos(TrazoDestino &d, Curva &c)
{
    platform::DrawSurface &pct = d.pct;
    ponerplumacurva(pct, c);
    const platform::OleColor color = qbcolor(c.color);
    const Single radio = radiopunto(pct, c);
    const bool puntos = c.verpuntos != 0;
    const bool segmentos = c.tipoajuste == ajusteSegmentos;
    // Only the points the array really holds are drawn.
    const int n = std::min<int>(c.npuntos, c.puntos.ubound());
    const Punto *p = c.puntos.data() - 1; // p[1] .. p[n]

    // A point beyond the single range has no place on the plot: its dot and
    // the segments to it are left out.
    if (n >= 1 && puntos)
        pasoseguro::circulo(pct, p[1].x, p[1].y, radio);
    for (int j = 2; j <= n; ++j) {
        if (segmentos)
            pasoseguro::linea(pct, p[j - 1].x, p[j - 1].y, p[j].x, p[j].y, color);
        if (puntos)
            pasoseguro::circulo(pct, p[j].x, p[j].y, radio);
    }
    if (n >= 2) {
        d.tramoinicial = Tramo{p[1].x, p[1].y, p[2].x, p[2].y};
        d.tramofinal = Tramo{p[n].x, p[n].y, p[n - 1].x, p[n - 1].y};
    }
    quitarplumacurva(pct);
}

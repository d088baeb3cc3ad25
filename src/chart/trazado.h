#pragma once
// The drawing loops the fitted-curve renderers have in common. Each takes the
// curve's sample function as a parameter; everything else (the steps, the
// order of the drawing calls, the arithmetic of the abscissa) is the same for
// every renderer that uses it. Every failing step is passed over.

#include "chart/graficos.h"
#include "chart/pasoseguro.h"
#include "chart/renderers.h"

namespace trazado
{

// Point i of the array (1-based); the callers keep i within its bounds.
inline const Punto &pt(const PuntoArray &p, int i)
{
    return p.data()[i - 1];
}

// Per interval i = 1 .. n-1: the dot of point i (when the curve shows its
// points), then 50 pieces from point i, the abscissa advancing by repeated
// addition of a fiftieth of the interval; afterwards the dot of the last
// point and the pen reset. muestra(i, t, v) stores the curve's value at t in
// interval i into v, as one step of its own.
template <class Muestra> void porintervalos(TrazoDestino &d, const Curva &c, Muestra &&muestra)
{
    using pasoseguro::Paso;
    const int n = c.npuntos;
    const PuntoArray &puntos = c.puntos;
    const platform::OleColor color = qbcolor(c.color);
    const bool dots = c.verpuntos != 0;
    double v = 0.0;
    double incremento = 0.0;
    for (int i = 1; i <= n - 1; ++i) {
        const Punto &a = pt(puntos, i);
        if (dots)
            pasoseguro::circulo(d.pct, a.x, a.y, radiopunto(d.pct, c));
        {
            Paso p;
            p.guardar(incremento, (pt(puntos, i + 1).x - a.x) / 50.0);
        }
        // Each interval starts at its own data point.
        double xa = a.x;
        double ya = a.y;
        double t = a.x;
        for (int k = 1; k <= 50; ++k) {
            {
                Paso p;
                p.guardar(t, t + incremento);
            }
            muestra(i, t, v);
            pasoseguro::linea(d.pct, xa, ya, t, v, color);
            if (i == 1 && k == 1)
                d.tramoinicial = Tramo{xa, ya, t, v};
            if (i == n - 1 && k == 50)
                d.tramofinal = Tramo{t, v, xa, ya};
            xa = t;
            ya = v;
        }
    }
    if (dots && n >= 1)
        pasoseguro::circulo(d.pct, pt(puntos, n).x, pt(puntos, n).y, radiopunto(d.pct, c));
    {
        Paso p;
        quitarplumacurva(d.pct);
        p.terminar();
    }
}

// The dots of the first n points (when the curve shows them), then 500 equal
// pieces over x(1) .. x(u), u the array's last index, T = x(u) - x(1), the
// abscissa advancing by repeated addition of T / 500; afterwards the pen
// reset. valor(t, T, v) stores the curve's value at t into v.
template <class Valor> void enquinientos(TrazoDestino &d, const Curva &c, Valor &&valor)
{
    using pasoseguro::Paso;
    const PuntoArray &puntos = c.puntos;
    const int n = c.npuntos;
    if (c.verpuntos != 0) {
        for (int i = 1; i <= n && i <= puntos.ubound(); ++i)
            pasoseguro::circulo(d.pct, pt(puntos, i).x, pt(puntos, i).y, radiopunto(d.pct, c));
    }
    const int ultimo = puntos.ubound();
    if (ultimo >= 1) {
        double T = 0.0;
        double incremento = 0.0;
        {
            Paso p;
            p.guardar(T, pt(puntos, ultimo).x - pt(puntos, 1).x);
        }
        {
            Paso p;
            p.guardar(incremento, T / 500.0);
        }
        const platform::OleColor color = qbcolor(c.color);
        double x0 = pt(puntos, 1).x;
        double y0 = 0.0;
        valor(x0, T, y0);
        double t = x0;
        double v = 0.0;
        for (int s = 1; s <= 500; ++s) {
            {
                Paso p;
                p.guardar(t, t + incremento);
            }
            valor(t, T, v);
            pasoseguro::linea(d.pct, x0, y0, t, v, color);
            if (s == 1)
                d.tramoinicial = Tramo{x0, y0, t, v};
            if (s == 500)
                d.tramofinal = Tramo{t, v, x0, y0};
            x0 = t;
            y0 = v;
        }
    }
    {
        Paso p;
        quitarplumacurva(d.pct);
        p.terminar();
    }
}

} // namespace trazado

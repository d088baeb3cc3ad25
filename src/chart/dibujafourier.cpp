// Fourier series of the broken line through the points, taken as one period
// T = x(n) - x(1), drawn in 500 equal pieces over the points' range.

#include "chart/ajustes.h"
#include "chart/renderers.h"
#include "chart/trazado.h"

#include <cmath>

using pasoseguro::Paso;

using trazado::pt;

void calcularfourier(Paso &p, PuntoArray &puntos, platform::Integer n, platform::Integer first,
                     platform::Integer last, Reales &a, Reales &b)
{
    if (p.fallido())
        return;
    if (n < 1) {
        p.fallar();
        return;
    }
    puntos.redimPreserve(n);
    a = Reales(first, last);
    b = Reales(first, last);
    const double pi = 4.0 * std::atan(1.0);
    const double T = pt(puntos, n).x - pt(puntos, 1).x;
    if (p.fallido())
        return;
    for (int k = first; k <= last; ++k) {
        const double w = ((pi + pi) * k) / T; // angular frequency of harmonic k
        if (p.fallido())
            return;
        a(k) = 0.0;
        b(k) = 0.0;
        for (int i = 1; i <= n - 1; ++i) {
            const double x1 = pt(puntos, i).x;
            const double y1 = pt(puntos, i).y;
            const double x2 = pt(puntos, i + 1).x;
            const double y2 = pt(puntos, i + 1).y;
            if (x1 == x2)
                continue; // a vertical segment adds nothing
            const double m = (y2 - y1) / (x2 - x1);
            const double u1 = w * x1;
            const double u2 = w * x2;
            if (p.fallido())
                return;
            if (k == 0) {
                // The trapezoid's area.
                a(0) = ((x2 - x1) * (m / 2.0) + y1) * (x2 - x1) + a(0);
            } else {
                // w times the exact integrals of the segment times cos(w x)
                // and sin(w x).
                const double c1 = p.cos(u1);
                const double s1 = p.sin(u1);
                const double c2 = p.cos(u2);
                const double s2 = p.sin(u2);
                if (p.fallido())
                    return;
                a(k) = (m / w) * (c2 - c1) + a(k) + y2 * s2 - y1 * s1;
                if (p.fallido())
                    return;
                b(k) = (m / w) * (s2 - s1) + b(k) - y2 * c2 + c1 * y1;
            }
            if (p.fallido())
                return;
        }
        a(k) = a(k) / T;
        if (p.fallido())
            return;
        b(k) = b(k) / T;
        if (p.fallido())
            return;
        if (k != 0) {
            a(k) = (a(k) + a(k)) / w;
            if (p.fallido())
                return;
            b(k) = (b(k) + b(k)) / w;
            if (p.fallido())
                return;
        }
    }
}

void valorfourier(const Reales &a, const Reales &b, platform::Integer N, double pi, double t, double T,
                  double &v)
{
    pasoseguro::empezar();
    {
        Paso p;
        if (a.contiene(0))
            p.guardar(v, a(0));
        else
            p.fallar();
    }
    for (int k = 1; k <= N; ++k) {
        Paso p;
        const int dosk = 2 * k; // a 16-bit integer
        if (dosk > 32767 || !a.contiene(k) || !b.contiene(k)) {
            p.fallar();
            p.terminar();
            continue;
        }
        const double theta = ((dosk * pi) * t) / T;
        double suma = p.cos(theta) * a(k) + v;
        suma = suma + p.sin(theta) * b(k);
        p.guardar(v, suma);
    }
}

void dibujafourier(TrazoDestino &d, Curva &c)
{
    pasoseguro::empezar();
    // Every failing step is passed over.
    const platform::Integer N = c.grado;
    Reales a(0, N);
    Reales b(0, N);
    const double pi = 4.0 * std::atan(1.0);
    {
        Paso p;
        ponerplumacurva(d.pct, c);
        p.terminar();
    }
    {
        Paso p;
        calcularfourier(p, c.puntos, c.npuntos, 0, N, a, b);
        p.terminar();
    }
    trazado::enquinientos(d, c, [&](double t, double T, double &v) { valorfourier(a, b, N, pi, t, T, v); });
}

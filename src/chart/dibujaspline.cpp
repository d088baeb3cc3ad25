// Natural cubic spline through the points in their stored order, drawn as
// 50 straight pieces per interval.

#include "chart/ajustes.h"
#include "chart/renderers.h"
#include "chart/trazado.h"

#include <cmath>

using pasoseguro::Paso;

using trazado::pt;

bool sistemaspline(const PuntoArray &puntos, int n, Spline &s)
{
    pasoseguro::empezar();
    // A point the array does not hold fails the first step that reads it.
    if (n > puntos.ubound())
        return false;
    s.h = Reales(1, n);
    s.alfa = Reales(1, n);
    s.l = Reales(1, n);
    s.mu = Reales(1, n);
    s.z = Reales(1, n);
    auto x = [&](int i) { return pt(puntos, i).x; };
    auto y = [&](int i) { return pt(puntos, i).y; };
    Reales &h = s.h;

    for (int i = 1; i <= n - 1; ++i) {
        Paso p;
        if (!p.guardar(h(i), x(i + 1) - x(i)))
            return false;
    }
    // The two divided differences brought over one denominator.
    for (int i = 2; i <= n - 1; ++i) {
        Paso p;
        const double num = y(i + 1) * h(i - 1) - (x(i + 1) - x(i - 1)) * y(i) + y(i - 1) * h(i);
        if (!p.guardar(s.alfa(i), 3.0 * num / (h(i) * h(i - 1))))
            return false;
    }
    if (n >= 1) {
        s.l(1) = 1.0;
        s.mu(1) = 0.0;
        s.z(1) = 0.0;
    }
    for (int i = 2; i <= n - 1; ++i) {
        {
            Paso p;
            if (!p.guardar(s.l(i), 2.0 * (x(i + 1) - x(i - 1)) - h(i - 1) * s.mu(i - 1)))
                return false;
        }
        {
            Paso p;
            if (!p.guardar(s.mu(i), h(i) / s.l(i)))
                return false;
        }
        {
            Paso p;
            if (!p.guardar(s.z(i), (s.alfa(i) - h(i - 1) * s.z(i - 1)) / s.l(i)))
                return false;
        }
    }
    if (n >= 1)
        s.z(n) = 0.0;
    return true;
}

void coeficientesspline(const PuntoArray &puntos, int n, Spline &s)
{
    pasoseguro::empezar();
    s.b = Reales(1, n);
    s.c = Reales(1, n);
    s.d = Reales(1, n);
    if (n < 1)
        return;
    auto y = [&](int i) { return pt(puntos, i).y; };
    Reales &c = s.c;
    Reales &h = s.h;
    c(n) = 0.0;
    for (int j = n - 1; j >= 1; --j) {
        {
            Paso p;
            p.guardar(c(j), s.z(j) - s.mu(j) * c(j + 1));
        }
        {
            Paso p;
            p.guardar(s.b(j), (y(j + 1) - y(j)) / h(j) - (2.0 * c(j) + c(j + 1)) * h(j) / 3.0);
        }
        {
            Paso p;
            p.guardar(s.d(j), (c(j + 1) - c(j)) / (3.0 * h(j)));
        }
    }
}

namespace
{

// The sample step itself, S_i(t) evaluated as
//   ((t - x(i)) b(i) + y(i)) + (t - x(i))^2 c(i) + (t - x(i))^3 d(i).
// The first power is a plain call: pow has no effect but its value and the
// flags, and the flags are sticky, so the test after the second call finds
// an exception of everything before it just as a test before each call would.
// That test, and the one after the store, are all the step needs.
inline void muestraspline(const PuntoArray &puntos, const Spline &s, int i, double t, double &v)
{
    const Punto &q = pt(puntos, i);
    Paso p;
    const double dt = t - q.x;
    double suma = dt * s.b(i) + q.y;
    suma = suma + std::pow(dt, 2.0) * s.c(i);
    p.guardar(v, suma + p.pow(dt, 3.0) * s.d(i));
}

} // namespace

void valorspline(const PuntoArray &puntos, const Spline &s, int i, double t, double &v)
{
    pasoseguro::empezar();
    muestraspline(puntos, s, i, t, v);
}

void dibujaspline(TrazoDestino &d, Curva &c)
{
    pasoseguro::empezar();
    const int n = c.npuntos;
    const PuntoArray &puntos = c.puntos;
    Spline s;
    // Coefficient stage: its first failure leaves the curve undrawn.
    if (!sistemaspline(puntos, n, s))
        return;

    // From here on a failing step is passed over.
    {
        Paso p;
        ponerplumacurva(d.pct, c);
        p.terminar();
    }
    coeficientesspline(puntos, n, s);

    trazado::porintervalos(d, c, [&](int i, double t, double &v) { muestraspline(puntos, s, i, t, v); });
}

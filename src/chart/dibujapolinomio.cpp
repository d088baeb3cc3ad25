// The interpolating polynomial through all points, drawn as 50 straight
// pieces per interval between the first and the last point.
//
// The coefficients are found by Lagrange evaluation at 0 and deflation:
// with p(u) = C(1) + u q(u), the values (y - C(1)) / u at the other points are
// values of q, one degree lower, so the next evaluation at 0 gives C(2) from
// one point fewer (the one nearest to 0 is given up). This is done in the
// centred variable u = (x - centro) / escala, not in x itself: in x the
// powers of ordinary abscissas (years, say) swamp the coefficients and the
// curve comes out wrong or not a number.

#include "chart/ajustes.h"
#include "chart/renderers.h"
#include "chart/trazado.h"

#include <cmath>

using pasoseguro::Paso;

using trazado::pt;

VariableAjuste variablecentrada(const PuntoArray &puntos, int n)
{
    VariableAjuste var;
    if (n < 1 || n > puntos.ubound())
        return var;
    double menor = pt(puntos, 1).x;
    double mayor = menor;
    for (int i = 2; i <= n; ++i) {
        const double x = pt(puntos, i).x;
        if (x < menor)
            menor = x;
        if (x > mayor)
            mayor = x;
    }
    // Halves first, so that neither the sum nor the difference overflows.
    var.centro = menor / 2.0 + mayor / 2.0;
    const double semiamplitud = mayor / 2.0 - menor / 2.0;
    var.escala = semiamplitud > 0.0 && std::isfinite(semiamplitud) ? semiamplitud : 1.0;
    return var;
}

double evaluarlagrange(Paso &p, const PuntoArray &P, platform::Integer m, double t)
{
    if (p.fallido())
        return 0.0;
    if (m > P.ubound()) {
        p.fallar();
        return 0.0;
    }
    double resultado = 0.0;
    for (int i = 1; i <= m; ++i) {
        const Punto &pi = pt(P, i);
        double L = 1.0;
        for (int j = 1; j <= m; ++j) {
            if (j == i)
                continue;
            const double xj = pt(P, j).x;
            L = ((t - xj) * L) / (pi.x - xj);
        }
        resultado = L * pi.y + resultado;
        // The routine ends at its first failure.
        if (p.fallido())
            return 0.0;
    }
    return resultado;
}

bool calcularpolinomio(const PuntoArray &puntos, int n, Reales &C, VariableAjuste &var)
{
    pasoseguro::empezar();
    C = Reales(1, n);
    if (n > puntos.ubound())
        return false;
    PuntoArray P = puntos;
    {
        Paso p;
        var = variablecentrada(puntos, n);
        if (!p.terminar())
            return false;
    }
    for (int k = 1; k <= n; ++k) {
        Paso p;
        if (!p.guardar(P(k).x, (P(k).x - var.centro) / var.escala))
            return false;
    }

    const double tope = 1.0 / 1e-38;
    for (int j = 1; j <= n; ++j) {
        const int m = n + 1 - j; // working points still in use
        {
            Paso p;
            const double valor = evaluarlagrange(p, P, static_cast<platform::Integer>(m), 0.0);
            if (!p.guardar(C(j), valor))
                return false;
        }
        double menor = tope;
        int elegido = 0;
        for (int k = 1; k <= m; ++k) {
            Punto &q = P(k);
            {
                Paso p;
                if (std::fabs(q.x) < menor) {
                    menor = std::fabs(q.x);
                    elegido = k;
                }
                if (!p.terminar())
                    return false;
            }
            Paso p;
            if (std::fabs(q.x) > 1e-38) {
                if (!p.guardar(q.y, (q.y - C(j)) / q.x))
                    return false;
            } else if (!p.terminar()) {
                return false;
            }
        }
        // Remove the chosen point by moving the later ones down; with no
        // point chosen the move would reach below the first element.
        if (elegido < m) {
            if (elegido < 1)
                return false;
            for (int k = elegido + 1; k <= m; ++k)
                P(k - 1) = P(k);
        }
    }
    return true;
}

void valorpolinomio(const Reales &C, const VariableAjuste &var, double t, double &v)
{
    pasoseguro::empezar();
    v = 0.0;
    for (int j = C.lbound(); j <= C.ubound(); ++j) {
        Paso p;
        const double u = (t - var.centro) / var.escala;
        const double potencia = p.pow(u, static_cast<double>(j - 1));
        p.guardar(v, C(j) * potencia + v);
    }
}

void dibujapolinomio(TrazoDestino &d, Curva &c)
{
    pasoseguro::empezar();
    const int n = c.npuntos;
    const PuntoArray &puntos = c.puntos;
    Reales C;
    VariableAjuste var;
    // Coefficient stage: its first failure leaves the curve undrawn.
    if (!calcularpolinomio(puntos, n, C, var))
        return;

    // From here on a failing step is passed over.
    {
        Paso p;
        ponerplumacurva(d.pct, c);
        p.terminar();
    }
    trazado::porintervalos(d, c, [&](int, double t, double &v) { valorpolinomio(C, var, t, v); });
}

// Least-squares polynomial of degree N in x, sin(2 pi x / T) or
// cos(2 pi x / T), drawn in 500 equal pieces from the first point's x to the
// last one's.
//
// The fit is solved from the design matrix by Householder QR with column
// pivoting, in a variable that runs over [-1, 1]: normal equations in raw x
// (the powers of years, say) lose every digit of the answer, and a basis
// that is zero up to rounding must count as zero rather than become a pivot.

#include "chart/ajustes.h"
#include "chart/renderers.h"
#include "chart/trazado.h"

#include <Eigen/Dense>

#include <cmath>
#include <limits>
#include <utility>

using pasoseguro::Paso;

using trazado::pt;

namespace
{

const double pi = 4.0 * std::atan(1.0);

// The solver's zero test: a value that is not a number counts as zero.
inline bool escero(double v)
{
    return v == 0.0 || std::isnan(v);
}

} // namespace

double funcionbase(Paso &p, platform::Integer kind, double x, double T)
{
    if (p.fallido())
        return 0.0;
    switch (kind) {
    case 0:
        return x;
    case 1:
        return p.sin(((pi + pi) * x) / T);
    case 2:
        return p.cos(((pi + pi) * x) / T);
    default:
        return 0.0;
    }
}

void resolversistema(Paso &p, MatrizReal &A, Reales &x, Reales &b)
{
    if (p.fallido())
        return;
    const int ultimo = A.ubound();
    if (b.lbound() != 1 || b.ubound() < ultimo) {
        p.fallar();
        return;
    }
    for (int k = 1; k <= ultimo; ++k) {
        // A pivot that is exactly zero: take the first later equation that
        // has this component, if any.
        if (escero(A(k, k))) {
            for (int j = k + 1; j <= ultimo; ++j) {
                if (!escero(A(k, j))) {
                    for (int u = 1; u <= ultimo; ++u)
                        std::swap(A(u, k), A(u, j));
                    std::swap(b(k), b(j));
                    break;
                }
            }
        }
        // Still zero: the component is passed over.
        if (escero(A(k, k)))
            continue;
        const double pivote = A(k, k);
        for (int u = 1; u <= ultimo; ++u)
            A(u, k) = A(u, k) / pivote;
        b(k) = b(k) / pivote;
        if (p.fallido())
            return;
        for (int j = k + 1; j <= ultimo; ++j) {
            if (escero(A(k, j)))
                continue;
            const double q = -A(k, j) / A(k, k);
            for (int u = 1; u <= ultimo; ++u)
                A(u, j) = q * A(u, k) + A(u, j);
            b(j) = q * b(k) + b(j);
            if (p.fallido())
                return;
        }
    }
    for (int k = ultimo; k >= 1; --k) {
        if (x.contiene(k))
            x(k) = b(k);
        else
            p.fallar();
        for (int j = k - 1; j >= 1; --j) {
            b(j) = b(j) - A(k, j) * b(k);
            A(k, j) = 0.0;
        }
        if (p.fallido())
            return;
    }
    for (int i = b.lbound(); i <= b.ubound(); ++i) {
        if (!x.contiene(i)) {
            p.fallar();
            return;
        }
        x(i) = b(i);
    }
}

void calcularajuste(Paso &p, platform::Integer kind, const PuntoArray &puntos, platform::Integer N, Reales &a,
                    VariableAjuste &var)
{
    if (p.fallido())
        return;
    const int columnas = N + 1;
    a = Reales(1, columnas);
    var = VariableAjuste{};
    const int n = puntos.ubound();
    if (n < 1) {
        p.fallar();
        return;
    }
    const double T = pt(puntos, n).x - pt(puntos, 1).x;
    if (p.fallido() || columnas < 1)
        return;
    if (kind == 0)
        var = variablecentrada(puntos, n);

    // Design matrix: row i holds the powers 0 to N of the point's variable.
    Eigen::MatrixXd M(n, columnas);
    Eigen::VectorXd y(n);
    for (int i = 1; i <= n; ++i) {
        const Punto &q = pt(puntos, i);
        const double f = funcionbase(p, kind, q.x, T);
        const double u = (f - var.centro) / var.escala;
        for (int j = 1; j <= columnas; ++j)
            M(i - 1, j - 1) = p.pow(u, static_cast<double>(j - 1));
        y(i - 1) = q.y;
        if (p.fallido())
            return;
    }

    Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(M);
    // A pivot at the rounding level of the largest one counts as zero.
    qr.setThreshold(static_cast<double>(n) * std::numeric_limits<double>::epsilon());
    const Eigen::Index rango = qr.rank();
    Eigen::VectorXd qty = qr.householderQ().transpose() * y;
    Eigen::VectorXd z =
        qr.matrixR().topLeftCorner(rango, rango).triangularView<Eigen::Upper>().solve(qty.head(rango));
    if (p.fallido())
        return;
    // Components without a usable pivot are 0; with only the constant
    // column left the fit is the mean of y.
    const auto &orden = qr.colsPermutation().indices();
    for (Eigen::Index i = 0; i < rango; ++i)
        a(static_cast<int>(orden(i)) + 1) = z(i);
}

void valorajuste(platform::Integer kind, const Reales &a, const VariableAjuste &var, double t, double T,
                 double &v)
{
    pasoseguro::empezar();
    v = 0.0;
    for (int j = a.lbound(); j <= a.ubound(); ++j) {
        Paso p;
        const double f = funcionbase(p, kind, t, T);
        const double u = (f - var.centro) / var.escala;
        const double potencia = p.pow(u, static_cast<double>(j - 1));
        p.guardar(v, potencia * a(j) + v);
    }
}

void dibujaajuste(TrazoDestino &d, platform::Integer tipo, Curva &c)
{
    pasoseguro::empezar();
    // Every failing step is passed over.
    const int n = c.npuntos;
    const PuntoArray &puntos = c.puntos;
    Reales a(1, n);
    VariableAjuste var;
    {
        Paso p;
        ponerplumacurva(d.pct, c);
        p.terminar();
    }
    {
        Paso p;
        calcularajuste(p, tipo, puntos, c.grado, a, var);
        p.terminar();
    }
    trazado::enquinientos(d, c, [&](double t, double T, double &v) { valorajuste(tipo, a, var, t, T, v); });
}

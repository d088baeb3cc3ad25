#pragma once
// The numerics behind the fitted curve types: the natural cubic spline, the
// interpolating polynomial, the least-squares polynomials in x, sin(2 pi x/T)
// and cos(2 pi x/T), and the Fourier series of the broken line through the
// points. Plain functions over plain data; the renderers in renderers.h draw
// with them. Every routine runs under the step rules of pasoseguro.h: those
// that take a Paso belong to the caller's step, end at their first failure
// and leave the step failed.

#include "chart/graficos.h"
#include "chart/pasoseguro.h"
#include "platform/vbtypes.h"

#include <vector>

// Array of doubles with its own bounds, all zero when created.
class Reales
{
public:
    Reales() = default;
    Reales(int inferior, int superior)
        : inf_(inferior),
          v_(superior >= inferior ? static_cast<std::size_t>(superior - inferior + 1) : 0, 0.0)
    {
    }
    int lbound() const { return inf_; }
    int ubound() const { return inf_ + static_cast<int>(v_.size()) - 1; }
    bool contiene(int i) const { return i >= inf_ && i <= ubound(); }
    double &operator()(int i) { return v_[static_cast<std::size_t>(i - inf_)]; }
    double operator()(int i) const { return v_[static_cast<std::size_t>(i - inf_)]; }

private:
    int inf_ = 1;
    std::vector<double> v_;
};

// Square array A(u, e), both subscripts 1 to n, all zero when created.
class MatrizReal
{
public:
    MatrizReal() = default;
    explicit MatrizReal(int n) : n_(n > 0 ? n : 0), v_(static_cast<std::size_t>(n_) * n_, 0.0) {}
    int ubound() const { return n_; }
    double &operator()(int u, int e) { return v_[static_cast<std::size_t>(e - 1) * n_ + (u - 1)]; }
    double operator()(int u, int e) const { return v_[static_cast<std::size_t>(e - 1) * n_ + (u - 1)]; }

private:
    int n_ = 0;
    std::vector<double> v_;
};

// The variable a polynomial is worked out in: u = (s - centro) / escala,
// centred on the middle of the points' span and scaled to run over [-1, 1],
// so that the powers of u stay of order one whatever the units of x.
struct VariableAjuste {
    double centro = 0.0;
    double escala = 1.0;
};

// Centre and half-span of the x values of points 1 to n; a half-span that is
// zero (or not a number) gives a scale of 1.
VariableAjuste variablecentrada(const PuntoArray &puntos, int n);

// ---- Natural cubic spline ----

// Scratch of the spline over points 1 to n; interval i runs from point i to
// point i + 1 and S_i(t) = y(i) + b(i) (t - x(i)) + c(i) (t - x(i))^2 + d(i) (t - x(i))^3.
struct Spline {
    Reales h, alfa, l, mu, z; // tridiagonal system and its forward elimination
    Reales b, c, d;           // coefficients
};

// Widths, right-hand sides and forward elimination. False at the first
// failing step: then nothing of the curve may be drawn.
bool sistemaspline(const PuntoArray &puntos, int n, Spline &s);
// The coefficients c, b, d by back substitution; each failing step is passed
// over (a zero width leaves an infinite b and a NaN d).
void coeficientesspline(const PuntoArray &puntos, int n, Spline &s);
// One sample of interval i at t, as one step: v keeps its value when the
// step fails before its store.
void valorspline(const PuntoArray &puntos, const Spline &s, int i, double t, double &v);

// ---- Interpolating polynomial ----

// Value at t of the Lagrange polynomial through P(1) to P(m).
double evaluarlagrange(pasoseguro::Paso &p, const PuntoArray &P, platform::Integer m, double t);

// Coefficients C(1) to C(n) of the polynomial through points 1 to n in the
// centred variable u = (x - var.centro) / var.escala, found by Lagrange
// evaluation at u = 0 and deflation. False at the first failing step, which
// is the outcome whenever two points share an x value.
bool calcularpolinomio(const PuntoArray &puntos, int n, Reales &C, VariableAjuste &var);
// One sample at t: v = 0, then one step per term C(j) u^(j-1); a failing
// term adds nothing.
void valorpolinomio(const Reales &C, const VariableAjuste &var, double t, double &v);

// ---- Least squares ----

// Basis value at x: kind 0 gives x, 1 sin(2 pi x / T), 2 cos(2 pi x / T),
// any other 0.
double funcionbase(pasoseguro::Paso &p, platform::Integer kind, double x, double T);

// Gaussian elimination with the equation exchange only where a pivot is
// exactly zero; A(u, e) is the coefficient of component u in equation e. A
// component without a usable pivot is passed over. A and b are left changed.
void resolversistema(pasoseguro::Paso &p, MatrizReal &A, Reales &x, Reales &b);

// Least-squares polynomial of degree N in the basis kind over every point of
// the array: a(1) to a(N + 1) are its coefficients in u = (f - var.centro) /
// var.escala, f = funcionbase(kind, x, T), T = x(last) - x(first). Kind 0 is
// centred and scaled on the points; the sine and cosine already run over
// [-1, 1] and keep centre 0 and scale 1. Solved by Householder QR with column
// pivoting; a pivot below n eps of the largest counts as zero and its
// component as 0, so a basis with no spread gives the mean of y. On failure
// the fit is abandoned and a keeps zeros.
void calcularajuste(pasoseguro::Paso &p, platform::Integer kind, const PuntoArray &puntos,
                    platform::Integer N, Reales &a, VariableAjuste &var);
// One sample at t: v = 0, then one step per term u^(j-1) a(j); a term whose
// basis value or power fails adds nothing.
void valorajuste(platform::Integer kind, const Reales &a, const VariableAjuste &var, double t, double T,
                 double &v);

// ---- Fourier series ----

// Resizes the point array to 1 to n, then a(k), b(k) for k = first to last:
// the cosine and sine coefficients of the broken line through the points
// over one period T = x(n) - x(1), a(0) its mean value. Coefficients written
// before a failure keep their values.
void calcularfourier(pasoseguro::Paso &p, PuntoArray &puntos, platform::Integer n, platform::Integer first,
                     platform::Integer last, Reales &a, Reales &b);
// One sample at t: v = a(0), then one step per harmonic; a harmonic whose
// angle fails adds nothing.
void valorfourier(const Reales &a, const Reales &b, platform::Integer N, double pi, double t, double T,
                  double &v);

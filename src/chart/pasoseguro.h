#pragma once
// Step-by-step failure rules of the curve numerics.
//
// A computation runs as a sequence of steps, each one statement that stores
// one result. A step fails when its arithmetic raises the IEEE invalid
// operation, division by zero or overflow exception (arithmetic on a quiet
// NaN raises none of them), when a routine it calls fails, or when it would
// index outside an array. The exception flags are tested after the step has
// stored its result and, in a step that calls a routine, just before each
// call:
//   - a failure found before the store leaves the target unchanged;
//   - a failure found after it leaves the infinite or NaN result there.
// What a failure means is up to the caller: the coefficient stage of the
// spline and the interpolating polynomial stops at the first one, the drawing
// stages pass over each failing step and go on with the next.
//
// Usage, one step:
//     Paso p;
//     p.guardar(v, c * p.pow(u, 2.0) + v);   // false when the step failed
//
// The flags must be real: the project builds with -frounding-math so that
// the compiler neither folds nor reorders inexact arithmetic, and each store
// is pinned in memory before the flags are read (fijar).

#include "platform/drawsurface.h"
#include "platform/vbtypes.h"

#include <cfenv>
#include <cmath>

namespace pasoseguro {

constexpr int excepciones = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

inline bool hayexcepcion() noexcept { return std::fetestexcept(excepciones) != 0; }
inline void limpiar() noexcept { std::feclearexcept(excepciones); }

// The value is computed and stored in memory before anything that follows.
template <class T>
inline void fijar(T &v) noexcept
{
    asm volatile("" : : "m"(v) : "memory");
}

// Conversion to the single precision of the drawing calls. A finite value
// beyond the single range rounds to infinity and raises overflow.
inline platform::Single asingle(double v) noexcept
{
    volatile double w = v;
    return static_cast<platform::Single>(w);
}

class Paso {
public:
    // A step starts with clear flags. Steps that succeed leave them clear,
    // so this only clears after something outside a step raised one.
    Paso() noexcept
    {
        if (hayexcepcion())
            limpiar();
    }
    Paso(const Paso &) = delete;
    Paso &operator=(const Paso &) = delete;

    // Whether the step has failed so far (its arithmetic included).
    bool fallido() noexcept
    {
        if (!fallo_ && hayexcepcion())
            fallo_ = true;
        return fallo_;
    }
    // A failed check of the step's own (an index outside its array).
    void fallar() noexcept { fallo_ = true; }

    // Calls a routine inside the step: the step's arithmetic so far is
    // tested first, and once the step has failed no routine is called; the
    // routine fails when it raises one of the exceptions itself.
    template <class F>
    double llamar(F &&rutina) noexcept
    {
        if (fallido())
            return 0.0;
        const double r = rutina();
        if (hayexcepcion())
            fallo_ = true;
        return r;
    }
    double pow(double base, double exponente) noexcept
    {
        return llamar([=] { return std::pow(base, exponente); });
    }
    double sin(double x) noexcept
    {
        return llamar([=] { return std::sin(x); });
    }
    double cos(double x) noexcept
    {
        return llamar([=] { return std::cos(x); });
    }

    // Ends the step by storing its result: the target stays unchanged when a
    // routine call or a check failed before; otherwise it receives the value,
    // and the step still fails when its arithmetic raised an exception.
    template <class T>
    bool guardar(T &destino, T valor) noexcept
    {
        if (fallo_) {
            limpiar();
            return false;
        }
        destino = valor;
        fijar(destino);
        if (hayexcepcion()) {
            fallo_ = true;
            limpiar();
            return false;
        }
        return true;
    }

    // Ends a step that stores nothing (a drawing call); whether it succeeded.
    bool terminar() noexcept
    {
        const bool f = fallido();
        if (f)
            limpiar();
        return !f;
    }

private:
    bool fallo_ = false;
};

// A straight line as one step. Nothing is drawn when a coordinate is not a
// finite single-precision value: beyond the single range, infinite or NaN
// (a vertical piece's slope, a sample of a polynomial far out). No surface
// ever receives such a coordinate.
inline bool linea(platform::DrawSurface &pct, double x1, double y1, double x2, double y2,
                  platform::OleColor color)
{
    Paso p;
    const platform::Single a = asingle(x1);
    const platform::Single b = asingle(y1);
    const platform::Single c = asingle(x2);
    const platform::Single d = asingle(y2);
    if (!(std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d)))
        p.fallar();
    if (!p.fallido())
        pct.line(a, b, c, d, color);
    return p.terminar();
}

// A filled circle as one step, likewise.
inline bool circulo(platform::DrawSurface &pct, double x, double y, platform::Single radio)
{
    Paso p;
    const platform::Single a = asingle(x);
    const platform::Single b = asingle(y);
    if (!(std::isfinite(a) && std::isfinite(b) && std::isfinite(radio)))
        p.fallar();
    if (!p.fallido())
        pct.circle(a, b, radio);
    return p.terminar();
}

} // namespace pasoseguro

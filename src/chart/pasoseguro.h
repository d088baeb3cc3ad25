#pragma once
// Step-by-step failure rules of the curve numerics.
//
// A computation runs as a sequence of steps, each one statement that stores
// one result. A step fails when its arithmetic raises the IEEE invalid
// operation, division by zero or overflow exception (arithmetic on a quiet
// NaN raises none of them), when a routine it calls fails, or when it would
// index outside an array. The exception flags are tested after the step has
// stored its result and, in a step that calls a routine, before each call:
//   - a failure found before the store leaves the target unchanged;
//   - a failure found after it leaves the infinite or NaN result there.
// The flags are sticky, so one test right after a call finds an exception of
// the arithmetic before the call as well as one of the routine itself; both
// fail the step before its store, so that test stands for the one before the
// call.
// What a failure means is up to the caller: the coefficient stage of the
// spline and the interpolating polynomial stops at the first one, the drawing
// stages pass over each failing step and go on with the next.
//
// Usage, one step (after empezar() at the start of the computation):
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

namespace pasoseguro
{

constexpr int excepciones = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

inline bool hayexcepcion() noexcept
{
#if defined(__x86_64__) && defined(__SSE2__)
    // Double arithmetic here, the program's and the maths library's, runs on
    // SSE, whose flags sit in MXCSR with the same bit values as <cfenv>.
    // Reading MXCSR directly is many times cheaper than fetestexcept, which
    // also reads the x87 status word, and the test runs several times per
    // drawn piece.
    // The asm is volatile with a memory clobber, so neither a routine call
    // nor a store can move across the test.
    unsigned csr;
    asm volatile("stmxcsr %0" : "=m"(csr) : : "memory");
    return (csr & static_cast<unsigned>(excepciones)) != 0;
#else
    return std::fetestexcept(excepciones) != 0;
#endif
}
inline void limpiar() noexcept
{
    std::feclearexcept(excepciones);
}

// The value is computed and stored in memory before anything that follows.
template <class T> inline void fijar(T &v) noexcept
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

// Every step leaves the flags clear, failed or not, so a step needs no
// clearing of its own. Code that starts a computation (a renderer, a sample
// function) calls empezar() first, in case something before it raised one.
inline void empezar() noexcept
{
    if (hayexcepcion())
        limpiar();
}

class Paso
{
public:
    // A step starts with the flags as the previous step left them: clear.
    Paso() noexcept = default;
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

    // Calls a routine inside the step. Once the step has failed no routine
    // is called. The flags are sticky, so the one test after the call finds
    // both an exception of the step's arithmetic before the call and one of
    // the routine itself: either way the step fails before its store.
    template <class F> double llamar(F &&rutina) noexcept
    {
        if (fallo_)
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
    template <class T> bool guardar(T &destino, T valor) noexcept
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
// finite single-precision value: beyond the single range (its conversion
// overflows to infinity), infinite or NaN (a vertical piece's slope, a sample
// of a polynomial far out). No surface ever receives such a coordinate.
//
// The values decide, not the flags: every way the coordinates' arithmetic can
// fail (overflow, division by zero, invalid operation) leaves an infinity or a
// NaN in them. The one flag test comes after the call, so that whatever the
// surface raised inside does not spill into the next step.
inline bool linea(platform::DrawSurface &pct, double x1, double y1, double x2, double y2,
                  platform::OleColor color)
{
    Paso p;
    const platform::Single a = asingle(x1);
    const platform::Single b = asingle(y1);
    const platform::Single c = asingle(x2);
    const platform::Single d = asingle(y2);
    const bool dibujable = std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
    if (dibujable)
        pct.line(a, b, c, d, color);
    return p.terminar() && dibujable;
}

// A filled circle as one step, likewise.
inline bool circulo(platform::DrawSurface &pct, double x, double y, platform::Single radio)
{
    Paso p;
    const platform::Single a = asingle(x);
    const platform::Single b = asingle(y);
    const bool dibujable = std::isfinite(a) && std::isfinite(b) && std::isfinite(radio);
    if (dibujable)
        pct.circle(a, b, radio);
    return p.terminar() && dibujable;
}

} // namespace pasoseguro

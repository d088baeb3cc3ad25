#pragma once
// The program-wide curve table shared by the main window, which fills it, and
// the chart, which reads it and writes back extents, legend positions, the
// active flag and the trimmed point array.

#include "platform/vbtypes.h"

#include <QString>
#include <array>
#include <cstddef>
#include <vector>

struct Punto {
    double x = 0.0;
    double y = 0.0;
};

// Growable array of points indexed from 1 (element i is operator()(i)).
// Copying copies the points: records never share their arrays.
class PuntoArray {
public:
    PuntoArray() = default;
    explicit PuntoArray(std::size_t n) : v_(n) {}

    // Number of elements (upper bound; the lower bound is always 1).
    int ubound() const { return static_cast<int>(v_.size()); }
    bool empty() const { return v_.empty(); }

    // Resizes to elements 1..n, keeping the values that stay.
    void redimPreserve(int n) { v_.resize(n > 0 ? static_cast<std::size_t>(n) : 0); }
    // Resizes to elements 1..n, all zero.
    void redim(int n) { v_.assign(n > 0 ? static_cast<std::size_t>(n) : 0, Punto{}); }

    Punto &operator()(int i) { return v_.at(static_cast<std::size_t>(i - 1)); }
    const Punto &operator()(int i) const { return v_.at(static_cast<std::size_t>(i - 1)); }

    Punto *data() { return v_.data(); }
    const Punto *data() const { return v_.data(); }
    std::vector<Punto> &vector() { return v_; }
    const std::vector<Punto> &vector() const { return v_; }

private:
    std::vector<Punto> v_;
};

struct Curva {
    platform::Integer activa = platform::vbFalse; // drawn only when exactly True (-1)
    platform::Integer npuntos = 0;
    platform::Integer verpuntos = 0;   // non-zero: a dot at every point
    platform::Integer tipoajuste = 0;  // TipoAjuste
    platform::Integer grado = 0;       // degree, or number of harmonics for type 7
    platform::Integer grosor = 0;      // pen width in pixels, also scales the dot radius
    platform::Integer tipolinea = 0;   // TipoLinea
    platform::Long color = 0;          // palette index 0..15
    PuntoArray puntos;
    QString leyenda;
    double posicionx = 0.0; // legend left edge in plot units; (0,0) hidden, (-1,-1) automatic
    double posiciony = 0.0; // legend top edge in plot units
    Punto minimo;
    Punto maximo;

    bool isActive() const { return platform::isTrue(activa); }
};

// Join and fit types.
enum TipoAjuste : platform::Integer {
    ajustePuntos = 0,          // points only
    ajusteSegmentos = 1,       // straight segments in point order
    ajusteSpline = 2,          // natural cubic spline
    ajustePolinomio = 3,       // interpolating polynomial
    ajusteMinimosX = 4,        // least squares in x
    ajusteMinimosSeno = 5,     // least squares in sin(2 pi x / T)
    ajusteMinimosCoseno = 6,   // least squares in cos(2 pi x / T)
    ajusteFourier = 7,         // Fourier series
};

// Line types: the pen styles.
enum TipoLinea : platform::Integer {
    lineaContinua = 0,
    lineaDiscontinua = 1,
    lineaPunteada = 2,
};

constexpr int maxCurvas = 10;

// The table of ten curves, numbered 1 to 10.
class TablaCurvas {
public:
    Curva &operator()(int i) { return c_.at(static_cast<std::size_t>(i - 1)); }
    const Curva &operator()(int i) const { return c_.at(static_cast<std::size_t>(i - 1)); }
    void reset() { c_ = {}; }

private:
    std::array<Curva, maxCurvas> c_{};
};

extern TablaCurvas curvas;

// The classic sixteen-colour palette; an index outside 0..15 gives black.
platform::OleColor qbcolor(platform::Long index);

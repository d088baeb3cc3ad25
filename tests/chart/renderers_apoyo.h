#pragma once
// Shared by the renderer tests: curves from point lists and a recording
// surface set up as a plot with y growing upward.

#include "chart/ajustes.h"
#include "chart/renderers.h"
#include "platform/recordingsurface.h"

#include <initializer_list>
#include <utility>
#include <vector>

inline Curva curvaDe(std::initializer_list<std::pair<double, double>> pts, TipoAjuste tipo, int grado = 0,
                     int verpuntos = 0)
{
    Curva c;
    c.activa = platform::vbTrue;
    c.npuntos = static_cast<platform::Integer>(pts.size());
    c.puntos.redim(c.npuntos);
    int i = 1;
    for (const auto &p : pts) {
        c.puntos(i).x = p.first;
        c.puntos(i).y = p.second;
        ++i;
    }
    c.tipoajuste = tipo;
    c.grado = static_cast<platform::Integer>(grado);
    c.verpuntos = static_cast<platform::Integer>(verpuntos);
    c.grosor = 2;
    c.tipolinea = lineaDiscontinua;
    c.color = 12;
    return c;
}

inline Curva curvaDe(const std::vector<Punto> &pts, TipoAjuste tipo, int grado = 0)
{
    Curva c;
    c.activa = platform::vbTrue;
    c.npuntos = static_cast<platform::Integer>(pts.size());
    c.puntos.redim(c.npuntos);
    for (int i = 1; i <= c.npuntos; ++i)
        c.puntos(i) = pts[static_cast<std::size_t>(i - 1)];
    c.tipoajuste = tipo;
    c.grado = static_cast<platform::Integer>(grado);
    c.grosor = 1;
    c.color = 0;
    return c;
}

// A plot box with a user scale of 10 x 10 units, y upward.
struct Lienzo {
    platform::RecordingSurface pct{500, 500};
    Tramo inicial{-7, -7, -7, -7};
    Tramo final{-9, -9, -9, -9};
    TrazoDestino destino{pct, inicial, final};

    Lienzo()
    {
        pct.setScaleTop(5);
        pct.setScaleLeft(-5);
        pct.setScaleHeight(-10);
        pct.setScaleWidth(10);
        pct.clearRecord();
    }

    void dibujar(Curva &c)
    {
        switch (c.tipoajuste) {
        case ajusteSpline:
            dibujaspline(destino, c);
            break;
        case ajustePolinomio:
            dibujapolinomio(destino, c);
            break;
        case ajusteMinimosX:
        case ajusteMinimosSeno:
        case ajusteMinimosCoseno:
            dibujaajuste(destino, static_cast<platform::Integer>(c.tipoajuste - 4), c);
            break;
        case ajusteFourier:
            dibujafourier(destino, c);
            break;
        default:
            break;
        }
    }
    std::vector<platform::DrawCall> lineas() const { return pct.lines(); }
};

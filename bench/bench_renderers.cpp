// Timing of the curve renderers: a full drawing of eight curves of 1,000
// points of the different join and fit types plus one interpolating
// polynomial of 100 points, and one spline of 32,767 points. Each is timed
// through the chart control's own drawing pass (1000 x 700 pixels), on the
// image surface of the plot, on the recording surface of the tests and on a
// surface that ignores the drawing (numerics alone).
// Run by hand: ./build/bench/bench_renderers

#include "chart/ctrgraficas.h"
#include "chart/renderers.h"
#include "platform/picturebox.h"
#include "platform/recordingsurface.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace
{

// Keeps the state of a picture box and draws nothing.
class NullSurface : public platform::RecordingSurface
{
public:
    NullSurface() : RecordingSurface(800, 600) {}
    using RecordingSurface::line;
    void line(platform::Single, platform::Single, platform::Single, platform::Single,
              platform::OleColor) override
    {
    }
    void circle(platform::Single, platform::Single, platform::Single) override {}
    void setForeColor(platform::OleColor) override {}
    void setFillColor(platform::OleColor) override {}
    void setFillStyle(int) override {}
    void setDrawWidth(int) override {}
    void setDrawStyle(int) override {}
};

Curva curva(int n, TipoAjuste tipo, int grado, int color, double fase)
{
    Curva c;
    c.activa = platform::vbTrue;
    c.npuntos = static_cast<platform::Integer>(n);
    c.puntos.redim(n);
    for (int i = 1; i <= n; ++i) {
        const double x = 10.0 * (i - 1) / (n - 1);
        c.puntos(i).x = x;
        c.puntos(i).y = std::sin(x + fase) + 0.05 * std::sin(37.0 * x);
    }
    c.tipoajuste = tipo;
    c.grado = static_cast<platform::Integer>(grado);
    c.grosor = 1;
    c.verpuntos = 1;
    c.color = color;
    return c;
}

void dibujar(TrazoDestino &d, Curva &c)
{
    switch (c.tipoajuste) {
    case ajustePuntos:
    case ajusteSegmentos:
        dibujapuntos(d, c);
        break;
    case ajusteSpline:
        dibujaspline(d, c);
        break;
    case ajustePolinomio:
        dibujapolinomio(d, c);
        break;
    case ajusteFourier:
        dibujafourier(d, c);
        break;
    default:
        dibujaajuste(d, static_cast<platform::Integer>(c.tipoajuste - 4), c);
        break;
    }
    // The dotted extensions as the drawing pass adds them.
    d.pct.setDrawStyle(platform::drawStyleDot);
    d.pct.line(-1, float(d.tramoinicial.y1), float(d.tramoinicial.x1), float(d.tramoinicial.y1),
               qbcolor(c.color));
    d.pct.line(float(d.tramofinal.x1), float(d.tramofinal.y1), 11, float(d.tramofinal.y1), qbcolor(c.color));
}

void escala(platform::DrawSurface &s)
{
    s.setScaleTop(2);
    s.setScaleLeft(-1);
    s.setScaleHeight(-4);
    s.setScaleWidth(12);
    s.cls();
}

struct Tiempo {
    double pared; // wall clock, ms
    double cpu;   // processor time of this process, ms
};

// Medians of several runs. The processor time is the steadier figure on a
// machine shared with other work.
Tiempo medir(int veces, const std::function<void()> &f)
{
    std::vector<double> t, c;
    for (int i = 0; i < veces; ++i) {
        const std::clock_t c0 = std::clock();
        const auto a = std::chrono::steady_clock::now();
        f();
        const auto b = std::chrono::steady_clock::now();
        const std::clock_t c1 = std::clock();
        t.push_back(std::chrono::duration<double, std::milli>(b - a).count());
        c.push_back(1000.0 * double(c1 - c0) / CLOCKS_PER_SEC);
    }
    std::sort(t.begin(), t.end());
    std::sort(c.begin(), c.end());
    return {t[t.size() / 2], c[c.size() / 2]};
}

void informar(const char *que, Tiempo t)
{
    std::printf("  %-24s %8.1f ms wall, %8.1f ms cpu\n", que, t.pared, t.cpu);
}

template <class Surface> Tiempo pasadaCompleta(Surface &s, std::vector<Curva> &curvas, int veces)
{
    return medir(veces, [&] {
        escala(s);
        Tramo ini, fin;
        TrazoDestino d{s, ini, fin};
        for (Curva &c : curvas)
            dibujar(d, c);
        if constexpr (std::is_same_v<Surface, platform::ImageSurface>)
            (void)s.image(); // finish any pending drawing
        if constexpr (std::is_same_v<Surface, platform::RecordingSurface>)
            s.clearRecord();
    });
}

// The chart control's drawing pass over the given curves.
Tiempo dibujaDelGrafico(const std::vector<Curva> &lista, int veces)
{
    curvas.reset();
    for (std::size_t i = 0; i < lista.size(); ++i)
        curvas(int(i) + 1) = lista[i];
    ctrgraficas chart;
    chart.UserControl_InitProperties();
    chart.setNumGraf(QString::number(lista.size()));
    chart.resize(1000, 700);
    chart.UserControl_Resize();
    chart.actualiza();
    return medir(veces, [&] {
        chart.dibuja();
        (void)chart.plotBox()->image(); // finish any pending drawing
    });
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::vector<Curva> ocho{
        curva(1000, ajustePuntos, 0, 0, 0.0),      curva(1000, ajusteSegmentos, 0, 1, 0.3),
        curva(1000, ajusteSpline, 0, 2, 0.6),      curva(1000, ajusteMinimosX, 5, 3, 0.9),
        curva(1000, ajusteMinimosSeno, 5, 4, 1.2), curva(1000, ajusteMinimosCoseno, 5, 5, 1.5),
        curva(1000, ajusteFourier, 10, 9, 1.8),    curva(1000, ajusteSpline, 0, 12, 2.1),
        curva(100, ajustePolinomio, 0, 13, 2.4),
    };
    std::vector<Curva> spline{curva(32767, ajusteSpline, 0, 12, 0.0)};

    platform::ImageSurface imagen(800, 600);
    platform::RecordingSurface grabadora(800, 600);
    NullSurface nula;

    std::printf("full drawing, 8 curves x 1000 points + polynomial of 100 points:\n");
    informar("chart dibuja 1000x700:", dibujaDelGrafico(ocho, 9));
    informar("image surface 800x600:", pasadaCompleta(imagen, ocho, 9));
    informar("recording surface:", pasadaCompleta(grabadora, ocho, 9));
    informar("numerics alone:", pasadaCompleta(nula, ocho, 9));
    std::printf("spline of 32767 points (1,638,300 pieces):\n");
    informar("chart dibuja 1000x700:", dibujaDelGrafico(spline, 5));
    informar("image surface 800x600:", pasadaCompleta(imagen, spline, 5));
    informar("recording surface:", pasadaCompleta(grabadora, spline, 5));
    informar("numerics alone:", pasadaCompleta(nula, spline, 5));
    return 0;
}

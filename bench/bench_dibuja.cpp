// Timing of the chart's drawing pass: ten curves of 32,767 points each,
// straight segments with a dot at every point, on a chart of 1000 x 700 px.
// Run: ./build/bench/bench_dibuja [passes]
// BENCH_PEN=solid1 gives every curve a solid one-pixel pen (otherwise widths
// 1 to 3 and the three line types alternate); BENCH_NODOTS=1 turns dots off;
// BENCH_POINTS=n draws n points per curve instead of 32,767 (same x range).

#include "chart/ctrgraficas.h"
#include "chart/graficos.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int passes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const int n = qEnvironmentVariableIsSet("BENCH_POINTS")
                      ? std::clamp(qEnvironmentVariableIntValue("BENCH_POINTS"), 2, 32767)
                      : 32767;

    for (int i = 1; i <= maxCurvas; ++i) {
        Curva &c = curvas(i);
        c.activa = platform::vbTrue;
        c.npuntos = platform::Integer(n);
        c.verpuntos = qEnvironmentVariableIsSet("BENCH_NODOTS") ? 0 : 1;
        c.tipoajuste = ajusteSegmentos;
        // BENCH_PEN=solid1 draws every curve solid and one pixel wide.
        const bool solid1 = qEnvironmentVariable("BENCH_PEN") == QLatin1String("solid1");
        c.grosor = platform::Integer(solid1 ? 1 : 1 + (i - 1) % 3);
        c.tipolinea = platform::Integer(solid1 ? 0 : (i - 1) % 3);
        c.color = (i * 3) % 16;
        c.posicionx = c.posiciony = -1;
        c.leyenda = QStringLiteral("curve %1").arg(i);
        c.puntos.redim(n);
        for (int j = 1; j <= n; ++j) {
            const double x = n == 32767 ? j * 0.01 : j * (327.67 / n);
            c.puntos(j) = Punto{x, std::sin(x * (0.5 + 0.1 * i)) * 10 + i * 3 + std::sin(j * 0.7) * 0.3};
        }
    }

    ctrgraficas chart;
    chart.UserControl_InitProperties();
    chart.setNumGraf(QStringLiteral("10"));
    chart.resize(1000, 700);
    chart.UserControl_Resize();
    chart.actualiza(); // extents, legend labels, a first pass

    std::vector<double> ms;
    for (int k = 0; k < passes; ++k) {
        QElapsedTimer t;
        t.start();
        chart.dibuja();
        (void)chart.plotBox()->image(); // finish what is still pending
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("dibuja, 10 curves x %d points, type 1, dots %s, pens %s, 1000x700 px, plot %dx%d px\n", n,
                curvas(1).verpuntos ? "on" : "off",
                curvas(2).grosor == 1 ? "solid 1 px" : "mixed (widths 1-3; solid, dashed, dotted)",
                chart.plotBox()->widthPx(), chart.plotBox()->heightPx());
    std::printf("passes %d: min %.1f ms, median %.1f ms, mean %.1f ms, max %.1f ms\n", passes, ms.front(),
                ms[ms.size() / 2], sum / double(ms.size()), ms.back());
    return 0;
}

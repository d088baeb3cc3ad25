// Timing of one rubber-band move on the chart: ten curves of 32,767 points
// each drawn on a shown chart of 1000 x 700 px, the left button held on the
// plot, then pointer moves. Each move is timed twice: the handler alone (the
// event as the plot receives it) and the handler with the repaint it causes.
// Wall-clock time and the thread's processor time are both given: on a busy
// machine the first includes waits for the processor. A drawing pass is timed
// too, for comparison.
// Run: ./build/bench/bench_rubberband [moves]

#include "chart/ctrgraficas.h"
#include "chart/graficos.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace
{

void enviar(QWidget *w, QEvent::Type tipo, QPoint pos, Qt::MouseButton boton, Qt::MouseButtons botones)
{
    QMouseEvent me(tipo, QPointF(pos), QPointF(w->mapToGlobal(pos)), boton, botones, Qt::NoModifier);
    QApplication::sendEvent(w, &me);
}

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void informe(const char *que, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    const double p95 = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
    std::printf("%-34s median %7.3f ms   p95 %7.3f ms   max %7.3f ms   (%zu)\n", que, median, p95, ms.back(),
                ms.size());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
    const int n = 32767;

    for (int i = 1; i <= maxCurvas; ++i) {
        Curva &c = curvas(i);
        c.activa = platform::vbTrue;
        c.npuntos = platform::Integer(n);
        c.verpuntos = 1;
        c.tipoajuste = ajusteSegmentos;
        c.grosor = platform::Integer(1 + (i - 1) % 3);
        c.tipolinea = platform::Integer((i - 1) % 3);
        c.color = (i * 3) % 16;
        c.posicionx = c.posiciony = -1;
        c.leyenda = QStringLiteral("curve %1").arg(i);
        c.puntos.redim(n);
        for (int j = 1; j <= n; ++j) {
            const double x = j * 0.01;
            c.puntos(j) = Punto{x, std::sin(x * (0.5 + 0.1 * i)) * 10 + i * 3 + std::sin(j * 0.7) * 0.3};
        }
    }

    ctrgraficas chart;
    chart.UserControl_InitProperties();
    chart.setNumGraf(QStringLiteral("10"));
    chart.resize(1000, 700);
    chart.show();
    chart.actualiza();
    QApplication::processEvents();

    QWidget *plot = chart.plotBox();
    const QRect r = chart.plotBox()->innerRect();

    std::vector<double> pase;
    for (int k = 0; k < 5; ++k) {
        QElapsedTimer t;
        t.start();
        chart.dibuja();
        (void)chart.plotBox()->image();
        pase.push_back(t.nsecsElapsed() / 1e6);
    }

    const QPoint desde = r.topLeft() + QPoint(r.width() / 5, r.height() / 5);
    enviar(plot, QEvent::MouseButtonPress, desde, Qt::LeftButton, Qt::LeftButton);
    std::vector<double> manejador, conPintado, cpuManejador, cpuConPintado;
    for (int k = 0; k < moves; ++k) {
        // The pointer wanders over most of the plot, so boxes of all sizes occur.
        const double a = k * 0.05;
        const QPoint p = r.topLeft() + QPoint(int(r.width() * (0.5 + 0.45 * std::cos(a))),
                                              int(r.height() * (0.5 + 0.45 * std::sin(1.3 * a))));
        QElapsedTimer t;
        const double c0 = cpuMs();
        t.start();
        enviar(plot, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
        const double h = t.nsecsElapsed() / 1e6;
        const double c1 = cpuMs();
        plot->repaint();
        const double hp = t.nsecsElapsed() / 1e6;
        const double c2 = cpuMs();
        manejador.push_back(h);
        conPintado.push_back(hp);
        cpuManejador.push_back(c1 - c0);
        cpuConPintado.push_back(c2 - c0);
    }
    enviar(plot, QEvent::MouseButtonRelease, desde, Qt::LeftButton, Qt::NoButton); // zero span: no redraw

    std::printf("ten curves x %d points, plot %d x %d px\n", n, r.width(), r.height());
    informe("drawing pass (for comparison)", pase);
    informe("rubber-band move, handler", manejador);
    informe("rubber-band move, with repaint", conPintado);
    informe("  same, processor time, handler", cpuManejador);
    informe("  same, processor time, w/ repaint", cpuConPintado);
    return 0;
}

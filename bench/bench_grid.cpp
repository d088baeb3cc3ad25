// Timing of the point grids with the largest curves the program takes:
// filling a grid, reading it back, deleting rows, and handing ten full curves
// to the chart.
//   ./build/bench/bench_grid
#include "app/principal.h"
#include "idiomabench.h"
#include "chart/ctrgraficas.h"
#include "chart/graficos.h"
#include "language/idiomas.h"
#include "platform/flexgrid.h"
#include "platform/programfolder.h"
#include "platform/updown.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QToolButton>
#include <cmath>
#include <cstdio>

namespace
{

constexpr int maxPoints = 32767;

double ms(QElapsedTimer &t)
{
    const double v = static_cast<double>(t.nsecsElapsed()) / 1e6;
    t.restart();
    return v;
}

void fill(platform::FlexGrid &grid, int phase)
{
    grid.setRows(maxPoints + 1);
    for (int r = 1; r <= maxPoints; ++r) {
        const double x = r * 0.001;
        grid.setTextMatrix(r, 0, QString::number(r));
        grid.setTextMatrix(r, 1, QString::number(x, 'g', 15));
        grid.setTextMatrix(r, 2, QString::number(std::sin(x + phase), 'g', 15));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    usaridiomaconstruido();

    {
        platform::FlexGrid grid(1, 1, 3);
        grid.resize(300, 400);
        grid.show();
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        fill(grid, 0);
        QApplication::processEvents();
        std::printf("fill one grid, %d rows of 3 cells:        %8.1f ms\n", maxPoints, ms(t));
        double sum = 0;
        for (int r = 1; r <= maxPoints; ++r)
            sum += grid.TextMatrix(r, 1).size() + grid.TextMatrix(r, 2).size();
        std::printf("read every x and y cell:                    %8.1f ms (%g)\n", ms(t), sum);
        grid.setRow(2);
        grid.RemoveItem(2);
        std::printf("remove one row near the top:                %8.1f ms\n", ms(t));
        grid.setRows(1);
        QApplication::processEvents();
        std::printf("drop all rows:                              %8.1f ms\n", ms(t));
    }

    // The main window with ten full curves, drawn as straight segments.
    principal &p = formprincipal();
    p.Form_Load();
    p.show();
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < numpestanas; ++i) {
        if (i > 0)
            p.spinner()->upButton()->click();
        fill(*p.MSFdata[static_cast<std::size_t>(i)], i);
        p.CMBunir[static_cast<std::size_t>(i)]->setCurrentIndex(1);
    }
    QApplication::processEvents();
    std::printf("fill ten grids through the window:          %8.1f ms\n", ms(t));

    // Deleting a row renumbers the whole grid through the current cell.
    p.MSFdata[0]->setRow(5);
    p.BTdelete_Click(0);
    QApplication::processEvents();
    std::printf("delete a row of a full grid (renumbering):  %8.1f ms\n", ms(t));
    p.BTadd_Click(0);
    QApplication::processEvents();
    t.restart();

    p.dibujargraficas();
    const double total = ms(t);
    QApplication::processEvents();
    const double paint = ms(t);
    p.chart()->actualiza();
    const double chart = ms(t);
    std::printf("hand ten curves of %d points to the chart: %8.1f ms (then painting %.1f ms)\n", maxPoints,
                total, paint);
    std::printf("  of which the chart's own redraw about:    %8.1f ms\n", chart);
    std::printf("  curves handed over: %s, last x of curve 10: %g\n", qPrintable(p.chart()->NumGraf()),
                curvas(10).puntos(curvas(10).npuntos).x);
    return 0;
}

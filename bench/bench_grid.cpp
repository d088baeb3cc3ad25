// Timing of the point grid with the largest curves the program takes.
//   ./build/bench/bench_grid
#include "platform/flexgrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

constexpr int maxPoints = 32767;

double ms(QElapsedTimer &t)
{
    const double v = t.nsecsElapsed() / 1e6;
    t.restart();
    return v;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    platform::FlexGrid grid(1, 1, 3);
    grid.resize(300, 400);
    grid.show();
    QApplication::processEvents();

    QElapsedTimer t;
    t.start();
    grid.setRows(maxPoints + 1);
    for (int r = 1; r <= maxPoints; ++r) {
        grid.setTextMatrix(r, 0, QString::number(r));
        grid.setTextMatrix(r, 1, QString::number(r * 0.001, 'g', 15));
        grid.setTextMatrix(r, 2, QString::number(r * 0.5, 'g', 15));
    }
    QApplication::processEvents();
    std::printf("fill %d rows (3 cells each):            %8.1f ms\n", maxPoints, ms(t));

    double sum = 0;
    for (int r = 1; r <= maxPoints; ++r)
        sum += grid.TextMatrix(r, 1).size() + grid.TextMatrix(r, 2).size();
    std::printf("read every x and y cell:                 %8.1f ms (%g)\n", ms(t), sum);

    // Renumbering every row through the current cell, as a row deletion does.
    for (int r = 1; r < grid.Rows(); ++r) {
        grid.setRow(r);
        grid.setCol(0);
        grid.setCellAlignment(4);
        grid.setTextMatrix(r, 0, QString::number(r));
    }
    QApplication::processEvents();
    std::printf("renumber through the current cell:       %8.1f ms\n", ms(t));

    grid.RemoveItem(2);
    std::printf("remove one row near the top:             %8.1f ms\n", ms(t));
    grid.setRows(1);
    QApplication::processEvents();
    std::printf("drop all rows:                           %8.1f ms\n", ms(t));
    return 0;
}

// Timing of the workbook service on the largest block of cells the import
// meets: the 32,768-row fixture (open, block around A1, every cell text of
// columns A and B, close and quit).
//   ./build/bench/bench_workbook [file.xls]
#include "platform/vberror.h"
#include "platform/workbook.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

namespace {

double ms(QElapsedTimer &t)
{
    const double v = static_cast<double>(t.nsecsElapsed()) / 1e6;
    t.restart();
    return v;
}

} // namespace

int main(int argc, char **argv)
{
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QFileInfo(QStringLiteral(__FILE__)).dir().filePath(
                                        QStringLiteral("../tests/fixtures/workbook/rows-32768.xls"));
    constexpr int runs = 5;
    double open = 0, region = 0, texts = 0, close = 0;
    int rows = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        platform::SpreadsheetApp app;
        auto book = app.openWorkbook(file);
        const platform::Worksheet sheet = book->activeSheet();
        open += ms(t);
        rows = sheet.currentRegion().rows;
        region += ms(t);
        qsizetype chars = 0;
        for (int k = 1; k <= rows; ++k)
            chars += sheet.cellText(k, 1).size() + sheet.cellText(k, 2).size();
        texts += ms(t);
        app.quit();
        close += ms(t);
        if (chars == 0)
            std::printf("no text read\n");
    }
    std::printf("workbook %s, %d rows, mean of %d runs:\n", qPrintable(QFileInfo(file).fileName()), rows, runs);
    std::printf("  open (own reading + FreeXL)   %8.2f ms\n", open / runs);
    std::printf("  block around A1               %8.2f ms\n", region / runs);
    std::printf("  cell texts of columns A and B %8.2f ms\n", texts / runs);
    std::printf("  close and quit                %8.2f ms\n", close / runs);
    return 0;
}

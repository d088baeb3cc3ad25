// Timing of opening a data file of ten curves and drawing it, at a given
// number of points per curve (the files are made once in the temporary
// folder and kept): the plain file opened, the Draw command that
// follows (hand-over of the cells and the chart's redraw), and the keyed file
// of the same points opened. Each figure is the median of the runs.
//   ./build/bench/bench_abrir [points] [runs]
// For the peak memory of one open and one Draw, under /usr/bin/time -v:
//   ./build/bench/bench_abrir 32767 1 plain   (open the plain file, draw, quit)
//   ./build/bench/bench_abrir 32767 1 keyed   (the same with the keyed file)
//   ./build/bench/bench_abrir 32767 1 empty   (the window alone)
// The runs repeat the open (plain, keyed) or the Draw (draw), for a profiler:
//   perf record ./build/bench/bench_abrir 32767 20 draw
#include "app/principal.h"
#include "idiomabench.h"
#include "chart/ctrgraficas.h"
#include "language/idiomas.h"
#include "platform/commondialog.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

namespace
{

// Wall-clock time and the process's processor time since the last call: on
// a busy machine the second says more about the program's own work.
struct Reloj {
    QElapsedTimer t;
    double cpu0 = 0;
    static double cpu()
    {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    }
    void start()
    {
        t.start();
        cpu0 = cpu();
    }
    // Milliseconds of wall-clock and processor time.
    std::pair<double, double> ms()
    {
        const double pared = static_cast<double>(t.nsecsElapsed()) / 1e6;
        const double c = cpu();
        const std::pair<double, double> r{pared, c - cpu0};
        start();
        return r;
    }
};

struct Medida {
    std::vector<double> pared, cpu;
    void operator+=(std::pair<double, double> v)
    {
        pared.push_back(v.first);
        cpu.push_back(v.second);
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// The numbers as the program writes them back: 15 significant digits.
QByteArray numero(double v)
{
    return QByteArray::number(v, 'g', 15);
}

QByteArray plainFile(int points)
{
    QByteArray out = "Bench\r\nX\r\nY\r\n";
    for (int c = 0; c < 10; ++c) {
        out += "curve " + QByteArray::number(c + 1) + "\r\n-1  -1\r\n";
        out += QByteArray::number(points) + "  1  1  1  0  " + QByteArray::number(c) + "\r\n";
        for (int j = 1; j <= points; ++j) {
            const double x = j * 0.001;
            out += numero(x) + "   " + numero(std::sin(x + c)) + "\r\n";
        }
    }
    return out + "fin\r\n";
}

QByteArray keyedFile(int points)
{
    QByteArray out = "[GENERAL]\r\nTITLE=Bench\r\nNAME X AXE=X\r\nNAME Y AXE=Y\r\n";
    for (int c = 0; c < 10; ++c) {
        out += "[CURVE " + QByteArray::number(c + 1) + "]\r\nTITLE=c\r\nPOSITION X=-1\r\nPOSITION Y=-1\r\n";
        out += "N POINTS=" + QByteArray::number(points) + "\r\nPLOT POINTS=1\r\nTYPE OF FIT=1\r\n";
        out += "RANGE OF FIT=1\r\nLINE THICKNESS=1\r\nLINE TYPE=0\r\nLINE COLOUR=" + QByteArray::number(c) +
               "\r\n";
        for (int j = 1; j <= points; ++j) {
            const double x = j * 0.001;
            out += "X(" + QByteArray::number(j) + ")=" + numero(x) + "\r\n";
            out += "Y(" + QByteArray::number(j) + ")=" + numero(std::sin(x + c)) + "\r\n";
        }
    }
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int points = argc > 1 ? std::clamp(std::atoi(argv[1]), 2, 32767) : 32767;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const char *only = argc > 3 ? argv[3] : "";

    // The files are kept in the temporary folder between runs, so that a
    // memory run measures the program and not the making of the file.
    const QDir dir(QDir::tempPath());
    usaridiomaconstruido();

    principal &p = formprincipal();
    p.Form_Load();
    p.show();
    QApplication::processEvents();
    platform::ScriptedMsgBox box;
    platform::ScriptedFileDialog dlg;

    const QString plain = dir.filePath(QStringLiteral("bench_abrir_plain_%1.dat").arg(points));
    const QString keyed = dir.filePath(QStringLiteral("bench_abrir_keyed_%1.dat").arg(points));
    if (!QFile::exists(plain))
        write(plain, plainFile(points));
    if (!QFile::exists(keyed))
        write(keyed, keyedFile(points));

    const auto abrir = [&](const QString &fichero) {
        dlg.answers << fichero;
        p.abrir();
        QApplication::processEvents();
    };
    const auto dibujar = [&]() {
        p.dibujargraficas();
        QApplication::processEvents();
    };

    if (std::strcmp(only, "empty") == 0)
        return 0;
    if (std::strcmp(only, "plain") == 0 || std::strcmp(only, "keyed") == 0 || std::strcmp(only, "draw") == 0) {
        const bool dibujos = std::strcmp(only, "draw") == 0;
        for (int r = 0; r < (dibujos ? 1 : runs); ++r)
            abrir(std::strcmp(only, "keyed") == 0 ? keyed : plain);
        for (int r = 0; r < (dibujos ? runs : 1); ++r)
            dibujar();
        std::printf("%s curves, %lld messages\n", qPrintable(p.curvecount()->text()),
                    static_cast<long long>(box.shown.size()));
        return 0;
    }

    Medida abrirplano, dibujo, entrega, redibujo, abririni;
    Reloj t;
    for (int r = 0; r < runs; ++r) {
        p.nuevofichero();
        QApplication::processEvents();
        t.start();
        abrir(plain);
        abrirplano += t.ms();

        p.dibujargraficas();
        const auto mando = t.ms();
        QApplication::processEvents();
        const auto pintar = t.ms();
        dibujo += {mando.first + pintar.first, mando.second + pintar.second};
        // The chart's own redraw, timed again on its own: the rest of the
        // command is the hand-over of the cells.
        p.chart()->actualiza();
        const auto grafico = t.ms();
        redibujo += grafico;
        entrega += {std::max(0.0, mando.first - grafico.first), std::max(0.0, mando.second - grafico.second)};

        p.nuevofichero();
        QApplication::processEvents();
        t.start();
        abrir(keyed);
        abririni += t.ms();
    }
    std::printf("10 curves x %d points, medians of %d runs      wall ms   cpu ms\n", points, runs);
    const auto linea = [](const char *que, const Medida &m) {
        std::printf("%-46s %8.1f %8.1f\n", que, median(m.pared), median(m.cpu));
    };
    linea("open a plain file:", abrirplano);
    linea("Draw after opening:", dibujo);
    linea("  hand-over of the cells:", entrega);
    linea("  chart redraw:", redibujo);
    std::printf("%-46s %8.1f %8.1f\n", "open + draw:", median(abrirplano.pared) + median(dibujo.pared),
                median(abrirplano.cpu) + median(dibujo.cpu));
    linea("open a keyed file:", abririni);
    std::printf("curves: %s, messages shown: %lld\n", qPrintable(p.curvecount()->text()),
                static_cast<long long>(box.shown.size()));
    return 0;
}

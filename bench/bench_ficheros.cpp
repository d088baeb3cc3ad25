// Timing of the data files and the text import with the largest curves the
// program takes: opening and saving a plain file of ten curves of 32,767
// points, a text import of 32,767 lines, and a keyed file of ten curves of
// 1,000 points.
//   ./build/bench/bench_ficheros
#include "app/principal.h"
#include "idiomabench.h"
#include "language/idiomas.h"
#include "platform/commondialog.h"
#include "platform/flexgrid.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
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

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

QByteArray plainFile()
{
    QByteArray out = "Bench\r\nX\r\nY\r\n";
    for (int c = 0; c < 10; ++c) {
        out += "curve " + QByteArray::number(c + 1) + "\r\n-1  -1\r\n";
        out += QByteArray::number(maxPoints) + "  1  1  1  0  " + QByteArray::number(c) + "\r\n";
        for (int j = 1; j <= maxPoints; ++j) {
            const double x = j * 0.001;
            out += QByteArray::number(x, 'g', 15) + "   " + QByteArray::number(std::sin(x + c), 'g', 15) + "\r\n";
        }
    }
    return out + "fin\r\n";
}

QByteArray keyedFile(int points)
{
    QByteArray out = "[GENERAL]\r\nTITLE=Bench\r\nNAME X AXE=X\r\nNAME Y AXE=Y\r\n";
    for (int c = 1; c <= 10; ++c) {
        out += "[CURVE " + QByteArray::number(c) + "]\r\nTITLE=c\r\nPOSITION X=-1\r\nPOSITION Y=-1\r\n";
        out += "N POINTS=" + QByteArray::number(points) + "\r\nPLOT POINTS=1\r\nTYPE OF FIT=1\r\n";
        out += "RANGE OF FIT=1\r\nLINE THICKNESS=1\r\nLINE TYPE=0\r\nLINE COLOUR=2\r\n";
        for (int j = 1; j <= points; ++j) {
            out += "X(" + QByteArray::number(j) + ")=" + QByteArray::number(j * 0.5) + "\r\n";
            out += "Y(" + QByteArray::number(j) + ")=" + QByteArray::number(std::cos(j * 0.5)) + "\r\n";
        }
    }
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    usaridiomaconstruido();

    principal &p = formprincipal();
    p.show();
    QApplication::processEvents();
    platform::ScriptedMsgBox box;
    platform::ScriptedFileDialog dlg;

    const QString plain = dir.filePath(QStringLiteral("plain.dat"));
    write(plain, plainFile());
    QElapsedTimer t;
    t.start();
    dlg.answers << plain;
    p.abrir();
    QApplication::processEvents();
    std::printf("open a plain file, 10 curves x %d points:   %8.1f ms (%s curves)\n", maxPoints, ms(t),
                qPrintable(p.curvecount()->text()));
    p.nuevofichero();
    QApplication::processEvents();
    t.restart();
    dlg.answers << plain;
    p.abrirfichero();
    std::printf("  of which reading the file into the tabs:   %8.1f ms\n", ms(t));
    QApplication::processEvents();
    std::printf("  and showing the window afterwards:         %8.1f ms\n", ms(t));

    const QString saved = dir.filePath(QStringLiteral("saved.dat"));
    dlg.answers << saved;
    p.guardarfichero();
    std::printf("save it again:                               %8.1f ms (%lld bytes)\n", ms(t),
                static_cast<long long>(QFile(saved).size()));

    QByteArray text;
    for (int j = 1; j <= maxPoints; ++j)
        text += QByteArray::number(j * 0.25) + "," + QByteArray::number(std::sin(j * 0.25), 'g', 15) + "\r\n";
    const QString txt = dir.filePath(QStringLiteral("points.txt"));
    write(txt, text);
    p.nuevofichero();
    QApplication::processEvents();
    t.restart();
    dlg.answers << txt;
    p.BTimport_Click(0);
    QApplication::processEvents();
    std::printf("text import of %d lines:                  %8.1f ms (%d rows)\n", maxPoints, ms(t),
                p.MSFdata[0]->Rows() - 1);

    const QString keyed = dir.filePath(QStringLiteral("keyed.dat"));
    write(keyed, keyedFile(1000));
    p.nuevofichero();
    QApplication::processEvents();
    t.restart();
    dlg.answers << keyed;
    p.abrir();
    QApplication::processEvents();
    std::printf("open a keyed file, 10 curves x 1000 points:  %8.1f ms (%s curves)\n", ms(t),
                qPrintable(p.curvecount()->text()));
    write(keyed, keyedFile(maxPoints));
    p.nuevofichero();
    QApplication::processEvents();
    t.restart();
    dlg.answers << keyed;
    p.abrir();
    QApplication::processEvents();
    std::printf("open a keyed file, 10 curves x %d points: %8.1f ms\n", maxPoints, ms(t));
    std::printf("messages shown: %lld\n", static_cast<long long>(box.shown.size()));
    return 0;
}

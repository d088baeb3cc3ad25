// Peak memory of the readers on a 400 MB file: a text import into a curve
// tab (which stops at the grid's limit of 32,767 points) and the opening of
// a plain ".dat" file of ten full curves followed by more point lines. Each
// case runs in a process of its own under /usr/bin/time -v; the figure is its
// maximum resident set size against that of the same program that only
// shows its window. The files are made in /tmp and removed at the end.
//   ./build/bench/bench_memoria [runs] [megabytes]
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
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

constexpr int maxPoints = 32767;

// Lines of points up to `bytes`, written a block at a time.
bool writePoints(QFile &f, qint64 bytes)
{
    QByteArray block;
    qint64 j = 0;
    while (f.size() < bytes) {
        block.clear();
        while (block.size() < (1 << 20)) {
            ++j;
            block += QByteArray::number(j * 0.001, 'g', 12) + "," +
                     QByteArray::number(std::sin(j * 0.001), 'g', 15) + "\r\n";
        }
        if (f.write(block) != block.size())
            return false;
    }
    return f.flush();
}

bool makeText(const QString &path, qint64 bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && writePoints(f, bytes);
}

bool makePlain(const QString &path, qint64 bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray head = "Bench\r\nX\r\nY\r\n";
    for (int c = 0; c < 10; ++c) {
        head += "curve " + QByteArray::number(c + 1) + "\r\n-1  -1\r\n";
        head += QByteArray::number(maxPoints) + "  1  1  1  0  " + QByteArray::number(c) + "\r\n";
        for (int j = 1; j <= maxPoints; ++j)
            head += QByteArray::number(j * 0.001) + "   " + QByteArray::number(std::cos(j * 0.001 + c), 'g', 15) + "\r\n";
    }
    head += "fin\r\n";
    return f.write(head) == head.size() && writePoints(f, bytes);
}

// The child: the main window, then one reader on the file.
int child(const QString &mode, const QString &file)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    int argc = 1;
    char name[] = "bench_memoria";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    usaridiomaconstruido();
    principal &p = formprincipal();
    p.show();
    QApplication::processEvents();
    platform::ScriptedMsgBox box;
    platform::ScriptedFileDialog dlg;
    QElapsedTimer t;
    t.start();
    if (mode == QLatin1String("text")) {
        dlg.answers << file;
        p.BTimport_Click(0);
    } else if (mode == QLatin1String("plain")) {
        dlg.answers << file;
        p.abrirfichero();
    }
    QApplication::processEvents();
    std::printf("%.1f %d %lld\n", static_cast<double>(t.nsecsElapsed()) / 1e6, p.MSFdata[0]->Rows() - 1,
                static_cast<long long>(box.shown.size()));
    return 0;
}

struct Run {
    double peakMb = 0;
    double ms = 0;
    QString answer;
};

bool runChild(const QString &mode, const QString &file, Run &r)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/time"),
            {QStringLiteral("-v"), QCoreApplication::applicationFilePath(), QStringLiteral("--child"), mode, file});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return false;
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    const auto m = QRegularExpression(QStringLiteral("Maximum resident set size \\(kbytes\\): (\\d+)")).match(err);
    if (!m.hasMatch())
        return false;
    r.peakMb = m.captured(1).toDouble() / 1024.0;
    r.answer = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    r.ms = r.answer.section(QLatin1Char(' '), 0, 0).toDouble();
    return true;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return child(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const qint64 megabytes = argc > 2 ? std::max(1, atoi(argv[2])) : 400;
    const QString base = QStringLiteral("/tmp/curvexa-bench-%1").arg(QCoreApplication::applicationPid());
    const QString text = base + QStringLiteral(".txt");
    const QString plain = base + QStringLiteral(".dat");
    int status = 0;
    if (!makeText(text, megabytes << 20) || !makePlain(plain, megabytes << 20)) {
        std::fprintf(stderr, "cannot write the files in /tmp\n");
        status = 1;
    }

    struct Case {
        const char *label;
        QString mode;
        QString file;
        std::vector<double> peaks, times;
        QString answer;
    };
    std::vector<Case> cases{{"empty program (window shown)", QStringLiteral("empty"), QString(), {}, {}, {}},
                            {"text import", QStringLiteral("text"), text, {}, {}, {}},
                            {"plain .dat open", QStringLiteral("plain"), plain, {}, {}, {}}};
    for (int i = 0; i < runs && status == 0; ++i) {
        for (Case &c : cases) {
            Run r;
            if (!runChild(c.mode, c.file, r)) {
                std::fprintf(stderr, "run %d of %s failed\n", i, c.label);
                status = 1;
                break;
            }
            c.peaks.push_back(r.peakMb);
            c.times.push_back(r.ms);
            c.answer = r.answer;
        }
    }
    if (status == 0) {
        std::printf("files: %lld MB each (text %lld bytes, plain %lld bytes); %d runs, medians\n",
                    static_cast<long long>(megabytes), static_cast<long long>(QFile(text).size()),
                    static_cast<long long>(QFile(plain).size()), runs);
        const double empty = median(cases[0].peaks);
        for (const Case &c : cases) {
            const double peak = median(c.peaks);
            const auto [lo, hi] = std::minmax_element(c.peaks.begin(), c.peaks.end());
            std::printf("%-30s peak %7.1f MB (min %.1f, max %.1f)  above empty %6.1f MB  read %8.1f ms  [%s]\n",
                        c.label, peak, *lo, *hi, peak - empty, median(c.times), qPrintable(c.answer));
        }
        std::printf("[ms, rows of tab 1, messages shown]\n");
    }
    QFile::remove(text);
    QFile::remove(plain);
    return status;
}

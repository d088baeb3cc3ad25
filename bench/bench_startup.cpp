// Start-up time: from the start of the process to the end of the main
// window's load step (the splash's load step, which creates and loads the
// main window hidden). Each run is a fresh process, so the figures include
// loading the libraries, the platform plugin and the fonts.
//
//   ./build/bench/bench_startup [runs]       (default 15)
//
// Runs with the platform given by QT_QPA_PLATFORM (xvfb-run for a real X
// server). The language file is the shipped one, in a temporary folder.

#include "app/frmSplash.h"
#include "app/principal.h"
#include "language/idiomas.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

int child(int argc, char **argv, const char *folder)
{
    QElapsedTimer t;
    t.start();
    QApplication app(argc, argv);
    const qint64 appReady = t.nsecsElapsed();
    platform::setProgramFolder(QString::fromLocal8Bit(folder));
    auto *splash = new frmSplash;
    splash->Form_Load();
    const qint64 loaded = t.nsecsElapsed();
    splash->show();
    QCoreApplication::processEvents();
    const qint64 shown = t.nsecsElapsed();
    std::printf("%lld %lld %lld\n", static_cast<long long>(appReady), static_cast<long long>(loaded),
                static_cast<long long>(shown));
    std::fflush(stdout);
    return formprincipalexistente() && formprincipalexistente()->loaded() ? 0 : 1;
}

struct Stats {
    std::vector<double> v;
    void add(double x) { v.push_back(x); }
    double at(double q)
    {
        std::sort(v.begin(), v.end());
        return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return child(argc, argv, argv[2]);

    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
    QCoreApplication core(argc, argv);
    QTemporaryDir dir;
    {
        QFile f(dir.filePath(QStringLiteral("idioma.lng")));
        if (!f.open(QIODevice::WriteOnly) || f.write(ficheroidiomaoriginal()) <= 0) {
            std::fprintf(stderr, "cannot write the language file\n");
            return 1;
        }
    }

    Stats wall, inproc, app, shown;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), dir.path()});
        if (!p.waitForReadyRead(30000)) {
            std::fprintf(stderr, "run %d: no answer\n", i);
            return 1;
        }
        const double toLoaded = static_cast<double>(t.nsecsElapsed()) / 1e6;
        const QList<QByteArray> parts = p.readAll().trimmed().split(' ');
        p.waitForFinished(30000);
        if (parts.size() != 3 || p.exitCode() != 0) {
            std::fprintf(stderr, "run %d: bad answer\n", i);
            return 1;
        }
        app.add(parts[0].toDouble() / 1e6);
        inproc.add(parts[1].toDouble() / 1e6);
        shown.add(parts[2].toDouble() / 1e6);
        wall.add(toLoaded);
    }
    std::printf("runs: %d (platform %s)\n", runs,
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "default" : qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("%-52s %8s %8s %8s\n", "ms", "min", "median", "max");
    auto row = [](const char *name, Stats &s) {
        std::printf("%-52s %8.1f %8.1f %8.1f\n", name, s.at(0), s.at(0.5), s.at(1));
    };
    row("main() to QApplication ready", app);
    row("main() to main window loaded (splash load step)", inproc);
    row("main() to splash shown", shown);
    row("process launch to splash shown (wall)", wall);
    return 0;
}

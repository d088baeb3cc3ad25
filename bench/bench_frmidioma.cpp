// Times the language editor on a full language file: eight languages of 107
// texts each. Opening (load into the grid), one edit and a save, and the
// refilled language menu. Then the opening alone on two large files, 1,000
// languages of 107 texts and 10,000 languages of 2 (medians of five runs).
// Run by hand: ./build/bench/bench_frmidioma
#include "language/frmIdioma.h"
#include "language/idiomas.h"
#include "platform/flexgrid.h"
#include "platform/programfolder.h"
#include "platform/textfile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

// Writes a language file of `languages` sections of `texts` texts each and
// loads its language list.
void writeLanguageFile(int languages, int texts)
{
    QStringList lines{QStringLiteral("[idioma]"), QStringLiteral("idioma=L1"), QString()};
    for (int l = 1; l <= languages; ++l) {
        lines << QStringLiteral("[L%1]").arg(l);
        for (int id = 1; id <= texts; ++id)
            lines << QStringLiteral("%1=Language %2, text number %1, with some words ñ é").arg(id).arg(l);
        lines << QString();
    }
    platform::writeLinesAtomic(ficheroidioma, lines);
    cargaridiomas();
}

// Opens the editor (load and first paint) and closes it; the opening time.
double openAndClose()
{
    QElapsedTimer t;
    t.start();
    frmIdioma &e = formidioma();
    e.show();
    QCoreApplication::processEvents();
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    e.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    platform::setProgramFolder(dir.path());
    ficheroidioma = dir.filePath(QStringLiteral("idioma.lng"));

    writeLanguageFile(8, 107);

    const int rounds = 20;
    double loadMs = 0, saveMs = 0, closeMs = 0;
    QElapsedTimer t;
    for (int i = 0; i < rounds; ++i) {
        t.start();
        frmIdioma &e = formidioma();
        e.show();
        QCoreApplication::processEvents();
        loadMs += t.nsecsElapsed() / 1e6;

        e.grid()->setRow(50);
        e.grid()->setCol(3);
        e.MSFlexIdiomas_Click();
        e.editor()->setText(QStringLiteral("edited %1").arg(i));
        t.restart();
        e.btguardar_Click();
        saveMs += t.nsecsElapsed() / 1e6;

        t.restart();
        e.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        closeMs += t.nsecsElapsed() / 1e6;
    }
    std::printf("language file: %lld bytes, 8 languages x 107 texts\n",
                static_cast<long long>(QFile(ficheroidioma).size()));
    std::printf("open the editor (load and first paint): %.2f ms\n", loadMs / rounds);
    std::printf("save the whole file: %.2f ms\n", saveMs / rounds);
    std::printf("close: %.2f ms\n", closeMs / rounds);

    const int sizes[][2] = {{1000, 107}, {10000, 2}};
    for (const auto &size : sizes) {
        writeLanguageFile(size[0], size[1]);
        std::vector<double> times;
        for (int i = 0; i < 5; ++i)
            times.push_back(openAndClose());
        std::sort(times.begin(), times.end());
        std::printf("open the editor on %d languages x %d texts (%lld bytes): median %.1f ms (min %.1f, max %.1f)\n",
                    size[0], size[1], static_cast<long long>(QFile(ficheroidioma).size()), times[2], times.front(),
                    times.back());
    }
    return 0;
}

// Times the language editor on a full language file: eight languages of 107
// texts each. Opening (load into the grid), one edit and a save, and the
// refilled language menu. Run by hand: ./build/bench/bench_frmidioma
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

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    platform::setProgramFolder(dir.path());
    ficheroidioma = dir.filePath(QStringLiteral("idioma.lng"));

    QStringList lines{QStringLiteral("[idioma]"), QStringLiteral("idioma=L1"), QString()};
    for (int l = 1; l <= 8; ++l) {
        lines << QStringLiteral("[L%1]").arg(l);
        for (int id = 1; id <= 107; ++id)
            lines << QStringLiteral("%1=Language %2, text number %1, with some words ñ é").arg(id).arg(l);
        lines << QString();
    }
    platform::writeLinesAtomic(ficheroidioma, lines);
    cargaridiomas();

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
    return 0;
}

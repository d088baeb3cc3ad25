// Times language-text lookups and one rewrite on a language file of four
// languages with 107 identifiers each. Run by hand: ./build/bench/bench_ini
#include "language/ini.h"
#include "platform/programfolder.h"
#include "platform/textfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    platform::setProgramFolder(dir.path());
    const QString file = dir.filePath(QStringLiteral("idioma.lng"));

    const QStringList languages{QStringLiteral("Español"), QStringLiteral("English"), QStringLiteral("Français"),
                                QStringLiteral("Deutsch")};
    QStringList lines{QStringLiteral("[idioma]"), QStringLiteral("idioma=Deutsch"), QString()};
    for (const QString &lang : languages) {
        lines << QStringLiteral("[%1]").arg(lang);
        for (int id = 1; id <= 107; ++id)
            lines << QStringLiteral("%1=%2 text number %1, with some words ñ é").arg(id).arg(lang);
        lines << QString();
    }
    platform::writeLinesAtomic(file, lines);
    std::printf("language file: %lld bytes, %lld lines\n", static_cast<long long>(QFile(file).size()),
                static_cast<long long>(lines.size()));

    const int lookups = 10000;
    QElapsedTimer t;
    t.start();
    qsizetype chars = 0;
    for (int i = 0; i < lookups; ++i) {
        const QString &lang = languages[i % languages.size()];
        chars += leerini(file, lang, QString::number(i % 107 + 1)).size();
    }
    const double lookupMs = t.nsecsElapsed() / 1e6;

    // Worst case: the last identifier of the last language.
    t.restart();
    for (int i = 0; i < lookups; ++i)
        chars += leerini(file, languages.last(), QStringLiteral("107")).size();
    const double worstMs = t.nsecsElapsed() / 1e6;

    t.restart();
    escribirini(file, QStringLiteral("idioma"), QStringLiteral("idioma"), QStringLiteral("English"));
    const double rewriteMs = t.nsecsElapsed() / 1e6;

    t.restart();
    escribirini(file, QStringLiteral("Español"), QStringLiteral("108"), QStringLiteral("nuevo"));
    const double insertMs = t.nsecsElapsed() / 1e6;

    std::printf("%d leerini lookups, mixed languages and ids: %.1f ms (%.2f us each)\n", lookups, lookupMs,
                lookupMs * 1000.0 / lookups);
    std::printf("%d leerini lookups, last id of last language: %.1f ms (%.2f us each)\n", lookups, worstMs,
                worstMs * 1000.0 / lookups);
    std::printf("escribirini, replace a key in the first section: %.2f ms\n", rewriteMs);
    std::printf("escribirini, insert a key before the next section: %.2f ms\n", insertMs);
    std::printf("(%lld characters read)\n", static_cast<long long>(chars));
    return leerini(file, QStringLiteral("idioma"), QStringLiteral("idioma")) == QStringLiteral("English") ? 0 : 1;
}

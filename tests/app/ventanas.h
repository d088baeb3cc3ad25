#pragma once
// Helpers shared by the window tests: a program folder of their own with a
// language file written line by line, and clean-up of the program's windows.

#include "app/principal.h"
#include "language/idiomas.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

inline QByteArray lineascrlf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

inline void escribirfichero(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

inline QByteArray leerfichero(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Closes and deletes the main window (and any other top-level window).
inline void cerrarventanas()
{
    if (principal *p = formprincipalexistente())
        p->close();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->testAttribute(Qt::WA_DeleteOnClose))
            w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formprincipalexistente(), nullptr);
}

// A language file with English texts for the ids given (id=Text<id>) unless
// a text is given, and a second language "Deutsch".
inline QStringList ficheroprueba(const QMap<int, QString> &texts,
                                 const QString &current = QStringLiteral("English"))
{
    QStringList lines{QStringLiteral("[idioma]"), QStringLiteral("idioma=") + current, QString(),
                      QStringLiteral("[English]")};
    for (auto it = texts.begin(); it != texts.end(); ++it)
        lines << QStringLiteral("%1=%2").arg(it.key()).arg(it.value());
    lines << QString() << QStringLiteral("[Deutsch]") << QStringLiteral("6=Kurven") << QString();
    return lines;
}

#pragma once
// The benchmarks run on the language file built next to the program, in
// English, with the build's program folder.

#include "language/idiomas.h"
#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QString>

inline void usaridiomaconstruido()
{
    const QString carpeta = QCoreApplication::applicationDirPath() + QStringLiteral("/../src");
    platform::setProgramFolder(carpeta);
    ficheroidioma = carpeta + QStringLiteral("/idioma.lng");
    idiomaactual = QStringLiteral("English");
}

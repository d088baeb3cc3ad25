#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

namespace {
QString &overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void setProgramFolder(const QString &folder) { overrideFolder() = QDir::cleanPath(folder); }

QString inProgramFolder(const QString &fileName) { return programFolder() + QLatin1Char('/') + fileName; }

} // namespace platform

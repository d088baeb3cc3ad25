#include "platform/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform
{

namespace
{

ShellHandler *g_handler = nullptr;

bool startForReal(const ShellCall &call)
{
    const QString line = call.commandLine.trimmed();
    if (line.isEmpty())
        return false;
    // "explorer <address>": the address goes to the desktop's browser or file manager.
    static const QString explorer = QStringLiteral("explorer");
    if (line.compare(explorer, Qt::CaseInsensitive) == 0 ||
        line.startsWith(explorer + QLatin1Char(' '), Qt::CaseInsensitive)) {
        const QString address = line.mid(explorer.size()).trimmed();
        if (address.isEmpty())
            return false;
        const QUrl url = QUrl::fromUserInput(address);
        return url.isValid() && QDesktopServices::openUrl(url);
    }
    QStringList parts = QProcess::splitCommand(line);
    if (parts.isEmpty())
        return false;
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}

} // namespace

bool shell(const QString &commandLine, int windowStyle)
{
    const ShellCall call{commandLine, windowStyle};
    if (g_handler)
        return g_handler->start(call);
    return startForReal(call);
}

bool fileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

void setShellHandler(ShellHandler *handler)
{
    g_handler = handler;
}

RecordingShell::RecordingShell() : previous_(g_handler)
{
    g_handler = this;
}

RecordingShell::~RecordingShell()
{
    g_handler = previous_;
}

bool RecordingShell::start(const ShellCall &call)
{
    calls.append(call);
    return result;
}

} // namespace platform

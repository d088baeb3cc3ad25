#include "platform/htmlhelp.h"

#include "platform/vberror.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace platform
{

namespace
{

QString &helpFileSetting()
{
    static QString path;
    return path;
}

class DesktopHelp : public HelpHandler
{
public:
    void showContents(const QString &path) override
    {
        if (!QFileInfo(path).isFile())
            throw VbError(vberr::FileNotFound, QStringLiteral("File not found: %1").arg(path));
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            throw VbError(vberr::PathFileAccess,
                          QStringLiteral("No program is available to show the help file %1").arg(path));
    }
};

HelpHandler *&currentHandler()
{
    static HelpHandler *handler = nullptr;
    return handler;
}

} // namespace

QString helpFile()
{
    return helpFileSetting();
}

void setHelpFile(const QString &path)
{
    helpFileSetting() = path;
}

void htmlHelpContents(const QString &path)
{
    if (HelpHandler *h = currentHandler()) {
        h->showContents(path);
        return;
    }
    DesktopHelp desktop;
    desktop.showContents(path);
}

void setHelpHandler(HelpHandler *handler)
{
    currentHandler() = handler;
}

HelpHandler *helpHandler()
{
    return currentHandler();
}

RecordingHelp::RecordingHelp() : previous_(currentHandler())
{
    currentHandler() = this;
}

RecordingHelp::~RecordingHelp()
{
    currentHandler() = previous_;
}

void RecordingHelp::showContents(const QString &path)
{
    opened.append(path);
    if (!failure.isEmpty())
        throw VbError(vberr::PathFileAccess, failure);
}

} // namespace platform

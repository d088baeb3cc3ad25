#pragma once
// Compiled help files: the program's help file setting and the contents page
// of a help file, opened with the desktop's viewer for that kind of file.
// Tests install a recording handler instead of the desktop.

#include <QString>
#include <QStringList>

namespace platform
{

// The program's help file path; empty until the language is known.
QString helpFile();
void setHelpFile(const QString &path);

class HelpHandler
{
public:
    virtual ~HelpHandler() = default;
    // Opens the contents page of the help file. Throws VbError on failure.
    virtual void showContents(const QString &path) = 0;
};

// Opens the contents page of a help file through the installed handler (the
// desktop when none is installed). Throws VbError when it cannot be opened.
void htmlHelpContents(const QString &path);

void setHelpHandler(HelpHandler *handler); // nullptr restores the desktop
HelpHandler *helpHandler();

// Test double: records every path asked for; fails with `failure` when it is
// not empty.
class RecordingHelp : public HelpHandler
{
public:
    RecordingHelp();           // installs itself
    ~RecordingHelp() override; // restores the previous handler
    void showContents(const QString &path) override;

    QStringList opened;
    QString failure;

private:
    HelpHandler *previous_ = nullptr;
};

} // namespace platform

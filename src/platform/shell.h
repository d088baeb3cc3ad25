#pragma once
// Starting another program or opening an address, and testing whether a file
// exists. A command line "explorer <address>" opens the address in the
// desktop's browser; any other command line starts that program with its
// arguments. The result tells whether the start succeeded; a failure never
// throws. Tests install a recording handler.

#include <QList>
#include <QString>

namespace platform
{

// Window styles of a started program.
enum ShellWindowStyle { vbHide = 0, vbNormalFocus = 1, vbMinimizedFocus = 2, vbMaximizedFocus = 3 };

struct ShellCall {
    QString commandLine;
    int windowStyle = vbNormalFocus;
};

class ShellHandler
{
public:
    virtual ~ShellHandler() = default;
    virtual bool start(const ShellCall &call) = 0;
};

// Starts the command line; true when the program or address was started.
bool shell(const QString &commandLine, int windowStyle = vbNormalFocus);

// True when a normal file (not a folder) exists at the path.
bool fileExists(const QString &path);

// Installs a handler (nullptr restores the real one).
void setShellHandler(ShellHandler *handler);

// Test double: records every call and answers with `result`.
class RecordingShell : public ShellHandler
{
public:
    RecordingShell();           // installs itself
    ~RecordingShell() override; // restores the previous handler
    bool start(const ShellCall &call) override;

    QList<ShellCall> calls;
    bool result = true;

private:
    ShellHandler *previous_ = nullptr;
};

} // namespace platform

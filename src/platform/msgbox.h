#pragma once
// Message boxes with the style numbers the program uses:
//   0 OK alone, 16 critical icon + OK, 64 information icon + OK,
//   51 Yes/No/Cancel with the exclamation icon (3 + 48).
// A CR inside the prompt is a line break. An empty title gives the program's
// name. Tests install a scripted handler that records every box and answers.

#include <QList>
#include <QString>
#include <functional>

namespace platform {

enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };
enum MsgBoxStyle {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

QString defaultMsgBoxTitle(); // "Curvexa"
// The prompt as the box shows it: each CR (or CR LF) becomes a line break.
QString messageText(const QString &prompt);

struct MsgBoxCall {
    QString prompt;
    int style = 0;
    QString title; // as shown (default title filled in)
};

class MsgBoxHandler {
public:
    virtual ~MsgBoxHandler() = default;
    virtual int show(const MsgBoxCall &call) = 0;
};

// Shows a message box and returns the button pressed (vbOK, vbYes, ...).
int msgbox(const QString &prompt, int style = 0, const QString &title = QString());

// Installs a handler (nullptr restores the real message boxes).
void setMsgBoxHandler(MsgBoxHandler *handler);
MsgBoxHandler *msgBoxHandler();

// Test double: records each box; answers from a queue, then with the first
// button of the style (OK or Yes).
class ScriptedMsgBox : public MsgBoxHandler {
public:
    ScriptedMsgBox();  // installs itself
    ~ScriptedMsgBox() override; // restores the previous handler
    int show(const MsgBoxCall &call) override;

    QList<int> answers;     // consumed from the front
    QList<MsgBoxCall> shown;
    // Called while the box "is shown", before it answers (may be empty).
    std::function<void(const MsgBoxCall &)> onShow;

private:
    MsgBoxHandler *previous_ = nullptr;
};

} // namespace platform

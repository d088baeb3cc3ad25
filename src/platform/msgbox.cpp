#include "platform/msgbox.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {

MsgBoxHandler *currentHandler = nullptr;

// The buttons of a style (its lowest three bits), in the order shown.
QList<int> buttonsOf(int style)
{
    switch (style & 7) {
    case 1:
        return {vbOK, vbCancel};
    case 2:
        return {vbAbort, vbRetry, vbIgnore};
    case 3:
        return {vbYes, vbNo, vbCancel};
    case 4:
        return {vbYes, vbNo};
    case 5:
        return {vbRetry, vbCancel};
    default:
        return {vbOK};
    }
}

QMessageBox::StandardButton standardButton(int result)
{
    switch (result) {
    case vbOK:
        return QMessageBox::Ok;
    case vbCancel:
        return QMessageBox::Cancel;
    case vbAbort:
        return QMessageBox::Abort;
    case vbRetry:
        return QMessageBox::Retry;
    case vbIgnore:
        return QMessageBox::Ignore;
    case vbYes:
        return QMessageBox::Yes;
    case vbNo:
        return QMessageBox::No;
    default:
        return QMessageBox::NoButton;
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The real message box.
int showRealBox(const MsgBoxCall &call)
{
    QMessageBox box(iconOf(call.style), call.title, messageText(call.prompt), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    const QList<int> buttons = buttonsOf(call.style);
    for (int b : buttons)
        box.addButton(standardButton(b));
    // Default button: 0 the first, 256 the second, 512 the third.
    const int defaultIndex = (call.style >> 8) & 3;
    if (defaultIndex < buttons.size())
        box.setDefaultButton(standardButton(buttons[defaultIndex]));
    // Escape answers Cancel where there is one, OK for a box with OK alone.
    if (buttons.contains(vbCancel))
        box.setEscapeButton(standardButton(vbCancel));
    else if (buttons.size() == 1)
        box.setEscapeButton(standardButton(buttons[0]));
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (int b : buttons)
        if (standardButton(b) == pressed)
            return b;
    // Closed without a button: the escape answer, or the first button.
    return buttons.contains(vbCancel) ? int(vbCancel) : buttons.first();
}

} // namespace

QString defaultMsgBoxTitle() { return QStringLiteral("Curvexa"); }

QString messageText(const QString &prompt)
{
    QString s = prompt;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

int msgbox(const QString &prompt, int style, const QString &title)
{
    MsgBoxCall call;
    call.prompt = prompt;
    call.style = style;
    call.title = title.isEmpty() ? defaultMsgBoxTitle() : title;
    if (currentHandler)
        return currentHandler->show(call);
    return showRealBox(call);
}

void setMsgBoxHandler(MsgBoxHandler *handler) { currentHandler = handler; }
MsgBoxHandler *msgBoxHandler() { return currentHandler; }

ScriptedMsgBox::ScriptedMsgBox() : previous_(currentHandler) { currentHandler = this; }

ScriptedMsgBox::~ScriptedMsgBox()
{
    if (currentHandler == this)
        currentHandler = previous_;
}

int ScriptedMsgBox::show(const MsgBoxCall &call)
{
    shown.append(call);
    if (onShow)
        onShow(call);
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttonsOf(call.style).first();
}

} // namespace platform

#include "platform/vbinput.h"

#include "platform/textfile.h"

#include <QString>

namespace platform {

Integer vbShiftState(Qt::KeyboardModifiers modifiers)
{
    Integer s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= 1;
    if (modifiers & Qt::ControlModifier)
        s |= 2;
    if (modifiers & Qt::AltModifier)
        s |= 4;
    return s;
}

Integer vbMouseButtons(Qt::MouseButtons buttons)
{
    Integer b = 0;
    if (buttons & Qt::LeftButton)
        b |= 1;
    if (buttons & Qt::RightButton)
        b |= 2;
    if (buttons & Qt::MiddleButton)
        b |= 4;
    return b;
}

namespace {

struct KeyCodeEntry {
    int key;
    Integer code;
};

// Keys whose code is not their own letter or digit. Shifted punctuation maps
// to the key that carries it on a US keyboard.
constexpr KeyCodeEntry keyCodes[] = {
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},        {Qt::Key_Backtab, 9},     {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},    {Qt::Key_Enter, 13},     {Qt::Key_Shift, 16},      {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},       {Qt::Key_Pause, 19},     {Qt::Key_CapsLock, 20},   {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},     {Qt::Key_PageUp, 33},    {Qt::Key_PageDown, 34},   {Qt::Key_End, 35},
    {Qt::Key_Home, 36},      {Qt::Key_Left, 37},      {Qt::Key_Up, 38},         {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},      {Qt::Key_Print, 44},     {Qt::Key_Insert, 45},     {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},      {Qt::Key_Meta, 91},      {Qt::Key_Menu, 93},       {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145}, {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186},  {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},     {Qt::Key_Comma, 188},    {Qt::Key_Less, 188},      {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190}, {Qt::Key_Greater, 190},   {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191}, {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},     {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222}, {Qt::Key_QuoteDbl, 222}, {Qt::Key_Exclam, 49},
    {Qt::Key_At, 50},        {Qt::Key_NumberSign, 51}, {Qt::Key_Dollar, 52},    {Qt::Key_Percent, 53},
    {Qt::Key_AsciiCircum, 54}, {Qt::Key_Ampersand, 55}, {Qt::Key_Asterisk, 56}, {Qt::Key_ParenLeft, 57},
    {Qt::Key_ParenRight, 48},
};

// Keypad keys that have codes of their own.
constexpr KeyCodeEntry keypadCodes[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

} // namespace

Integer vbKeyCode(const QKeyEvent &event)
{
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<Integer>(keypad ? 96 + (key - Qt::Key_0) : key);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<Integer>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<Integer>(112 + (key - Qt::Key_F1));
    if (keypad)
        for (const KeyCodeEntry &e : keypadCodes)
            if (e.key == key)
                return e.code;
    for (const KeyCodeEntry &e : keyCodes)
        if (e.key == key)
            return e.code;
    return 0;
}

int vbKeyAscii(const QKeyEvent &event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & Qt::AltModifier)
        return -1;
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return -1;
    default:
        break;
    }
    if (mods & Qt::ControlModifier) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return key - Qt::Key_A + 1;
        return -1;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return -1;
    const QChar ch = text.at(0);
    if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
        return -1;
    return asciiCode(ch.isHighSurrogate() && text.size() > 1 ? text.left(2) : QString(ch));
}

int asciiCode(const QString &character)
{
    const QByteArray bytes = toAnsi(character);
    if (bytes.size() != 1 || fromAnsi(bytes) != character)
        return 63;
    return static_cast<unsigned char>(bytes.at(0));
}

QChar charFromAscii(int code)
{
    const QString s = fromAnsi(QByteArray(1, static_cast<char>(code & 0xFF)));
    return s.isEmpty() ? QChar() : s.at(0);
}

std::unique_ptr<QKeyEvent> keyEventForAscii(int code)
{
    code &= 0xFF;
    switch (code) {
    case 8:
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier,
                                           QStringLiteral("\b"));
    case 13:
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier,
                                           QStringLiteral("\r"));
    case 27:
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier,
                                           QString(QChar(27)));
    default:
        break;
    }
    if (code >= 1 && code <= 26)
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_A + code - 1, Qt::ControlModifier,
                                           QString(QChar(code)));
    const QChar ch = charFromAscii(code);
    int key = Qt::Key_unknown;
    if (ch.unicode() >= 0x20 && ch.unicode() < 0x7F)
        key = ch.toUpper().unicode();
    return std::make_unique<QKeyEvent>(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
}

} // namespace platform

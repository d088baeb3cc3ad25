#pragma once
// Keyboard and mouse input in the form the program's event handlers take:
// key codes (virtual-key numbers: 13 Enter, 37-40 arrows, 65-90 letters),
// character codes (8 Backspace, 13 Enter, 27 Escape, 1-26 Ctrl+letter,
// printable characters by their Windows-1252 code), button bits (1 left,
// 2 right, 4 middle) and shift bits (1 Shift, 2 Ctrl, 4 Alt).

#include "platform/vbtypes.h"

#include <QKeyEvent>
#include <Qt>
#include <memory>

namespace platform {

Integer vbShiftState(Qt::KeyboardModifiers modifiers);
Integer vbMouseButtons(Qt::MouseButtons buttons);

// Key code of a key press or release; 0 for a key with no code.
Integer vbKeyCode(const QKeyEvent &event);

// Character code a key press types, or -1 when the key types no character
// (arrows, Delete, Tab, function keys, Alt combinations). A printable
// character outside Windows-1252 gives 63 ("?").
int vbKeyAscii(const QKeyEvent &event);

// The character code of one character (a surrogate pair counts as one):
// its Windows-1252 code, or 63 ("?") when it has none.
int asciiCode(const QString &character);

// The character a character code stands for (Windows-1252).
QChar charFromAscii(int code);

// A key press that types the character code (8 Backspace, 13 Enter, 27 Escape,
// 1-26 Ctrl+letter, otherwise the character), for delivering a key that a
// handler replaced by another.
std::unique_ptr<QKeyEvent> keyEventForAscii(int code);

} // namespace platform

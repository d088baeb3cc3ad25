#pragma once
// The system clipboard, for the chart picture: clear it, put a bitmap on it.

#include <QImage>

namespace platform
{

constexpr int vbCFBitmap = 2; // the bitmap clipboard format

// Empties the clipboard. Throws VbError(CantOpenClipboard) when the program
// has no clipboard.
void clipboardClear();
// Puts the picture on the clipboard as a bitmap; nothing else is placed with
// it. Only the bitmap format is known: another format throws
// VbError(InvalidProcedureCall). Throws VbError(CantOpenClipboard) when the
// program has no clipboard, or the picture is empty.
void clipboardSetData(const QImage &picture, int format = vbCFBitmap);
// The bitmap on the clipboard (a null image when there is none).
QImage clipboardImage();

namespace vberr
{
constexpr int CantOpenClipboard = 521;
}

} // namespace platform

#pragma once
// Mouse pointer shapes by number, as controls expose them: 0 the control's
// default, 1 arrow, 2 cross, 3 I-beam, 4 icon, 5 size, 6 size NE-SW, 7 size
// N-S, 8 size NW-SE, 9 size W-E, 10 up arrow, 11 hourglass, 12 no drop,
// 13 arrow and hourglass, 14 arrow and question mark, 15 size all, 99 the
// custom pointer picture (MouseIcon).

#include "platform/vbtypes.h"

#include <QImage>

class QWidget;

namespace platform {

constexpr Integer vbDefaultPointer = 0;
constexpr Integer vbSizeAllPointer = 15;
constexpr Integer vbCustomPointer = 99;

bool isValidMousePointer(int shape);

// Shows the pointer shape over the widget; shape 99 uses the picture (the
// default pointer when there is none). Throws VbError(InvalidPropertyValue)
// for an unknown shape, leaving the widget as it was.
void applyMousePointer(QWidget *widget, int shape, const QImage &icon);

} // namespace platform

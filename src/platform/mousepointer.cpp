#include "platform/mousepointer.h"

#include "platform/vberror.h"

#include <QCursor>
#include <QPixmap>
#include <QWidget>

namespace platform {

bool isValidMousePointer(int shape) { return (shape >= 0 && shape <= 15) || shape == vbCustomPointer; }

void applyMousePointer(QWidget *widget, int shape, const QImage &icon)
{
    static constexpr Qt::CursorShape shapes[] = {
        Qt::ArrowCursor,        // 0 (not used: the default is unset)
        Qt::ArrowCursor,        // 1
        Qt::CrossCursor,        // 2
        Qt::IBeamCursor,        // 3
        Qt::ArrowCursor,        // 4
        Qt::SizeAllCursor,      // 5
        Qt::SizeBDiagCursor,    // 6
        Qt::SizeVerCursor,      // 7
        Qt::SizeFDiagCursor,    // 8
        Qt::SizeHorCursor,      // 9
        Qt::UpArrowCursor,      // 10
        Qt::WaitCursor,         // 11
        Qt::ForbiddenCursor,    // 12
        Qt::BusyCursor,         // 13
        Qt::WhatsThisCursor,    // 14
        Qt::SizeAllCursor,      // 15
    };
    if (!isValidMousePointer(shape))
        throw VbError(vberr::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    if (shape == vbDefaultPointer || (shape == vbCustomPointer && icon.isNull()))
        widget->unsetCursor();
    else if (shape == vbCustomPointer)
        widget->setCursor(QCursor(QPixmap::fromImage(icon)));
    else
        widget->setCursor(QCursor(shapes[shape]));
}

} // namespace platform

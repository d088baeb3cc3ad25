#include "platform/clipboard.h"

#include "platform/vberror.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform
{

namespace
{

QClipboard &systemClipboard()
{
    QClipboard *c = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                        ? QGuiApplication::clipboard()
                        : nullptr;
    if (!c)
        throw VbError(vberr::CantOpenClipboard, QStringLiteral("Can't open the clipboard."));
    return *c;
}

} // namespace

void clipboardClear()
{
    systemClipboard().clear();
}

void clipboardSetData(const QImage &picture, int format)
{
    if (format != vbCFBitmap)
        throw VbError(vberr::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"));
    QClipboard &c = systemClipboard();
    if (picture.isNull())
        throw VbError(vberr::CantOpenClipboard, QStringLiteral("There is no picture to copy."));
    c.setImage(picture);
}

QImage clipboardImage()
{
    return systemClipboard().image();
}

} // namespace platform

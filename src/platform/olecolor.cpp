#include "platform/olecolor.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

namespace {

// System colour index -> the palette entry that plays its part.
struct SystemEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr SystemEntry systemEntries[] = {
    {QPalette::Active, QPalette::Button},          // 0 scroll bars
    {QPalette::Active, QPalette::Dark},            // 1 desktop
    {QPalette::Active, QPalette::Highlight},       // 2 active title bar
    {QPalette::Inactive, QPalette::Highlight},     // 3 inactive title bar
    {QPalette::Active, QPalette::Window},          // 4 menu bar
    {QPalette::Active, QPalette::Base},            // 5 window background
    {QPalette::Active, QPalette::Shadow},          // 6 window frame
    {QPalette::Active, QPalette::WindowText},      // 7 menu text
    {QPalette::Active, QPalette::Text},            // 8 window text
    {QPalette::Active, QPalette::HighlightedText}, // 9 title bar text
    {QPalette::Active, QPalette::Window},          // 10 active border
    {QPalette::Inactive, QPalette::Window},        // 11 inactive border
    {QPalette::Active, QPalette::Mid},             // 12 application workspace
    {QPalette::Active, QPalette::Highlight},       // 13 highlight
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlight text
    {QPalette::Active, QPalette::Button},          // 15 button face
    {QPalette::Active, QPalette::Dark},            // 16 button shadow
    {QPalette::Disabled, QPalette::Text},          // 17 grey text
    {QPalette::Active, QPalette::ButtonText},      // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive title bar text
    {QPalette::Active, QPalette::Light},           // 20 button highlight
    {QPalette::Active, QPalette::Shadow},          // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},     // 23 tool tip text
    {QPalette::Active, QPalette::ToolTipBase},     // 24 tool tip background
};

} // namespace

QColor toQColor(OleColor c)
{
    if (!isSystemColor(c))
        return QColor(redOf(c), greenOf(c), blueOf(c));
    const QPalette pal = QGuiApplication::palette();
    const unsigned index = c & 0xFFu;
    if ((c & 0x7FFFFF00u) != 0 || index >= std::size(systemEntries))
        return pal.color(QPalette::Active, QPalette::Base);
    const SystemEntry &e = systemEntries[index];
    return pal.color(e.group, e.role);
}

} // namespace platform

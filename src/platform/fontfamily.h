#pragma once
// Font names as the program's windows and printouts ask for them ("Courier
// New", "Times New Roman", "Arial", "MS Sans Serif") resolved to a family that
// is installed: the family itself when it is there, otherwise its metric twin
// from the Liberation fonts, so that text widths come out as designed.

#include <QFont>
#include <QString>

namespace platform
{

// The installed family to use for a font name. When neither the name nor its
// twin is installed, the name is returned unchanged and Qt substitutes.
QString resolveFontFamily(const QString &name);

// The metric twin of a font name ("Courier New" -> "Liberation Mono"), or an
// empty string when the name has none.
QString metricTwin(const QString &name);

// A font of the resolved family at the given size in points; monospaced
// names keep a fixed-pitch style hint for Qt's own substitution.
QFont resolvedFont(const QString &name, double pointSize);

} // namespace platform

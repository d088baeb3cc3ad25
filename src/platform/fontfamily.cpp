#include "platform/fontfamily.h"

#include <QFontDatabase>

namespace platform
{

namespace
{

struct Twin {
    const char *name;
    const char *twin;
    QFont::StyleHint hint;
};

constexpr Twin twins[] = {
    {"Courier New", "Liberation Mono", QFont::TypeWriter},
    {"Courier", "Liberation Mono", QFont::TypeWriter},
    {"Times New Roman", "Liberation Serif", QFont::Serif},
    {"Arial", "Liberation Sans", QFont::SansSerif},
    {"MS Sans Serif", "Liberation Sans", QFont::SansSerif},
    {"Microsoft Sans Serif", "Liberation Sans", QFont::SansSerif},
};

const Twin *findTwin(const QString &name)
{
    for (const Twin &t : twins)
        if (name.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

} // namespace

QString metricTwin(const QString &name)
{
    const Twin *t = findTwin(name);
    return t ? QString::fromLatin1(t->twin) : QString();
}

QString resolveFontFamily(const QString &name)
{
    if (QFontDatabase::hasFamily(name))
        return name;
    const QString twin = metricTwin(name);
    if (!twin.isEmpty() && QFontDatabase::hasFamily(twin))
        return twin;
    return name;
}

QFont resolvedFont(const QString &name, double pointSize)
{
    QFont f(resolveFontFamily(name));
    if (const Twin *t = findTwin(name))
        f.setStyleHint(t->hint);
    if (pointSize > 0)
        f.setPointSizeF(pointSize);
    return f;
}

} // namespace platform

#include "platform/propertybag.h"

#include "platform/vberror.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QStringList>

#include <limits>

namespace platform {

namespace {

// Escapes a text so that it fits on one line and its first unescaped "="
// can be found: backslash, CR, LF and "=" are written with a backslash.
QString escape(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        switch (c.unicode()) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'=':
            out += QLatin1String("\\=");
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Reads an escaped text from `s` starting at `i` up to an unescaped `stop`
// character (or the end when stop is null); `i` ends on the stop character.
QString unescape(const QString &s, qsizetype &i, QChar stop)
{
    QString out;
    while (i < s.size()) {
        const QChar c = s[i];
        if (!stop.isNull() && c == stop)
            break;
        if (c == QLatin1Char('\\') && i + 1 < s.size()) {
            const QChar n = s[i + 1];
            if (n == QLatin1Char('r'))
                out += QLatin1Char('\r');
            else if (n == QLatin1Char('n'))
                out += QLatin1Char('\n');
            else
                out += n;
            i += 2;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

[[noreturn]] void badLine(const QString &line)
{
    throw VbError(vberr::InvalidPropertyValue, QStringLiteral("Invalid property line: %1").arg(line));
}

QString typeAndValue(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return QStringLiteral("null:");
    case QMetaType::Bool:
        return QStringLiteral("bool:") + (v.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QStringLiteral("int:") + QString::number(v.toLongLong());
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QStringLiteral("uint:") + QString::number(v.toULongLong());
    case QMetaType::Float:
        return QStringLiteral("float:") + QString::number(v.toFloat(), 'g', 9);
    case QMetaType::Double:
        return QStringLiteral("double:") + QString::number(v.toDouble(), 'g', 17);
    case QMetaType::QString:
        return QStringLiteral("string:") + escape(v.toString());
    case QMetaType::QByteArray:
        return QStringLiteral("bytes:") + QString::fromLatin1(v.toByteArray().toBase64());
    case QMetaType::QFont:
        return QStringLiteral("font:") + escape(v.value<QFont>().toString());
    case QMetaType::QImage: {
        const QImage img = v.value<QImage>();
        if (img.isNull())
            return QStringLiteral("image:");
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        return QStringLiteral("image:") + QString::fromLatin1(png.toBase64());
    }
    default:
        if (v.canConvert<QString>())
            return QStringLiteral("string:") + escape(v.toString());
        throw VbError(vberr::InvalidPropertyValue,
                      QStringLiteral("A value of type %1 cannot be saved").arg(QString::fromLatin1(v.typeName())));
    }
}

QVariant parseValue(const QString &type, const QString &text, const QString &line)
{
    bool ok = true;
    if (type == QLatin1String("null"))
        return QVariant();
    if (type == QLatin1String("bool")) {
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
        badLine(line);
    }
    if (type == QLatin1String("int")) {
        const qlonglong v = text.toLongLong(&ok);
        if (!ok)
            badLine(line);
        if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
            return QVariant(static_cast<int>(v));
        return QVariant(v);
    }
    if (type == QLatin1String("uint")) {
        const qulonglong v = text.toULongLong(&ok);
        if (!ok)
            badLine(line);
        if (v <= std::numeric_limits<uint>::max())
            return QVariant(static_cast<uint>(v));
        return QVariant(v);
    }
    if (type == QLatin1String("float")) {
        const float v = text.toFloat(&ok);
        if (!ok)
            badLine(line);
        return QVariant(v);
    }
    if (type == QLatin1String("double")) {
        const double v = text.toDouble(&ok);
        if (!ok)
            badLine(line);
        return QVariant(v);
    }
    if (type == QLatin1String("string"))
        return QVariant(text);
    if (type == QLatin1String("bytes"))
        return QVariant(QByteArray::fromBase64(text.toLatin1()));
    if (type == QLatin1String("font")) {
        QFont f;
        if (!f.fromString(text))
            badLine(line);
        return QVariant(f);
    }
    if (type == QLatin1String("image")) {
        if (text.isEmpty())
            return QVariant(QImage());
        QImage img;
        if (!img.loadFromData(QByteArray::fromBase64(text.toLatin1()), "PNG"))
            badLine(line);
        return QVariant(img);
    }
    badLine(line);
}

} // namespace

int PropertyBag::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < entries_.size(); ++i)
        if (entries_[i].first.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

QVariant PropertyBag::readProperty(const QString &name, const QVariant &defaultValue) const
{
    const int i = indexOf(name);
    return i < 0 ? defaultValue : entries_[i].second;
}

void PropertyBag::writeProperty(const QString &name, const QVariant &value)
{
    const int i = indexOf(name);
    if (i < 0)
        entries_.append({name, value});
    else
        entries_[i].second = value;
}

void PropertyBag::writeProperty(const QString &name, const QVariant &value, const QVariant &defaultValue)
{
    // A value equal to its default is not stored: a reader gets the same
    // value back through its default.
    if (value == defaultValue) {
        const int i = indexOf(name);
        if (i >= 0)
            entries_.removeAt(i);
        return;
    }
    writeProperty(name, value);
}

bool PropertyBag::contains(const QString &name) const { return indexOf(name) >= 0; }

QStringList PropertyBag::names() const
{
    QStringList out;
    for (const auto &e : entries_)
        out << e.first;
    return out;
}

QString PropertyBag::save() const
{
    QString out;
    for (const auto &e : entries_) {
        out += escape(e.first);
        out += QLatin1Char('=');
        out += typeAndValue(e.second);
        out += QLatin1Char('\n');
    }
    return out;
}

PropertyBag PropertyBag::load(const QString &text)
{
    PropertyBag bag;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        qsizetype i = 0;
        const QString name = unescape(line, i, QLatin1Char('='));
        if (i >= line.size() || name.isEmpty())
            badLine(line);
        ++i; // "="
        const qsizetype colon = line.indexOf(QLatin1Char(':'), i);
        if (colon < 0)
            badLine(line);
        const QString type = line.mid(i, colon - i);
        qsizetype j = colon + 1;
        const QString value = unescape(line, j, QChar());
        bag.writeProperty(name, parseValue(type, value, line));
    }
    return bag;
}

} // namespace platform

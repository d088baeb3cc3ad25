#include "platform/textfile.h"

#include "platform/vberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

namespace {

// Windows-1252 bytes 0x80-0x9F. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of
// the same number, so every byte survives a read and a write.
constexpr char16_t high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

char16_t charOf(unsigned char b) { return (b >= 0x80 && b < 0xA0) ? high[b - 0x80] : char16_t(b); }

char byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (high[i] == c)
            return static_cast<char>(0x80 + i);
    return '?'; // no byte in this code page
}

QString describe(const QFile &f) { return f.errorString(); }

[[noreturn]] void fail(int number, const QString &what, const QString &path, const QString &why)
{
    throw FileError(number, QStringLiteral("%1 %2: %3").arg(what, path, why));
}

int openErrorNumber(const QString &path)
{
    const QFileInfo info(path);
    if (!info.dir().exists())
        return vberr::PathNotFound;
    if (!info.exists())
        return vberr::FileNotFound;
    return vberr::PathFileAccess;
}

// Next line of `content` from `pos`: the text up to the next CR (or the end);
// an LF right after that CR is part of the line end.
QString takeLine(const QByteArray &content, qsizetype &pos)
{
    const qsizetype n = content.size();
    qsizetype end = content.indexOf('\r', pos);
    if (end < 0)
        end = n;
    const QString line = fromAnsi(QByteArrayView(content).sliced(pos, end - pos));
    pos = end;
    if (pos < n) {
        ++pos; // CR
        if (pos < n && content[pos] == '\n')
            ++pos;
    }
    return line;
}

} // namespace

QString fromAnsi(QByteArrayView bytes)
{
    QString s(bytes.size(), Qt::Uninitialized);
    QChar *out = s.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(charOf(static_cast<unsigned char>(bytes[i])));
    return s;
}

QByteArray toAnsi(const QString &text)
{
    QByteArray b(text.size(), Qt::Uninitialized);
    char *out = b.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = byteOf(text[i].unicode());
    return b;
}

QStringList splitLines(const QByteArray &content)
{
    QStringList lines;
    qsizetype pos = 0;
    while (pos < content.size())
        lines.append(takeLine(content, pos));
    return lines;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (QFileInfo(path).isDir())
            fail(vberr::PathFileAccess, QStringLiteral("Cannot read"), path, QStringLiteral("it is a folder"));
        fail(openErrorNumber(path), QStringLiteral("Cannot open"), path, describe(f));
    }
    QByteArray content = f.readAll();
    if (f.error() != QFileDevice::NoError)
        fail(vberr::PathFileAccess, QStringLiteral("Cannot read"), path, describe(f));
    return content;
}

QStringList readLines(const QString &path) { return splitLines(readAll(path)); }

LineReader::LineReader(const QString &path) : content_(readAll(path)) {}

bool LineReader::atEnd() const { return pos_ >= content_.size(); }

QString LineReader::readLine()
{
    if (atEnd())
        throw FileError(vberr::InputPastEnd, QStringLiteral("Input past end of file"));
    return takeLine(content_, pos_);
}

QByteArray joinLines(const QStringList &lines)
{
    QByteArray out;
    qsizetype size = 0;
    for (const QString &l : lines)
        size += l.size() + 2;
    out.reserve(size);
    for (const QString &l : lines) {
        out += toAnsi(l);
        out += "\r\n";
    }
    return out;
}

void writeBytesAtomic(const QString &path, const QByteArray &content)
{
    QSaveFile f(path);
    // Unbuffered, so that a short write (a full disk, a file size limit) is
    // seen here: a buffered file reports it nowhere and commits the cut file.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(openErrorNumber(path) == vberr::PathNotFound ? vberr::PathNotFound : vberr::PathFileAccess,
             QStringLiteral("Cannot write"), path, f.errorString());
    if (f.write(content) != content.size()) {
        const QString why = f.errorString();
        f.cancelWriting();
        fail(vberr::PathFileAccess, QStringLiteral("Cannot write"), path, why);
    }
    if (!f.commit())
        fail(vberr::PathFileAccess, QStringLiteral("Cannot replace"), path, f.errorString());
}

void writeLinesAtomic(const QString &path, const QStringList &lines) { writeBytesAtomic(path, joinLines(lines)); }

bool endsWithLineEnd(const QByteArray &content)
{
    return content.isEmpty() || content.endsWith('\r') || content.endsWith("\r\n");
}

void appendLines(const QString &path, const QStringList &lines)
{
    appendBytes(path, joinLines(lines));
}

void appendBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        fail(openErrorNumber(path) == vberr::PathNotFound ? vberr::PathNotFound : vberr::PathFileAccess,
             QStringLiteral("Cannot append to"), path, describe(f));
    if (f.write(bytes) != bytes.size() || !f.flush())
        fail(vberr::PathFileAccess, QStringLiteral("Cannot write"), path, describe(f));
    f.close();
    if (f.error() != QFileDevice::NoError)
        fail(vberr::PathFileAccess, QStringLiteral("Cannot write"), path, describe(f));
}

} // namespace platform

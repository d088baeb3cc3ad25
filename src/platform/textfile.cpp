#include "platform/textfile.h"

#include "platform/vberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

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

// The position of the first line-end byte at or after `from`, or n when the
// line runs to the end of the bytes.
qsizetype nextBreak(const char *data, qsizetype from, qsizetype n, LineBreaks breaks)
{
    if (breaks == LineBreaks::Cr) {
        const void *cr = std::memchr(data + from, '\r', static_cast<std::size_t>(n - from));
        return cr ? static_cast<const char *>(cr) - data : n;
    }
    return std::find_if(data + from, data + n, [](char c) { return c == '\r' || c == '\n'; }) - data;
}

// The start of the next line after the line end at `end`: one byte past it,
// two for CR LF.
qsizetype afterBreak(const char *data, qsizetype end, qsizetype n)
{
    return data[end] == '\r' && end + 1 < n && data[end + 1] == '\n' ? end + 2 : end + 1;
}

// Next line of `content` from `pos`: the text up to the next line end (or the
// end of the content); `pos` moves past that line end.
QString takeLine(const QByteArray &content, qsizetype &pos, LineBreaks breaks)
{
    const char *data = content.constData();
    const qsizetype n = content.size();
    const qsizetype end = nextBreak(data, pos, n, breaks);
    const QString line = fromAnsi(QByteArrayView(data + pos, end - pos));
    pos = end < n ? afterBreak(data, end, n) : n;
    return line;
}

// The amount LineReader reads at a time.
constexpr qsizetype block = 64 * 1024;

// Opens the file for reading or throws the error that says why not.
void openForReading(QFile &f, const QString &path)
{
    if (f.open(QIODevice::ReadOnly))
        return;
    if (QFileInfo(path).isDir())
        fail(vberr::PathFileAccess, QStringLiteral("Cannot read"), path, QStringLiteral("it is a folder"));
    fail(openErrorNumber(path), QStringLiteral("Cannot open"), path, describe(f));
}

} // namespace

QString fromAnsi(QByteArrayView bytes)
{
    // Outside 0x80-0x9F every byte is the character of the same number.
    const auto latin1 = [](char b) { return (static_cast<unsigned char>(b) & 0xE0) != 0x80; };
    if (!bytes.isEmpty() && std::all_of(bytes.begin(), bytes.end(), latin1))
        return QString::fromLatin1(bytes.data(), bytes.size());
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

QStringList splitLines(const QByteArray &content, LineBreaks breaks)
{
    QStringList lines;
    qsizetype pos = 0;
    while (pos < content.size())
        lines.append(takeLine(content, pos, breaks));
    return lines;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    openForReading(f, path);
    QByteArray content = f.readAll();
    if (f.error() != QFileDevice::NoError)
        fail(vberr::PathFileAccess, QStringLiteral("Cannot read"), path, describe(f));
    return content;
}

QStringList readLines(const QString &path, LineBreaks breaks) { return splitLines(readAll(path), breaks); }

LineReader::LineReader(const QString &path, LineBreaks breaks) : file_(path), breaks_(breaks)
{
    openForReading(file_, path);
}

void LineReader::fill()
{
    buffer_.remove(0, pos_);
    pos_ = 0;
    const qsizetype kept = buffer_.size();
    buffer_.resize(kept + block);
    const qint64 got = file_.read(buffer_.data() + kept, block);
    if (got < 0) {
        buffer_.resize(kept);
        fail(vberr::PathFileAccess, QStringLiteral("Cannot read"), file_.fileName(), describe(file_));
    }
    buffer_.resize(kept + got);
    if (got == 0)
        eof_ = true;
}

bool LineReader::atEnd()
{
    while (pos_ >= buffer_.size() && !eof_)
        fill();
    return pos_ >= buffer_.size();
}

QByteArray LineReader::peek(qsizetype n)
{
    while (buffer_.size() - pos_ < n && !eof_)
        fill();
    return buffer_.mid(pos_, n);
}

QString LineReader::readLine()
{
    if (atEnd())
        throw FileError(vberr::InputPastEnd, QStringLiteral("Input past end of file"));
    qsizetype searched = 0; // bytes from pos_ on already known to hold no line end
    for (;;) {
        const char *data = buffer_.constData();
        const qsizetype n = buffer_.size();
        const qsizetype end = nextBreak(data, pos_ + searched, n, breaks_);
        // A CR as the last byte read: the next block tells whether an LF
        // belongs to it.
        const bool open = end == n || (data[end] == '\r' && end + 1 == n);
        if (!open || eof_) {
            const QString line = fromAnsi(QByteArrayView(data + pos_, end - pos_));
            pos_ = end < n ? afterBreak(data, end, n) : n;
            // A long line grew the buffer: give that memory back at once.
            if (buffer_.capacity() > 4 * block) {
                buffer_.remove(0, pos_);
                pos_ = 0;
                buffer_.squeeze();
            }
            return line;
        }
        searched = end - pos_;
        fill();
    }
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

} // namespace platform

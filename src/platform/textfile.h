#pragma once
// 8-bit text files: one byte per character in Windows-1252, every byte
// 0x00-0xFF read and written back unchanged. A line ends at CR; an LF right
// after the CR belongs to the line end; a lone LF is part of the line. Every
// line written ends with CR LF. A file that ends without a line end still
// gives its last line. Failures throw FileError.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace platform {

// Byte <-> character conversion, one character per byte, lossless.
QString fromAnsi(QByteArrayView bytes);
QByteArray toAnsi(const QString &text);

// Splits file content into lines by the rules above.
QStringList splitLines(const QByteArray &content);

// Reads the whole file as lines. Throws FileError when the file is missing or
// unreadable.
QStringList readLines(const QString &path);
// Reads the whole file as bytes. Throws FileError.
QByteArray readAll(const QString &path);

// Sequential line reader over a file (the whole file is read on open).
class LineReader {
public:
    explicit LineReader(const QString &path); // throws FileError
    bool atEnd() const;
    QString readLine(); // throws FileError(InputPastEnd) at the end

private:
    QByteArray content_;
    qsizetype pos_ = 0;
};

// Writes lines, each followed by CR LF.
QByteArray joinLines(const QStringList &lines);
// Replaces the file with the given lines through a temporary file beside it,
// so the old content stays intact when writing fails. Throws FileError.
void writeLinesAtomic(const QString &path, const QStringList &lines);
void writeBytesAtomic(const QString &path, const QByteArray &content);
// Appends lines (each with CR LF) or bytes at the end of the file, creating
// it when missing. Throws FileError.
void appendLines(const QString &path, const QStringList &lines);
void appendBytes(const QString &path, const QByteArray &bytes);
// True when the content is empty or its last line is closed by CR or CR LF
// (a final lone LF is text of the last line, not a line end).
bool endsWithLineEnd(const QByteArray &content);

} // namespace platform

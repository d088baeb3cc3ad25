#pragma once
// 8-bit text files: one byte per character in Windows-1252, every byte
// 0x00-0xFF read and written back unchanged. A line ends at CR; an LF right
// after the CR belongs to the line end. A lone LF is part of the line for the
// language file and the keyed files, and ends the line as well for the files
// that hold points (LineBreaks below). Every line written ends with CR LF. A
// file that ends without a line end still gives its last line. Failures throw
// FileError.

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>

namespace platform {

// Where a line ends when a file is read.
enum class LineBreaks {
    Cr,     // at CR, an LF right after it included; a lone LF is text
    CrOrLf, // at CR (with an LF right after it) and at a lone LF
};

// Byte <-> character conversion, one character per byte, lossless.
QString fromAnsi(QByteArrayView bytes);
QByteArray toAnsi(const QString &text);

// Splits file content into lines by the rules above.
QStringList splitLines(const QByteArray &content, LineBreaks breaks = LineBreaks::Cr);

// Reads the whole file as lines. Throws FileError when the file is missing or
// unreadable.
QStringList readLines(const QString &path, LineBreaks breaks = LineBreaks::Cr);
// Reads the whole file as bytes. Throws FileError.
QByteArray readAll(const QString &path);

// Sequential line reader over a file. The file is read block by block as the
// lines are taken, so it holds no more than the current line and one block,
// whatever the size of the file.
class LineReader {
public:
    explicit LineReader(const QString &path, LineBreaks breaks = LineBreaks::Cr); // throws FileError
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;
    bool atEnd();       // throws FileError when the file cannot be read
    QString readLine(); // throws FileError(InputPastEnd) at the end
    // Up to n bytes from the current position on, which stay unread.
    QByteArray peek(qsizetype n);

private:
    // Appends the next block of the file to the buffer, dropping the lines
    // already taken; at the end of the file sets eof_.
    void fill();

    QFile file_;
    LineBreaks breaks_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool eof_ = false;
};

// Writes lines, each followed by CR LF.
QByteArray joinLines(const QStringList &lines);
// Replaces the file with the given lines through a temporary file beside it,
// so the old content stays intact when writing fails. Throws FileError.
void writeLinesAtomic(const QString &path, const QStringList &lines);
void writeBytesAtomic(const QString &path, const QByteArray &content);
// True when the content is empty or its last line is closed by CR or CR LF
// (a final lone LF is text of the last line, not a line end).
bool endsWithLineEnd(const QByteArray &content);

} // namespace platform

#include "language/ini.h"

#include "platform/textfile.h"
#include "platform/vberror.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>
#include <limits>

// Every procedure reads the whole file and walks its lines: a line ends at a
// CR, an LF right after that CR belongs to the line end, a lone LF is text.
// Lines are kept as bytes and only the pieces that are compared are decoded.

namespace {

class Lines {
public:
    explicit Lines(const QByteArray &content) : data_(content.constData()), n_(content.size()) {}

    bool next(QByteArrayView &line)
    {
        if (pos_ >= n_)
            return false;
        const char *start = data_ + pos_;
        const void *cr = std::memchr(start, '\r', static_cast<std::size_t>(n_ - pos_));
        const qsizetype end = cr ? static_cast<const char *>(cr) - data_ : n_;
        line = QByteArrayView(start, end - pos_);
        pos_ = end;
        if (pos_ < n_) {
            ++pos_; // CR
            if (pos_ < n_ && data_[pos_] == '\n')
                ++pos_;
        }
        return true;
    }

private:
    const char *data_;
    qsizetype n_;
    qsizetype pos_ = 0;
};

bool isHeader(QByteArrayView line) { return !line.isEmpty() && line.front() == '['; }

// The name of a header line: the line without its first and its last
// character. The line "[" alone has no such name; it is taken as the empty one.
QByteArrayView sectionBytes(QByteArrayView header)
{
    return header.size() < 2 ? QByteArrayView() : header.sliced(1, header.size() - 2);
}

QString sectionName(QByteArrayView header) { return platform::fromAnsi(sectionBytes(header)); }

// Compares pieces of the file with a name or key without regard to case.
// Lookups run for every caption of every window, so a plain ASCII name is
// compared byte by byte; no character of the file's code page outside ASCII
// lower-cases into ASCII, so this gives the same answer as decoding.
class NameMatcher {
public:
    explicit NameMatcher(const QString &name) : lower_(name.toLower())
    {
        for (QChar c : lower_) {
            if (c.unicode() >= 0x80) {
                ascii_ = false;
                return;
            }
            bytes_ += static_cast<char>(c.unicode());
        }
    }

    bool matches(QByteArrayView piece) const
    {
        if (!ascii_)
            return platform::fromAnsi(piece).toLower() == lower_;
        if (piece.size() != bytes_.size())
            return false;
        for (qsizetype i = 0; i < piece.size(); ++i) {
            auto b = static_cast<unsigned char>(piece[i]);
            if (b >= 0x80)
                return false;
            if (b >= 'A' && b <= 'Z')
                b = static_cast<unsigned char>(b + ('a' - 'A'));
            if (b != static_cast<unsigned char>(bytes_[i]))
                return false;
        }
        return true;
    }

private:
    QString lower_;
    QByteArray bytes_;
    bool ascii_ = true;
};

bool sameName(QByteArrayView header, const NameMatcher &name) { return name.matches(sectionBytes(header)); }

// Position of the first "=" of an entry line, or -1 for a line without one
// (such a line has no key and matches none).
qsizetype equalsPos(QByteArrayView line) { return line.indexOf('='); }

bool sameKey(QByteArrayView line, qsizetype eq, const NameMatcher &key)
{
    return eq >= 0 && key.matches(line.first(eq));
}

bool hasSection(const QByteArray &content, const NameMatcher &name)
{
    Lines lines(content);
    QByteArrayView line;
    while (lines.next(line))
        if (isHeader(line) && sameName(line, name))
            return true;
    return false;
}

const QByteArray crlf("\r\n");

// Bytes to put in front of text appended to `content`, so that the new text
// starts a line of its own even when the last line has no line end.
QByteArray closeLastLine(const QByteArray &content)
{
    return platform::endsWithLineEnd(content) ? QByteArray() : crlf;
}

// Adds the section at the end of `content` when no header of that name
// exists: a line of one CR (CR CR LF), then the header. That CR also ends
// an unterminated last line. True when the section was added.
bool addSection(QByteArray &content, const QString &seccion)
{
    if (hasSection(content, NameMatcher(seccion)))
        return false;
    content += "\r\r\n[";
    content += platform::toAnsi(seccion);
    content += "]\r\n";
    return true;
}

} // namespace

QString leerini(const QString &fichero, const QString &seccion, const QString &clave)
{
    const QByteArray content = platform::readAll(fichero);
    const NameMatcher section(seccion);
    const NameMatcher key(clave);
    Lines lines(content);
    QByteArrayView line;

    // Up to the first header of that name; nothing before it is parsed.
    bool inSection = false;
    while (!inSection && lines.next(line))
        inSection = isHeader(line) && sameName(line, section);
    if (!inSection)
        return QString();

    // Inside it: the first entry with the key wins; any header ends the search.
    while (lines.next(line)) {
        if (line.isEmpty())
            continue;
        if (isHeader(line))
            return QString();
        const qsizetype eq = equalsPos(line);
        if (sameKey(line, eq, key))
            return platform::fromAnsi(line.sliced(eq + 1));
    }
    return QString();
}

platform::Integer existeseccion(const QString &fichero, const QString &seccion)
{
    return platform::toVbBool(hasSection(platform::readAll(fichero), NameMatcher(seccion)));
}

platform::Integer leersecciones(const QString &fichero, QStringList &secciones)
{
    const QByteArray content = platform::readAll(fichero);
    Lines lines(content);
    QByteArrayView line;
    // The first header is left out.
    QStringList names;
    int counter = -1;
    while (lines.next(line)) {
        if (!isHeader(line))
            continue;
        // The count is a 16-bit number: a file with more headers than it can
        // count is not one this program can read.
        if (counter == std::numeric_limits<platform::Integer>::max())
            throw platform::FileError(platform::vberr::Overflow,
                                      QStringLiteral("Cannot read %1: more than %2 sections")
                                          .arg(fichero)
                                          .arg(int(std::numeric_limits<platform::Integer>::max()) + 1));
        ++counter;
        if (counter >= 1)
            names.append(sectionName(line));
    }
    // The array is not touched while the counter is below 1; from then on
    // it holds exactly the names after the first.
    if (counter >= 1)
        secciones = names;
    return static_cast<platform::Integer>(counter);
}

// Every change replaces the whole file in one step, through a temporary file
// beside it: a failure (a full disk, a killed program) leaves either the old
// file or the new one, never a part of the change.

void crearseccion(const QString &fichero, const QString &seccion)
{
    QByteArray content = platform::readAll(fichero);
    if (addSection(content, seccion))
        platform::writeBytesAtomic(fichero, content);
}

void escribirini(const QString &fichero, const QString &seccion, const QString &clave, const QString &valor)
{
    // The section is made to exist first, as crearseccion does; the file is
    // written once, with the section and the entry.
    QByteArray content = platform::readAll(fichero);
    addSection(content, seccion);

    const NameMatcher section(seccion);
    const NameMatcher key(clave);
    QByteArray entry = platform::toAnsi(clave);
    entry += '=';
    entry += platform::toAnsi(valor);

    // The rewritten file, line by line: copied lines are written with CR LF,
    // the empty lines of the section are dropped, the entry replaces the line
    // of its key or closes the section before the next header.
    QByteArray scratch;
    scratch.reserve(content.size() + entry.size() + 16);
    auto write = [&scratch](QByteArrayView l) {
        scratch.append(l);
        scratch += crlf;
    };
    bool written = false;
    bool inSection = false;
    Lines lines(content);
    QByteArrayView line;
    while (lines.next(line)) {
        if (!inSection) {
            write(line);
            inSection = isHeader(line) && sameName(line, section);
            continue;
        }
        if (line.isEmpty())
            continue;
        if (isHeader(line)) {
            write(entry);
            write("\r");
            write(line);
            written = true;
            inSection = false;
            continue;
        }
        if (sameKey(line, equalsPos(line), key)) {
            write(entry);
            written = true;
            inSection = false;
            continue;
        }
        write(line);
    }

    if (!written) {
        // The section ran to the end of the file without the key: the entry
        // is added at the end, on a line of its own, and the rest of the file
        // stays as it was.
        content += closeLastLine(content);
        content += entry;
        content += crlf;
        platform::writeBytesAtomic(fichero, content);
        return;
    }

    // Copying the rewritten lines once more turns the line of one CR into
    // two empty lines.
    platform::writeBytesAtomic(fichero, platform::joinLines(platform::splitLines(scratch)));
}

#include "platform/xlsfile.h"

#include "platform/vberror.h"

#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace platform::xls {

namespace {

[[noreturn]] void damaged(const QString &what)
{
    throw FileError(vberr::ApplicationDefined,
                    QStringLiteral("The file is not a readable workbook: %1.").arg(what));
}

std::uint16_t le16(const unsigned char *p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t le32(const unsigned char *p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
double leDouble(const unsigned char *p)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | p[i];
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// ------------------------------------------------------------------------
// The compound file: a small FAT file system in fixed-size sectors.

constexpr std::uint32_t freeSect = 0xFFFFFFFF;
constexpr std::uint32_t endOfChain = 0xFFFFFFFE;
constexpr std::uint32_t miniCutoff = 4096;
constexpr std::uint32_t miniSectorSize = 64;

class CompoundFile {
public:
    explicit CompoundFile(const QByteArray &file);
    QByteArray workbookStream();
    // Where byte `offset` of the workbook stream lies in the file (after
    // workbookStream()).
    std::size_t fileOffset(std::uint32_t offset) const
    {
        return (std::size_t(streamSectors_[offset / sectorSize_]) + 1) * sectorSize_ + offset % sectorSize_;
    }

private:
    const unsigned char *sector(std::uint32_t id) const { return data_ + (std::size_t(id) + 1) * sectorSize_; }
    bool validSector(std::uint32_t id) const { return id < sectorCount_ && id < fat_.size(); }
    // The sectors of a chain that must hold exactly `count` sectors.
    std::vector<std::uint32_t> chain(std::uint32_t start, std::size_t count, const char *what) const;
    // A chain of unknown length (the directory).
    std::vector<std::uint32_t> openChain(std::uint32_t start, const char *what) const;
    QByteArray readChain(const std::vector<std::uint32_t> &sectors, std::size_t size) const;
    void readFat(const unsigned char *header);

    const unsigned char *data_;
    std::size_t size_;
    std::uint32_t sectorSize_ = 512;
    std::uint32_t sectorCount_ = 0; // whole sectors after the header
    std::vector<std::uint32_t> fat_;
    // The sectors holding the workbook stream from its start, in order: its
    // own chain, or the mini stream's when it lives there (it then starts
    // at the mini stream's first byte).
    std::vector<std::uint32_t> streamSectors_;
};

CompoundFile::CompoundFile(const QByteArray &file)
    : data_(reinterpret_cast<const unsigned char *>(file.constData())), size_(std::size_t(file.size()))
{
    static const unsigned char signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (size_ < 512 || std::memcmp(data_, signature, 8) != 0)
        damaged(QStringLiteral("it is not a compound document"));
    const unsigned char *h = data_;
    const std::uint16_t shift = le16(h + 0x1E);
    if (le16(h + 0x1C) != 0xFFFE || (shift != 9 && shift != 12) || le16(h + 0x20) != 6 ||
        le32(h + 0x38) != miniCutoff)
        damaged(QStringLiteral("unknown compound document header"));
    sectorSize_ = 1u << shift;
    if (size_ < 2 * std::size_t(sectorSize_))
        damaged(QStringLiteral("the file is too short"));
    sectorCount_ = static_cast<std::uint32_t>(size_ / sectorSize_ - 1);
    readFat(h);
}

void CompoundFile::readFat(const unsigned char *h)
{
    const std::uint32_t fatCount = le32(h + 0x2C);
    const std::uint32_t difatCount = le32(h + 0x48);
    if (fatCount == 0 || fatCount > sectorCount_)
        damaged(QStringLiteral("bad allocation table size"));
    std::vector<std::uint32_t> fatSectors;
    // The header lists the first 109 allocation table sectors; the unused
    // places must be free (FreeXL reads every place that is not).
    for (std::uint32_t i = 0; i < 109; ++i) {
        const std::uint32_t id = le32(h + 0x4C + 4 * i);
        if (i < fatCount) {
            if (id >= sectorCount_)
                damaged(QStringLiteral("bad allocation table sector"));
            fatSectors.push_back(id);
        } else if (id != freeSect) {
            damaged(QStringLiteral("bad allocation table list"));
        }
    }
    const std::uint32_t perDifat = sectorSize_ / 4 - 1;
    const std::uint32_t needDifat = fatCount > 109 ? (fatCount - 109 + perDifat - 1) / perDifat : 0;
    if (difatCount != needDifat)
        damaged(QStringLiteral("bad allocation table list size"));
    std::uint32_t difat = le32(h + 0x44);
    for (std::uint32_t k = 0; k < needDifat; ++k) {
        if (difat >= sectorCount_)
            damaged(QStringLiteral("bad allocation table list sector"));
        const unsigned char *s = sector(difat);
        for (std::uint32_t i = 0; i < perDifat; ++i) {
            const std::uint32_t id = le32(s + 4 * i);
            if (fatSectors.size() < fatCount) {
                if (id >= sectorCount_)
                    damaged(QStringLiteral("bad allocation table sector"));
                fatSectors.push_back(id);
            } else if (id != freeSect) {
                damaged(QStringLiteral("bad allocation table list"));
            }
        }
        difat = le32(s + 4 * perDifat);
    }
    if (needDifat > 0 && difat != endOfChain && difat != freeSect)
        damaged(QStringLiteral("bad allocation table list end"));

    fat_.reserve(std::size_t(fatCount) * (sectorSize_ / 4));
    for (std::uint32_t id : fatSectors) {
        const unsigned char *s = sector(id);
        for (std::uint32_t i = 0; i < sectorSize_ / 4; ++i)
            fat_.push_back(le32(s + 4 * i));
    }
}

std::vector<std::uint32_t> CompoundFile::chain(std::uint32_t start, std::size_t count, const char *what) const
{
    std::vector<std::uint32_t> out;
    std::vector<bool> seen(sectorCount_, false);
    std::uint32_t id = start;
    for (std::size_t i = 0; i < count; ++i) {
        if (!validSector(id) || seen[id])
            damaged(QStringLiteral("broken %1 sector chain").arg(QLatin1String(what)));
        seen[id] = true;
        out.push_back(id);
        id = fat_[id];
    }
    if (count > 0 && id != endOfChain)
        damaged(QStringLiteral("%1 sector chain of the wrong length").arg(QLatin1String(what)));
    return out;
}

std::vector<std::uint32_t> CompoundFile::openChain(std::uint32_t start, const char *what) const
{
    std::vector<std::uint32_t> out;
    std::vector<bool> seen(sectorCount_, false);
    for (std::uint32_t id = start; id != endOfChain; id = fat_[id]) {
        if (!validSector(id) || seen[id])
            damaged(QStringLiteral("broken %1 sector chain").arg(QLatin1String(what)));
        seen[id] = true;
        out.push_back(id);
    }
    if (out.empty())
        damaged(QStringLiteral("empty %1").arg(QLatin1String(what)));
    return out;
}

QByteArray CompoundFile::readChain(const std::vector<std::uint32_t> &sectors, std::size_t size) const
{
    size = std::min(size, sectors.size() * sectorSize_);
    QByteArray out;
    out.reserve(qsizetype(size));
    for (std::uint32_t id : sectors) {
        const std::size_t take = std::min<std::size_t>(sectorSize_, size - std::size_t(out.size()));
        out.append(reinterpret_cast<const char *>(sector(id)), qsizetype(take));
    }
    return out;
}

QByteArray CompoundFile::workbookStream()
{
    const unsigned char *h = data_;
    const QByteArray dir = readChain(openChain(le32(h + 0x30), "directory"), size_);
    const int entries = int(dir.size() / 128);
    auto entry = [&](int i) { return reinterpret_cast<const unsigned char *>(dir.constData()) + 128 * i; };
    auto entryName = [&](int i) {
        const unsigned char *e = entry(i);
        const int bytes = le16(e + 0x40);
        if (bytes > 64 || bytes % 2 != 0)
            damaged(QStringLiteral("bad directory entry"));
        QString name;
        for (int k = 0; k + 2 < bytes; k += 2)
            name.append(QChar(le16(e + k)));
        return name;
    };

    int rootIndex = -1;
    int bookIndex = -1;
    for (int i = 0; i < entries; ++i) {
        const QString name = entryName(i);
        if (name == QLatin1String("Root Entry")) {
            if (rootIndex >= 0)
                damaged(QStringLiteral("two root entries"));
            rootIndex = i;
        }
        if (bookIndex < 0 && (name == QLatin1String("Workbook") || name == QLatin1String("Book")))
            bookIndex = i;
    }
    if (rootIndex != 0 || entry(0)[0x42] != 5)
        damaged(QStringLiteral("no root entry"));
    if (bookIndex < 0)
        damaged(QStringLiteral("no workbook stream"));
    // FreeXL looks for the stream in the first directory sector only.
    if (bookIndex >= int(sectorSize_ / 128) || entry(bookIndex)[0x42] != 2)
        damaged(QStringLiteral("unsupported directory layout"));
    // It converts the name of every entry up to the workbook's, and writes
    // past its buffer on a name of no bytes at all.
    for (int i = 0; i < bookIndex; ++i)
        if (le16(entry(i) + 0x40) == 0)
            damaged(QStringLiteral("unnamed directory entry"));

    const unsigned char *book = entry(bookIndex);
    const std::uint32_t size = le32(book + 0x78);
    if (sectorSize_ == 4096 && le32(book + 0x7C) != 0)
        damaged(QStringLiteral("workbook stream too large"));
    if (size == 0 || size > size_)
        damaged(QStringLiteral("bad workbook stream size"));

    // A stream below the cut-off lives in the mini stream. FreeXL reads a
    // stream of exactly the cut-off there too, and none at all without a
    // mini allocation table: refuse the files where the two rules differ.
    const std::uint32_t miniFatCount = le32(h + 0x40);
    const bool mini = size < miniCutoff;
    const bool freexlMini = miniFatCount > 0 && size <= miniCutoff;
    if (mini != freexlMini)
        damaged(QStringLiteral("unsupported stream layout"));

    if (!mini) {
        const std::size_t count = (size + sectorSize_ - 1) / sectorSize_;
        streamSectors_ = chain(le32(book + 0x74), count, "workbook");
        return readChain(streamSectors_, size);
    }

    // The mini stream is the root entry's stream, cut into 64-byte pieces.
    // FreeXL reads the workbook from the start of it in one piece, so the
    // workbook's pieces must be the first ones, in order.
    const unsigned char *root = entry(0);
    const std::uint32_t rootSize = le32(root + 0x78);
    if (rootSize < size || rootSize > size_)
        damaged(QStringLiteral("bad mini stream size"));
    streamSectors_ = chain(le32(root + 0x74), (rootSize + sectorSize_ - 1) / sectorSize_, "mini stream");
    const QByteArray container = readChain(streamSectors_, rootSize);
    if (miniFatCount > sectorCount_)
        damaged(QStringLiteral("bad mini allocation table size"));
    const QByteArray miniFat =
        readChain(chain(le32(h + 0x3C), miniFatCount, "mini allocation table"), size_);
    const std::uint32_t pieces = (size + miniSectorSize - 1) / miniSectorSize;
    if (le32(book + 0x74) != 0 || std::size_t(miniFat.size() / 4) < pieces)
        damaged(QStringLiteral("unsupported mini stream layout"));
    const auto *mf = reinterpret_cast<const unsigned char *>(miniFat.constData());
    for (std::uint32_t i = 0; i < pieces; ++i) {
        const std::uint32_t next = le32(mf + 4 * i);
        if (next != (i + 1 < pieces ? i + 1 : endOfChain))
            damaged(QStringLiteral("unsupported mini stream layout"));
    }
    return container.left(size);
}

// ------------------------------------------------------------------------
// The BIFF record stream.

namespace rec {
constexpr std::uint16_t Formula = 0x0006;
constexpr std::uint16_t Eof = 0x000A;
constexpr std::uint16_t DateMode = 0x0022;
constexpr std::uint16_t FilePass = 0x002F;
constexpr std::uint16_t Continue = 0x003C;
constexpr std::uint16_t Window1 = 0x003D;
constexpr std::uint16_t CodePage = 0x0042;
constexpr std::uint16_t BoundSheet = 0x0085;
constexpr std::uint16_t MulRk = 0x00BD;
constexpr std::uint16_t MulBlank = 0x00BE;
constexpr std::uint16_t Sst = 0x00FC;
constexpr std::uint16_t LabelSst = 0x00FD;
constexpr std::uint16_t Dimensions = 0x0200;
constexpr std::uint16_t Blank = 0x0201;
constexpr std::uint16_t Number = 0x0203;
constexpr std::uint16_t Label = 0x0204;
constexpr std::uint16_t BoolErr = 0x0205;
constexpr std::uint16_t String = 0x0207;
constexpr std::uint16_t Rk = 0x027E;
constexpr std::uint16_t Xf = 0x00E0;
constexpr std::uint16_t Format = 0x041E;
constexpr std::uint16_t Bof = 0x0809;
} // namespace rec

// The type a hidden record is given in FreeXL's copy: no record has it, so
// FreeXL passes over it, and over the CONTINUE records after it.
constexpr std::uint16_t hiddenRecord = 0x7FFF;

constexpr std::uint16_t maxRecordSize = 8224;
// The cell formats FreeXL keeps.
constexpr int maxFormats = 8192;

struct Record {
    std::uint16_t type = 0;
    std::uint32_t offset = 0; // position of the record header in the stream
    const unsigned char *data = nullptr;
    std::uint16_t size = 0;
};

// A record followed by its CONTINUE records: one logical record whose
// strings may cross from one part into the next.
using Parts = QList<Record>;

// A position in Parts.
struct Cursor {
    qsizetype part = 0;
    std::uint32_t pos = 0;
};

// Reads a BIFF8 string at `at`: a 16-bit character count, a flags byte, the
// formatting run count and phonetic data size when the flags say so, the
// characters, then the runs and the phonetic data. Characters continued in
// the next part start with a flags byte of their own (the next part may
// switch between one-byte and two-byte characters); runs and phonetic data
// continue without one. Appends the characters to `text` when given and
// returns the position just after the string. Every count is checked
// against the bytes that are there.
Cursor readString16(const Parts &parts, Cursor at, QString *text)
{
    const Record *r = &parts[at.part];
    auto need = [&](std::uint32_t bytes) {
        if (at.pos + bytes > r->size)
            damaged(QStringLiteral("short string"));
    };
    need(3);
    const std::uint32_t chars = le16(r->data + at.pos);
    std::uint8_t flags = r->data[at.pos + 2];
    at.pos += 3;
    std::uint64_t after = 0; // bytes of formatting runs and phonetic data
    if (flags & 0x08) {
        need(2);
        after += 4 * std::uint64_t(le16(r->data + at.pos));
        at.pos += 2;
    }
    if (flags & 0x04) {
        need(4);
        after += le32(r->data + at.pos);
        at.pos += 4;
    }
    if (text)
        text->reserve(text->size() + qsizetype(chars));
    auto nextPart = [&] {
        if (++at.part >= parts.size())
            damaged(QStringLiteral("short string"));
        r = &parts[at.part];
        at.pos = 0;
    };
    std::uint32_t done = 0;
    while (done < chars) {
        if (at.pos == r->size) {
            nextPart();
            need(1);
            flags = r->data[at.pos++];
        }
        const std::uint32_t width = (flags & 0x01) ? 2 : 1;
        const std::uint32_t left = r->size - at.pos;
        if (left == 0)
            continue; // a part holding its flags byte alone
        if (left < width)
            damaged(QStringLiteral("a character split between records"));
        const std::uint32_t fit = std::min(left / width, chars - done);
        const unsigned char *p = r->data + at.pos;
        if (text && width == 1) {
            text->append(QLatin1StringView(reinterpret_cast<const char *>(p), qsizetype(fit)));
        } else if (text) {
            for (std::uint32_t k = 0; k < fit; ++k)
                text->append(QChar(le16(p + 2 * k)));
        }
        at.pos += fit * width;
        done += fit;
    }
    while (after > 0) {
        if (at.pos == r->size)
            nextPart();
        const std::uint32_t skip = std::uint32_t(std::min<std::uint64_t>(after, r->size - at.pos));
        at.pos += skip;
        after -= skip;
    }
    return at;
}

// A BIFF5 string: a 16-bit count of bytes in the workbook's code page,
// within the record.
QString readString5(const Record &r, std::uint32_t pos, QStringDecoder *codePage)
{
    if (pos + 2 > r.size)
        damaged(QStringLiteral("short string"));
    const std::uint32_t chars = le16(r.data + pos);
    pos += 2;
    if (pos + chars > r.size)
        damaged(QStringLiteral("short string"));
    const char *p = reinterpret_cast<const char *>(r.data + pos);
    return codePage ? codePage->decode(QByteArrayView(p, chars)) : QString::fromLatin1(p, qsizetype(chars));
}

// The name of an Excel 5 workbook's code page; empty for those read as
// Latin-1.
QByteArray codePageName(int cp)
{
    if ((cp >= 1250 && cp <= 1258) || cp == 874)
        return "windows-" + QByteArray::number(cp);
    if (cp >= 437 && cp <= 869)
        return "IBM" + QByteArray::number(cp);
    switch (cp) {
    case 0x8001: return "windows-1252";
    case 0x8000:
    case 10000: return "macintosh";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    default: return QByteArray();
    }
}

struct CellRecordSize {
    std::uint16_t type;
    std::uint16_t minSize;
};
constexpr CellRecordSize cellRecords[] = {
    {rec::Formula, 20}, {rec::MulRk, 12}, {rec::MulBlank, 8}, {rec::LabelSst, 10}, {rec::Blank, 6},
    {rec::Number, 14},  {rec::Label, 8},  {rec::BoolErr, 8},  {rec::Rk, 10},
};

int cellRecordMinSize(std::uint16_t type)
{
    for (const auto &c : cellRecords)
        if (c.type == type)
            return c.minSize;
    return -1;
}

class StreamReader {
public:
    explicit StreamReader(const QByteArray &stream)
        : data_(reinterpret_cast<const unsigned char *>(stream.constData())), size_(std::uint32_t(stream.size()))
    {
    }
    WorkbookScan read();
    // Stream positions of the records FreeXL is not to see.
    const std::vector<std::uint32_t> &hidden() const { return hidden_; }

private:
    bool next(Record &r);
    bool peekContinue(Record &r);
    // The record and the CONTINUE records after it.
    Parts withContinues(const Record &r);
    void globalsRecord(const Record &r);
    void readStringTable(const Record &r);
    void sheetRecord(const Record &r, SheetScan *sheet);
    QString cellString(const Record &r, std::uint32_t pos);
    QString sharedString(std::uint32_t index);
    void store(SheetScan *sheet, int row, int col, CellValue value);

    const unsigned char *data_;
    std::uint32_t size_;
    std::uint32_t pos_ = 0;
    WorkbookScan scan_;
    bool window1Seen_ = false;
    bool sstSeen_ = false;
    int xfCount_ = 0;
    int activeTab_ = 0;
    // The shared string table: its records, where each string starts, and
    // the strings cells asked for so far.
    Parts sst_;
    std::vector<Cursor> sstStrings_;
    QHash<std::uint32_t, QString> sstRead_;
    std::vector<std::uint32_t> hidden_;
    std::unique_ptr<QStringDecoder> codePage_;
    // A formula whose text result follows in a STRING record.
    int pendingRow_ = -1;
    int pendingCol_ = -1;
    // The current sheet's dimensions (-1: none yet) and whether a cell came.
    int dimRows_ = -1;
    int dimCols_ = -1;
    bool cellsSeen_ = false;
    // Cells given a value so far: by dimensions when known, else by key.
    std::vector<bool> filled_;
    QSet<std::uint32_t> filledSparse_;
};

bool StreamReader::next(Record &r)
{
    if (pos_ + 4 > size_)
        return false;
    r.type = le16(data_ + pos_);
    r.size = le16(data_ + pos_ + 2);
    if (r.type == 0 && r.size == 0) {
        // Zeros after the last record. FreeXL reads on through them when the
        // workbook lives in the mini stream, so nothing else may follow.
        for (std::uint32_t k = pos_; k < size_; ++k)
            if (data_[k] != 0)
                damaged(QStringLiteral("data after the end of the records"));
        return false;
    }
    if (r.size > maxRecordSize || pos_ + 4 + std::uint32_t(r.size) > size_)
        damaged(QStringLiteral("truncated record"));
    r.offset = pos_;
    r.data = data_ + pos_ + 4;
    pos_ += 4 + r.size;
    return true;
}

bool StreamReader::peekContinue(Record &r)
{
    const std::uint32_t keep = pos_;
    if (next(r) && r.type == rec::Continue)
        return true;
    pos_ = keep;
    return false;
}

Parts StreamReader::withContinues(const Record &r)
{
    Parts parts{r};
    Record c;
    while (peekContinue(c))
        parts.append(c);
    return parts;
}

WorkbookScan StreamReader::read()
{
    Record r;
    if (!next(r) || r.type != rec::Bof || r.size < 4)
        damaged(QStringLiteral("no workbook record stream"));
    const std::uint16_t version = le16(r.data);
    if ((version != 0x0600 && version != 0x0500) || le16(r.data + 2) != 0x0005)
        damaged(QStringLiteral("not an Excel 5 to 2003 workbook"));
    scan_.biffVersion = version == 0x0600 ? 8 : 5;

    // The globals, then one substream per sheet, each from BOF to EOF.
    bool inSubstream = true;
    SheetScan *sheet = nullptr; // the sheet of the current substream, if any
    bool inGlobals = true;
    bool dimensionsSeen = false;
    QSet<int> sized;    // sheets whose substream gives their dimensions
    int lastOwner = -1; // the sheet of the last substream
    while (next(r)) {
        if (r.type == rec::Continue)
            continue; // continuations of records we do not read
        if (!inSubstream) {
            if (r.type != rec::Bof || r.size < 4)
                damaged(QStringLiteral("record outside a sheet"));
            inSubstream = true;
            inGlobals = false;
            dimensionsSeen = false;
            pendingRow_ = -1;
            dimRows_ = dimCols_ = -1;
            cellsSeen_ = false;
            filled_.clear();
            filledSparse_.clear();
            sheet = nullptr;
            lastOwner = -1;
            for (int i = 0; i < scan_.sheets.size(); ++i) {
                if (scan_.sheets[i].offset == r.offset) {
                    sheet = &scan_.sheets[i];
                    lastOwner = i;
                }
            }
            continue;
        }
        switch (r.type) {
        case rec::Bof:
            // Charts embedded in a sheet nest their own substream; FreeXL
            // cannot read past them.
            damaged(QStringLiteral("embedded substreams are not supported"));
        case rec::Eof:
            inSubstream = false;
            continue;
        case rec::Dimensions:
            // FreeXL keeps no cell read before the dimensions.
            if (inGlobals || dimensionsSeen || cellsSeen_)
                damaged(QStringLiteral("misplaced sheet dimensions"));
            dimensionsSeen = true;
            if (sheet)
                sized.insert(int(sheet - scan_.sheets.data()));
            break;
        default:
            break;
        }
        if (inGlobals)
            globalsRecord(r);
        else
            sheetRecord(r, sheet);
    }
    if (inGlobals)
        damaged(QStringLiteral("the workbook has no sheets"));
    if (scan_.sheets.isEmpty())
        damaged(QStringLiteral("the workbook has no sheets"));
    // FreeXL sizes a sheet without dimensions (a chart sheet has none) on
    // whichever sheet it read last, emptying that one: it is only right when
    // that sheet is the last one read.
    for (int i = 0; i < scan_.sheets.size(); ++i)
        if (!sized.contains(i) && i != lastOwner)
            damaged(QStringLiteral("a chart sheet or a sheet without dimensions stands before another sheet"));
    scan_.activeTab = activeTab_ < scan_.sheets.size() ? activeTab_ : 0;
    return scan_;
}

void StreamReader::globalsRecord(const Record &r)
{
    const int biff = scan_.biffVersion;
    switch (r.type) {
    case rec::FilePass:
        throw FileError(vberr::ApplicationDefined, QStringLiteral("The workbook is password protected."));
    case rec::CodePage:
        if (r.size < 2)
            damaged(QStringLiteral("short code page record"));
        if (biff == 5) {
            const QByteArray name = codePageName(le16(r.data));
            codePage_.reset();
            if (!name.isEmpty())
                codePage_ = std::make_unique<QStringDecoder>(name.constData());
            if (codePage_ && !codePage_->isValid())
                codePage_.reset();
        }
        break;
    case rec::Window1:
        if (r.size < 12)
            damaged(QStringLiteral("short window record"));
        if (!window1Seen_)
            activeTab_ = le16(r.data + 10);
        window1Seen_ = true;
        break;
    case rec::BoundSheet: {
        if (r.size < 8)
            damaged(QStringLiteral("short sheet record"));
        // FreeXL reads the name: in BIFF8 as UTF-16 unless its flags byte
        // is 0 (not just its lowest bit).
        const std::uint32_t chars = r.data[6];
        const std::uint32_t bytes = biff == 8 ? 2 + chars * (r.data[7] == 0 ? 1 : 2) : 1 + chars;
        if (chars == 0 || 6 + bytes > r.size)
            damaged(QStringLiteral("bad sheet name"));
        SheetScan s;
        s.offset = le32(r.data);
        for (const SheetScan &other : std::as_const(scan_.sheets))
            if (other.offset == s.offset)
                damaged(QStringLiteral("two sheets at one place"));
        switch (r.data[5]) {
        case 0:
        case 1: s.type = SheetType::Worksheet; break;
        case 2: s.type = SheetType::Chart; break;
        default: s.type = SheetType::Other; break;
        }
        scan_.sheets.append(s);
        break;
    }
    case rec::Format:
        // FreeXL reads a format's text to tell dates from numbers. It cannot
        // convert an empty one without writing past its buffer, and in
        // Excel 5 workbooks it takes the first character for the length: a
        // format it would misread is hidden from it (it would only lose a
        // date format, which it cannot read anyway).
        if (biff == 8) {
            readString16(Parts{r}, Cursor{0, 2}, nullptr);
            if (le16(r.data + 2) == 0)
                hidden_.push_back(r.offset);
        } else {
            if (r.size < 3 || 3u + r.data[2] > r.size)
                damaged(QStringLiteral("short format record"));
            if (r.size < 4 || r.data[3] == 0 || 3u + r.data[3] > r.size)
                hidden_.push_back(r.offset);
        }
        break;
    case rec::Xf:
        // FreeXL counts past the 8,192 formats it keeps and then reads a
        // cell's format from beyond its table.
        if (r.size < 4 || ++xfCount_ > maxFormats)
            damaged(QStringLiteral("bad cell format"));
        break;
    case rec::DateMode:
        if (r.size < 2)
            damaged(QStringLiteral("short date mode record"));
        break;
    case rec::Sst:
        if (biff == 5 || r.size < 8 || sstSeen_)
            damaged(QStringLiteral("bad string table"));
        sstSeen_ = true;
        readStringTable(r);
        break;
    default:
        if (cellRecordMinSize(r.type) >= 0 || r.type == rec::String)
            damaged(QStringLiteral("cell outside a sheet"));
        break;
    }
}

// FreeXL's reading of the string table trusts every count in it and
// assumes a string is split over two records at most: a long text or a
// damaged count makes it read far outside its buffers. The table is read
// here instead, every string checked to its last byte, and hidden from
// FreeXL together with the cells that refer to it.
void StreamReader::readStringTable(const Record &r)
{
    hidden_.push_back(r.offset);
    sst_ = withContinues(r);
    const std::uint32_t count = le32(r.data + 4); // different strings; the first count is of uses
    Cursor at{0, 8};
    for (std::uint32_t i = 0; i < count; ++i) {
        // A string that would start at the end of a record starts in the next.
        while (at.pos == sst_[at.part].size) {
            if (++at.part >= sst_.size())
                damaged(QStringLiteral("short string table"));
            at.pos = 0;
        }
        sstStrings_.push_back(at);
        at = readString16(sst_, at, nullptr);
    }
}

QString StreamReader::sharedString(std::uint32_t index)
{
    if (index >= sstStrings_.size())
        damaged(QStringLiteral("a text outside the string table"));
    auto it = sstRead_.constFind(index);
    if (it == sstRead_.constEnd()) {
        QString text;
        readString16(sst_, sstStrings_[index], &text);
        it = sstRead_.insert(index, text);
    }
    return *it;
}

// The text of a LABEL or STRING record (and their CONTINUE records) from `pos`.
QString StreamReader::cellString(const Record &r, std::uint32_t pos)
{
    if (scan_.biffVersion == 5)
        return readString5(r, pos, codePage_.get());
    QString text;
    readString16(withContinues(r), Cursor{0, pos}, &text);
    return text;
}

void StreamReader::store(SheetScan *sheet, int row, int col, CellValue value)
{
    sheet->cells.insert(cellKey(row, col), std::move(value));
    sheet->rowCount = std::max(sheet->rowCount, row + 1);
    sheet->columnCount = std::max(sheet->columnCount, col + 1);
}

void StreamReader::sheetRecord(const Record &r, SheetScan *sheet)
{
    const int biff = scan_.biffVersion;
    switch (r.type) {
    case rec::BoundSheet:
    case rec::Sst:
    case rec::Format:
    case rec::Xf:
    case rec::CodePage:
    case rec::DateMode:
    case rec::FilePass:
        // Workbook records; FreeXL would act on them wherever they stand.
        damaged(QStringLiteral("workbook record inside a sheet"));
    default:
        break;
    }
    if (r.type == rec::Dimensions) {
        // FreeXL allocates rows x columns cells from these numbers.
        std::uint32_t lastRow = 0, lastCol = 0;
        if (biff == 8) {
            if (r.size < 14)
                damaged(QStringLiteral("short dimensions record"));
            lastRow = le32(r.data + 4);
            lastCol = le16(r.data + 10);
        } else {
            if (r.size < 10)
                damaged(QStringLiteral("short dimensions record"));
            lastRow = le16(r.data + 2);
            lastCol = le16(r.data + 6);
        }
        if (lastRow > std::uint32_t(maxRows) || lastCol > std::uint32_t(maxColumns))
            damaged(QStringLiteral("sheet too large"));
        dimRows_ = int(lastRow);
        dimCols_ = int(lastCol);
        filled_.assign(std::size_t(dimRows_) * std::size_t(dimCols_), false);
        return;
    }
    if (r.type == rec::String) {
        if (pendingRow_ < 0 || !sheet)
            return; // a STRING record without a formula before it
        CellValue v;
        v.kind = ValueKind::Text;
        v.text = cellString(r, 0);
        store(sheet, pendingRow_, pendingCol_, std::move(v));
        pendingRow_ = -1;
        return;
    }
    const int minSize = cellRecordMinSize(r.type);
    if (minSize < 0)
        return;
    if (r.size < minSize)
        damaged(QStringLiteral("short cell record"));
    if (!sheet)
        damaged(QStringLiteral("cell outside a sheet")); // FreeXL fails on these too
    const int row = le16(r.data);
    const int col = le16(r.data + 2);
    if (col >= maxColumns)
        damaged(QStringLiteral("cell beyond the last column"));
    pendingRow_ = -1;
    cellsSeen_ = true;
    // FreeXL fails on a cell outside the sheet's dimensions (and loses memory).
    const int lastCol = (r.type == rec::MulRk || r.type == rec::MulBlank) ? le16(r.data + r.size - 2) : col;
    if (dimRows_ >= 0 && (row >= dimRows_ || lastCol >= dimCols_))
        damaged(QStringLiteral("cell outside the sheet's dimensions"));
    // A cell given twice: FreeXL loses the memory of a text it overwrites.
    if (r.type != rec::Blank && r.type != rec::MulBlank) {
        for (int c = col; c <= lastCol; ++c) {
            bool twice = false;
            if (dimRows_ >= 0) {
                auto bit = filled_[std::size_t(row) * std::size_t(dimCols_) + std::size_t(c)];
                twice = bit;
                bit = true;
            } else {
                twice = filledSparse_.contains(cellKey(row, c));
                filledSparse_.insert(cellKey(row, c));
            }
            if (twice)
                damaged(QStringLiteral("a cell given twice"));
        }
    }

    switch (r.type) {
    case rec::MulRk:
    case rec::MulBlank: {
        const int width = r.type == rec::MulRk ? 6 : 2;
        const int count = (r.size - 6) / width;
        if ((r.size - 6) % width != 0 || count < 1 || le16(r.data + r.size - 2) != col + count - 1 ||
            col + count - 1 >= maxColumns)
            damaged(QStringLiteral("bad multiple-cell record"));
        break;
    }
    case rec::Label:
    case rec::LabelSst: {
        // Texts are ours to read (see readStringTable; FreeXL cannot read an
        // empty LABEL either). FreeXL keeps numbers and dates.
        hidden_.push_back(r.offset);
        CellValue v;
        v.kind = ValueKind::Text;
        v.text = r.type == rec::Label ? cellString(r, 6) : sharedString(le32(r.data + 6));
        store(sheet, row, col, std::move(v));
        break;
    }
    case rec::BoolErr: {
        CellValue v;
        if (r.data[7] != 0) {
            v.kind = ValueKind::Error;
            v.errorCode = r.data[6];
        } else {
            v.kind = ValueKind::Boolean;
            v.boolean = r.data[6] != 0;
        }
        store(sheet, row, col, std::move(v));
        break;
    }
    case rec::Formula: {
        const unsigned char *res = r.data + 6;
        CellValue v;
        if (res[6] == 0xFF && res[7] == 0xFF) {
            switch (res[0]) {
            case 0: // the text follows in a STRING record
                v.kind = ValueKind::Text;
                store(sheet, row, col, v);
                pendingRow_ = row;
                pendingCol_ = col;
                return;
            case 1:
                v.kind = ValueKind::Boolean;
                v.boolean = res[2] != 0;
                break;
            case 2:
                v.kind = ValueKind::Error;
                v.errorCode = res[2];
                break;
            case 3:
                v.kind = ValueKind::Text; // an empty text
                break;
            default:
                damaged(QStringLiteral("unknown formula result"));
            }
        } else {
            v.kind = ValueKind::Number;
            v.number = leDouble(res);
        }
        store(sheet, row, col, std::move(v));
        break;
    }
    default:
        break;
    }
}

} // namespace

WorkbookScan readWorkbook(const QByteArray &file, QByteArray *freexlFile)
{
    CompoundFile cf(file);
    const QByteArray stream = cf.workbookStream();
    StreamReader reader(stream);
    WorkbookScan scan = reader.read();
    if (freexlFile) {
        *freexlFile = file;
        for (const std::uint32_t at : reader.hidden()) {
            (*freexlFile)[qsizetype(cf.fileOffset(at))] = char(hiddenRecord & 0xFF);
            (*freexlFile)[qsizetype(cf.fileOffset(at + 1))] = char(hiddenRecord >> 8);
        }
    }
    return scan;
}

QString errorText(std::uint8_t code)
{
    switch (code) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    case 0x2A: return QStringLiteral("#N/A");
    default: return QStringLiteral("#ERROR");
    }
}

} // namespace platform::xls

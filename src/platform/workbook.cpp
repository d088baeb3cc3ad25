#include "platform/workbook.h"

#include "platform/numbertext.h"
#include "platform/vberror.h"
#include "platform/xlsfile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <freexl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

namespace {

// Larger files are refused rather than read into memory whole.
constexpr qint64 maxFileSize = qint64(512) * 1024 * 1024;

[[noreturn]] void closedFailure()
{
    throw VbError(vberr::ServerUnavailable, QStringLiteral("The workbook is no longer open."));
}

// FreeXL reads from a path. It is given the copy our reading made of the
// bytes it checked, through a file held in memory, so a file changed on disk
// in between cannot reach it unchecked. Closes itself; path() is empty when
// no such file could be made.
class MemoryFile {
public:
    explicit MemoryFile(const QByteArray &bytes) : fd_(memfd_create("curvexa-workbook", MFD_CLOEXEC))
    {
        qsizetype done = 0;
        while (fd_ >= 0 && done < bytes.size()) {
            const ssize_t n = write(fd_, bytes.constData() + done, std::size_t(bytes.size() - done));
            if (n <= 0) {
                ::close(fd_);
                fd_ = -1;
            } else {
                done += n;
            }
        }
    }
    ~MemoryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    MemoryFile(const MemoryFile &) = delete;
    MemoryFile &operator=(const MemoryFile &) = delete;
    QByteArray path() const { return fd_ >= 0 ? QByteArray("/proc/self/fd/") + QByteArray::number(fd_) : QByteArray(); }

private:
    int fd_;
};

QString numberText(double value)
{
    if (!std::isfinite(value))
        throw VbError(vberr::TypeMismatch, QStringLiteral("The cell does not hold a number."));
    return generalNumber(value);
}

} // namespace

// The opened file: FreeXL's handle plus our own reading of it.
class WorkbookData {
public:
    ~WorkbookData() { close(); }

    void close()
    {
        if (handle)
            freexl_close(handle);
        handle = nullptr;
    }

    // Makes the sheet FreeXL's current one (FreeXL reads one sheet at a time).
    void select(int sheet)
    {
        if (!handle)
            closedFailure();
        if (sheet == selected)
            return;
        unsigned int r = 0;
        unsigned short c = 0;
        if (freexl_select_active_worksheet(handle, static_cast<unsigned short>(sheet)) != FREEXL_OK ||
            freexl_worksheet_dimensions(handle, &r, &c) != FREEXL_OK)
            throw VbError(vberr::ApplicationDefined, QStringLiteral("The sheet cannot be read."));
        selected = sheet;
        rows = int(std::min<unsigned int>(r, xls::maxRows));
        columns = std::min<int>(c, xls::maxColumns);
    }

    // Rows and columns from 0 here.
    bool filled(int sheet, int row, int col)
    {
        if (scan.sheets[sheet].cells.contains(xls::cellKey(row, col)))
            return true;
        select(sheet);
        if (row >= rows || col >= columns)
            return false;
        FreeXL_CellValue v;
        return freexl_get_cell_value(handle, unsigned(row), static_cast<unsigned short>(col), &v) == FREEXL_OK &&
               v.type != FREEXL_CELL_NULL;
    }

    const void *handle = nullptr;
    xls::WorkbookScan scan;
    int selected = -1;
    int rows = 0;    // of the selected sheet, as FreeXL holds it
    int columns = 0;
};

// ------------------------------------------------------------------------

WorkbookData &Worksheet::data() const
{
    if (!data_ || !data_->handle)
        closedFailure();
    return *data_;
}

QString Worksheet::name() const
{
    WorkbookData &d = data();
    const char *text = nullptr;
    if (freexl_get_worksheet_name(d.handle, static_cast<unsigned short>(index_), &text) != FREEXL_OK || !text)
        return QString();
    return QString::fromUtf8(text);
}

Worksheet::Region Worksheet::currentRegion(int row, int column) const
{
    WorkbookData &d = data();
    if (row < 1 || column < 1 || row > xls::maxRows || column > xls::maxColumns)
        throw VbError(vberr::ApplicationDefined, QStringLiteral("There is no such cell."));
    d.select(index_);
    const xls::SheetScan &sheet = d.scan.sheets[index_];
    // Nothing is filled beyond these.
    const int lastRow = std::max(d.rows, sheet.rowCount) - 1;
    const int lastCol = std::max(d.columns, sheet.columnCount) - 1;

    auto rowHasCell = [&](int r, int c1, int c2) {
        if (r < 0 || r > lastRow)
            return false;
        for (int c = std::max(c1, 0); c <= std::min(c2, lastCol); ++c)
            if (d.filled(index_, r, c))
                return true;
        return false;
    };
    auto columnHasCell = [&](int c, int r1, int r2) {
        if (c < 0 || c > lastCol)
            return false;
        for (int r = std::max(r1, 0); r <= std::min(r2, lastRow); ++r)
            if (d.filled(index_, r, c))
                return true;
        return false;
    };

    // Each side grows as far as it can before the next one is looked at;
    // the whole round repeats while any side moved, since a side that grew
    // brings new corner cells to the others.
    int top = row - 1, bottom = row - 1, left = column - 1, right = column - 1;
    bool grew = true;
    while (grew) {
        grew = false;
        while (rowHasCell(bottom + 1, left - 1, right + 1)) {
            ++bottom;
            grew = true;
        }
        while (rowHasCell(top - 1, left - 1, right + 1)) {
            --top;
            grew = true;
        }
        while (columnHasCell(right + 1, top - 1, bottom + 1)) {
            ++right;
            grew = true;
        }
        while (columnHasCell(left - 1, top - 1, bottom + 1)) {
            --left;
            grew = true;
        }
    }
    return Region{top + 1, left + 1, bottom - top + 1, right - left + 1};
}

Integer Worksheet::currentRegionRows() const
{
    const int rows = currentRegion(1, 1).rows;
    if (rows > 32767)
        throw VbError(vberr::Overflow,
                      QStringLiteral("The block of cells around A1 has %1 rows, more than 32767.").arg(rows));
    return static_cast<Integer>(rows);
}

bool Worksheet::isFilled(int row, int column) const
{
    WorkbookData &d = data();
    if (row < 1 || column < 1 || row > xls::maxRows || column > xls::maxColumns)
        return false;
    return d.filled(index_, row - 1, column - 1);
}

QString Worksheet::cellText(int row, int column) const
{
    WorkbookData &d = data();
    if (row < 1 || column < 1 || row > xls::maxRows || column > xls::maxColumns)
        throw VbError(vberr::ApplicationDefined, QStringLiteral("There is no such cell."));
    const auto &cells = d.scan.sheets[index_].cells;
    const auto it = cells.constFind(xls::cellKey(row - 1, column - 1));
    if (it != cells.constEnd()) {
        switch (it->kind) {
        case xls::ValueKind::Number: return numberText(it->number);
        case xls::ValueKind::Text: return it->text;
        case xls::ValueKind::Boolean: return it->boolean ? QStringLiteral("True") : QStringLiteral("False");
        case xls::ValueKind::Error:
            throw VbError(vberr::TypeMismatch, QStringLiteral("The cell holds the error value %1.")
                                                   .arg(xls::errorText(it->errorCode)));
        }
    }
    d.select(index_);
    if (row > d.rows || column > d.columns)
        return QString();
    FreeXL_CellValue v;
    if (freexl_get_cell_value(d.handle, unsigned(row - 1), static_cast<unsigned short>(column - 1), &v) !=
        FREEXL_OK)
        throw VbError(vberr::ApplicationDefined, QStringLiteral("The cell cannot be read."));
    switch (v.type) {
    case FREEXL_CELL_INT: return numberText(double(v.value.int_value));
    case FREEXL_CELL_DOUBLE: return numberText(v.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: return v.value.text_value ? QString::fromUtf8(v.value.text_value) : QString();
    default: return QString();
    }
}

// ------------------------------------------------------------------------

std::shared_ptr<Workbook> Workbook::open(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists())
        throw FileError(vberr::FileNotFound, QStringLiteral("File not found: %1").arg(fileName));
    if (!info.isFile())
        throw FileError(vberr::PathFileAccess, QStringLiteral("Not a file: %1").arg(fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(vberr::PathFileAccess, QStringLiteral("The file cannot be read: %1").arg(fileName));
    if (file.size() > maxFileSize)
        throw FileError(vberr::ApplicationDefined, QStringLiteral("The file is too large: %1").arg(fileName));
    const QByteArray bytes = file.readAll();
    file.close();

    auto data = std::make_shared<WorkbookData>();
    // Our reading comes first: it refuses what FreeXL must not be given and
    // makes the copy FreeXL reads, with the records it cannot read hidden.
    QByteArray forFreeXL;
    data->scan = xls::readWorkbook(bytes, &forFreeXL);

    const void *handle = nullptr;
    int rc = FREEXL_FILE_NOT_FOUND;
    {
        const MemoryFile copy(forFreeXL);
        forFreeXL.clear();
        const QByteArray copyPath = copy.path();
        if (copyPath.isEmpty())
            throw FileError(vberr::ApplicationDefined,
                            QStringLiteral("The workbook cannot be read (no memory file): %1").arg(fileName));
        rc = freexl_open(copyPath.constData(), &handle);
    }
    if (rc != FREEXL_OK) {
        if (handle)
            freexl_close(handle);
        throw FileError(vberr::ApplicationDefined,
                        QStringLiteral("The workbook cannot be read (FreeXL error %1): %2").arg(rc).arg(fileName));
    }
    data->handle = handle;
    unsigned int sheets = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK ||
        sheets != unsigned(data->scan.sheets.size()))
        throw FileError(vberr::ApplicationDefined, QStringLiteral("The workbook's sheets cannot be read."));

    std::shared_ptr<Workbook> book(new Workbook);
    book->fileName_ = fileName;
    book->data_ = std::move(data);
    return book;
}

Workbook::~Workbook() = default;

bool Workbook::isOpen() const { return data_ && data_->handle; }

int Workbook::sheetCount() const
{
    if (!isOpen())
        closedFailure();
    return int(data_->scan.sheets.size());
}

Worksheet Workbook::activeSheet() const
{
    if (!isOpen())
        closedFailure();
    const int tab = data_->scan.activeTab;
    if (data_->scan.sheets[tab].type != xls::SheetType::Worksheet)
        throw VbError(vberr::ObjectDoesNotSupport, QStringLiteral("The active sheet holds no cells."));
    return Worksheet(data_, tab);
}

void Workbook::close()
{
    if (data_)
        data_->close();
}

// ------------------------------------------------------------------------

SpreadsheetApp::~SpreadsheetApp() { quit(); }

std::shared_ptr<Workbook> SpreadsheetApp::openWorkbook(const QString &fileName)
{
    if (quit_)
        throw VbError(vberr::ServerUnavailable, QStringLiteral("The spreadsheet service has quit."));
    auto book = Workbook::open(fileName);
    workbooks_.append(book);
    return book;
}

std::shared_ptr<Workbook> SpreadsheetApp::activeWorkbook() const
{
    for (auto it = workbooks_.crbegin(); it != workbooks_.crend(); ++it)
        if ((*it)->isOpen())
            return *it;
    return nullptr;
}

void SpreadsheetApp::quit()
{
    for (const auto &book : std::as_const(workbooks_))
        book->close();
    workbooks_.clear();
    quit_ = true;
}

} // namespace platform

#pragma once
// Our own reading of an .xls workbook file (a BIFF5 or BIFF8 record stream
// inside an OLE2 compound file), for what FreeXL leaves out or cannot be
// trusted with: which sheet tab was active when the workbook was saved,
// Boolean and error constants (FreeXL turns both into the numbers 0 and 1),
// the results of formula cells (FreeXL skips formula cells altogether) and
// every text cell with its shared string table.
//
// Why texts are read here rather than checked and left to FreeXL: FreeXL's
// string table reader trusts every character count, flag and run size, and
// it assumes a string split over records ends in the first CONTINUE record
// after it. A valid text spread over more than two records (above about
// 16,400 one-byte or 8,200 two-byte characters, where a cell holds 32,767)
// makes it read tens of kilobytes outside its buffers, so a check before
// FreeXL could only refuse such workbooks. Reading the strings takes no more
// code than checking them would (a check has to walk every string the same
// way) and leaves nothing to trust: FreeXL is handed a copy of the file in
// which the string table, the text cells and the formats it would misread
// are hidden (given a record type that no record has, which it passes over),
// so none of its string code runs on what a file says. FreeXL keeps what it
// reads soundly: the sheet list, sheet names, dimensions, numbers and dates.
//
// The same pass checks every structure FreeXL still trusts without checking
// (sector chains, directory names, record lengths, sheet names, formats and
// their number, sheet dimensions), so that a damaged or crafted file is
// refused here, before FreeXL reads it.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>

namespace platform::xls {

enum class ValueKind : std::uint8_t { Number, Text, Boolean, Error };

// A cell value FreeXL does not give, or is not given to read.
struct CellValue {
    ValueKind kind = ValueKind::Number;
    double number = 0;
    QString text;
    bool boolean = false;
    std::uint8_t errorCode = 0; // 0x07 #DIV/0!, 0x2A #N/A, ...
};

enum class SheetType : std::uint8_t { Worksheet, Chart, Other };

struct SheetScan {
    std::uint32_t offset = 0; // stream position of the sheet's first record
    SheetType type = SheetType::Worksheet;
    // Texts, formula results and Boolean/error constants, keyed by cellKey.
    QHash<std::uint32_t, CellValue> cells;
    int rowCount = 0;    // one past the last row of those cells (0-based rows)
    int columnCount = 0; // one past their last column
};

struct WorkbookScan {
    int biffVersion = 8; // 5 or 8
    int activeTab = 0;   // index into sheets of the tab active when saved
    QList<SheetScan> sheets;
};

// Rows and columns count from 0 here, as in the file.
constexpr std::uint32_t cellKey(int row, int column)
{
    return (static_cast<std::uint32_t>(row) << 8) | static_cast<std::uint32_t>(column);
}

// The largest sheet a BIFF8 workbook can hold.
constexpr int maxRows = 65536;
constexpr int maxColumns = 256;

// Reads a whole .xls file held in memory. Throws FileError when it is not a
// BIFF5/BIFF8 workbook in a compound file, when it is password protected, or
// when any structure in it is damaged. When freexlFile is given, it receives
// the copy of the file that FreeXL is to read.
WorkbookScan readWorkbook(const QByteArray &file, QByteArray *freexlFile = nullptr);

// The sheet's own spelling of an error value ("#DIV/0!").
QString errorText(std::uint8_t code);

} // namespace platform::xls

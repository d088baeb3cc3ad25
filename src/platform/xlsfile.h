#pragma once
// Our own reading of an .xls workbook file (a BIFF5 or BIFF8 record stream
// inside an OLE2 compound file), for what FreeXL leaves out: which sheet tab
// was active when the workbook was saved, Boolean and error constants (FreeXL
// turns both into the numbers 0 and 1) and the results of formula cells
// (FreeXL skips formula cells altogether).
//
// The same pass checks every structure FreeXL trusts without checking (sector
// chains, directory names, record and string lengths, sheet dimensions), so
// that a damaged or crafted file is refused here, before FreeXL reads it.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>

namespace platform::xls {

enum class ValueKind : std::uint8_t { Number, Text, Boolean, Error };

// A cell value FreeXL does not give correctly.
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
    // Formula results and Boolean/error constants, keyed by cellKey.
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
// when any structure in it is damaged.
WorkbookScan readWorkbook(const QByteArray &file);

// The sheet's own spelling of an error value ("#DIV/0!").
QString errorText(std::uint8_t code);

} // namespace platform::xls

#pragma once
// Spreadsheet service: opens an .xls workbook read-only and reads the cells
// of its active sheet, the way the workbook import asks for them (open the
// workbook, take the active sheet, count the rows of the block of filled
// cells around A1, read cell texts, close, quit).
//
// FreeXL reads the sheet list, numbers and dates. Texts, and what FreeXL
// leaves out or gets wrong (the sheet tab that was active when the workbook
// was saved, Boolean and error constants, formula results), come from our
// own reading of the file (platform/xlsfile.h says why texts are ours),
// which also refuses damaged files before FreeXL sees them. Nothing is ever
// written to a workbook file.
//
// Failures are VbError: FileError for a workbook that cannot be opened,
// TypeMismatch for a cell holding an error value, Overflow for a block of
// more than 32,767 rows, ObjectDoesNotSupport for an active chart sheet,
// ServerUnavailable after close or quit.

#include "platform/vbtypes.h"

#include <QList>
#include <QString>
#include <memory>

namespace platform {

class WorkbookData;

// A sheet of an opened workbook. Rows and columns count from 1 (A1 is 1, 1).
class Worksheet {
public:
    Worksheet() = default;

    QString name() const;
    int index() const { return index_; } // tab position from 0

    struct Region {
        int top = 1;
        int left = 1;
        int rows = 1;
        int columns = 1;
    };
    // The block of filled cells around the cell: starting from that cell,
    // the rectangle grows while any cell touching its border, corners
    // included, is filled.
    Region currentRegion(int row = 1, int column = 1) const;
    // The number of rows of the block around A1 as a 16-bit integer;
    // VbError(Overflow) above 32,767.
    Integer currentRegionRows() const;

    // True when the cell holds a value (a formula giving an empty text counts).
    bool isFilled(int row, int column) const;
    // The text of the cell's value: "" for an empty cell, a text as it
    // stands, a number in general form with "." as the decimal separator
    // ("1.5", "1E-05"), "True"/"False", a date as FreeXL spells it
    // ("2024-03-31"). VbError(TypeMismatch) for an error value (#DIV/0!).
    QString cellText(int row, int column) const;

private:
    friend class Workbook;
    Worksheet(std::shared_ptr<WorkbookData> data, int index) : data_(std::move(data)), index_(index) {}
    WorkbookData &data() const;

    std::shared_ptr<WorkbookData> data_;
    int index_ = -1;
};

class Workbook {
public:
    // Opens the file read-only. FileError when it is missing, unreadable,
    // damaged, password protected or not an Excel 5 to 2003 workbook.
    static std::shared_ptr<Workbook> open(const QString &fileName);
    ~Workbook();
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    QString fileName() const { return fileName_; }
    bool isOpen() const;
    int sheetCount() const;
    // The sheet that was active when the workbook was saved.
    // VbError(ObjectDoesNotSupport) when that is a chart sheet.
    Worksheet activeSheet() const;
    // Releases the workbook. There is nothing to save: the file is left as it was.
    void close();

private:
    Workbook() = default;
    QString fileName_;
    std::shared_ptr<WorkbookData> data_;
};

// The spreadsheet program's place: it keeps the workbooks it opened until
// they are closed or it quits.
class SpreadsheetApp {
public:
    SpreadsheetApp() = default;
    ~SpreadsheetApp();
    SpreadsheetApp(const SpreadsheetApp &) = delete;
    SpreadsheetApp &operator=(const SpreadsheetApp &) = delete;

    std::shared_ptr<Workbook> openWorkbook(const QString &fileName);
    // The last opened workbook that is still open; null when there is none.
    std::shared_ptr<Workbook> activeWorkbook() const;
    // Closes every workbook still open. Afterwards opening fails with
    // VbError(ServerUnavailable).
    void quit();
    bool hasQuit() const { return quit_; }

private:
    QList<std::shared_ptr<Workbook>> workbooks_;
    bool quit_ = false;
};

} // namespace platform

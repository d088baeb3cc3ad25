// Workbook service over the committed .xls fixtures (written by
// scripts/make-xls-fixtures.py) and over damaged copies of them.

#include "numberedtext.h"
#include "platform/vberror.h"
#include "platform/workbook.h"
#include "platform/xlsfile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

namespace {

QString fixture(const QString &name) { return QStringLiteral(CURVEXA_FIXTURES_DIR "/workbook/") + name; }

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Runs an action and returns the VbError number it raised (0: none).
template <typename F> int failureOf(F &&action)
{
    try {
        action();
    } catch (const VbError &e) {
        return e.number();
    }
    return 0;
}

// Everything the import would do with a workbook; failures are expected,
// anything else is not.
void readLikeTheImport(const QString &path)
{
    try {
        SpreadsheetApp app;
        auto book = app.openWorkbook(path);
        const Worksheet sheet = book->activeSheet();
        const Worksheet::Region region = sheet.currentRegion();
        for (int k = 1; k <= std::min(region.rows, 200); ++k) {
            for (int c = 1; c <= 2; ++c) {
                try {
                    sheet.cellText(k, c);
                } catch (const VbError &) {
                }
            }
        }
        app.activeWorkbook()->close();
        app.quit();
    } catch (const VbError &) {
    }
}

} // namespace

class TestWorkbook : public QObject {
    Q_OBJECT

private slots:
    void activeSheetBlockAndTexts_data();
    void activeSheetBlockAndTexts();
    void errorValuesFail_data();
    void errorValuesFail();
    void regionFromOtherCells_data();
    void regionFromOtherCells();
    void longTexts_data();
    void longTexts();
    void moreThan32767RowsFails();
    void chartSheetActiveFails();
    void openFailures_data();
    void openFailures();
    void damagedFilesFailCleanly_data();
    void damagedFilesFailCleanly();
    void neverWritesTheWorkbook_data();
    void neverWritesTheWorkbook();
    void closeAndQuit();
    void ourReaderFindsWhatFreeXLMisses();
};

void TestWorkbook::activeSheetBlockAndTexts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("sheetIndex");
    QTest::addColumn<QString>("sheetName");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    // "row,column=text" for cells to read, inside or outside the block
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("numbers, block ends at empty row 5")
        << "numbers.xls" << 0 << "Datos" << 4 << 2
        << QStringList{"1,1=0",     "1,2=-7",    "2,1=1.5", "2,2=-2.25", "3,1=1E-05",
                       "3,2=1E+16", "4,1=0.3",   "4,2=123456789.123457",   "6,1=99",
                       "5,1=",      "7,1=",      "1,3="};
    QTest::newRow("texts") << "texts.xls" << 0 << "Textos" << 4 << 2
                           << QStringList{"1,1=x",        "1,2=y",         "2,1=1,5", "2,2= 7 ",
                                          "3,1=\u00f1and\u00fa", "3,2=\u03a9mega", "4,1=label", "4,2=2"};
    QTest::newRow("empty cells inside the block")
        << "empty-cells.xls" << 0 << "Huecos" << 3 << 2
        << QStringList{"1,1=1", "1,2=", "2,1=", "2,2=2", "3,1=3", "3,2="};
    QTest::newRow("Booleans beside error values")
        << "error-cell.xls" << 0 << "Errores" << 4 << 2
        << QStringList{"1,1=1", "1,2=2", "2,1=3", "3,2=True", "4,1=False", "4,2=4"};
    QTest::newRow("formula results; an empty text joins row 5")
        << "formulas.xls" << 0 << "Formulas" << 6 << 3
        << QStringList{"1,1=2.5", "1,2=texto", "2,1=", "2,2=True", "3,2=6", "4,1=7", "5,3=", "6,1=8"};
    QTest::newRow("second sheet active")
        << "two-sheets-second-active.xls" << 1 << "Segunda" << 3 << 2
        << QStringList{"1,1=10", "1,2=20", "3,1=50", "3,2=60"};
    QTest::newRow("first of two sheets active")
        << "two-sheets-first-active.xls" << 0 << "Primera" << 2 << 2
        << QStringList{"1,1=1", "1,2=2", "2,1=3", "2,2=4", "3,1="};
    QTest::newRow("corner cells join the block")
        << "diagonal.xls" << 0 << "Diagonal" << 7 << 4 << QStringList{"3,2=3", "4,3=4", "7,4=107", "9,1=9"};
    QTest::newRow("A1 empty, B2 filled") << "a1-empty.xls" << 0 << "Hoja1" << 2 << 2
                                         << QStringList{"1,1=", "2,2=5"};
    QTest::newRow("A1 alone") << "a1-alone.xls" << 0 << "Hoja1" << 1 << 1 << QStringList{"1,1=5", "3,1=6"};
    QTest::newRow("empty sheet") << "empty-sheet.xls" << 0 << "Hoja1" << 1 << 1 << QStringList{"1,1=", "2,2="};
    QTest::newRow("workbook in the mini stream")
        << "ministream.xls" << 0 << "Mini" << 2 << 2 << QStringList{"1,1=1", "1,2=0.5", "2,1=2", "2,2=dos"};
    // The string table in records of 40 bytes: formatting runs and phonetic
    // data cross record ends, texts switch between one-byte and UTF-16
    // characters from one record to the next.
    const QString aec = QStringLiteral("\u00c5\u00c6\u00c7").repeated(20);
    QTest::newRow("string table over many records")
        << "string-table-split.xls" << 0 << "Partes" << 5 << 2
        << QStringList{"1,1=uno",
                       "1,2=fon\u00e9tica",
                       "2,1=" + aec,
                       "2,2=" + QStringLiteral("ancho luego estrecho ").repeated(4),
                       "3,1=",
                       "3,2=" + QStringLiteral("estrecho luego ancho ").repeated(4),
                       "4,1=" + numberedText(300),
                       "4,2=etiqueta",
                       "5,1=5",
                       "5,2=\u03a9mega"};
    // Dates still come from FreeXL, through a built-in and a custom format;
    // the empty format it is not given changes nothing; an empty LABEL.
    QTest::newRow("dates, formats, empty label")
        << "formats.xls" << 0 << "Formatos" << 3 << 2
        << QStringList{"1,1=2024-03-31", "2,1=2024-03-31", "3,1=2.5", "1,2=", "2,2=2", "3,2=tres"};
    // Texts and the sheet name in the workbook's code page.
    QTest::newRow("Excel 5, Cyrillic code page")
        << "excel5-cyrillic.xls" << 0 << "\u041b\u0438\u0441\u0442" << 2 << 2
        << QStringList{"1,1=\u0442\u0435\u043a\u0441\u0442", "1,2=1.5", "2,1=", "2,2=\u0416"};
}

void TestWorkbook::activeSheetBlockAndTexts()
{
    QFETCH(QString, file);
    QFETCH(int, sheetIndex);
    QFETCH(QString, sheetName);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(QStringList, cells);

    SpreadsheetApp app;
    auto book = app.openWorkbook(fixture(file));
    const Worksheet sheet = book->activeSheet();
    QCOMPARE(sheet.index(), sheetIndex);
    QCOMPARE(sheet.name(), sheetName);
    const Worksheet::Region region = sheet.currentRegion();
    QCOMPARE(region.top, 1);
    QCOMPARE(region.left, 1);
    QCOMPARE(region.rows, rows);
    QCOMPARE(region.columns, columns);
    QCOMPARE(int(sheet.currentRegionRows()), rows);
    for (const QString &cell : cells) {
        const int comma = cell.indexOf(u',');
        const int equals = cell.indexOf(u'=');
        const int r = cell.left(comma).toInt();
        const int c = cell.mid(comma + 1, equals - comma - 1).toInt();
        QCOMPARE(sheet.cellText(r, c), cell.mid(equals + 1));
    }
}

void TestWorkbook::errorValuesFail_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("error");
    QTest::newRow("#DIV/0! constant") << "error-cell.xls" << 2 << 2 << "#DIV/0!";
    QTest::newRow("#N/A constant") << "error-cell.xls" << 3 << 1 << "#N/A";
    QTest::newRow("formula giving #DIV/0!") << "formulas.xls" << 3 << 1 << "#DIV/0!";
}

void TestWorkbook::errorValuesFail()
{
    QFETCH(QString, file);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, error);
    auto book = Workbook::open(fixture(file));
    const Worksheet sheet = book->activeSheet();
    QVERIFY(sheet.isFilled(row, column)); // an error value still fills its cell
    try {
        sheet.cellText(row, column);
        QFAIL("an error value gave a text");
    } catch (const VbError &e) {
        QCOMPARE(e.number(), vberr::TypeMismatch);
        QVERIFY2(e.description().contains(error), qPrintable(e.description()));
    }
}

void TestWorkbook::regionFromOtherCells_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    // diagonal.xls: A1, A2, B3, C4, D1:D7, A9, F1
    QTest::newRow("inside the block grows up and left") << 5 << 4 << 1 << 1 << 7 << 4;
    QTest::newRow("A9 below an empty row") << 9 << 1 << 9 << 1 << 1 << 1;
    QTest::newRow("F1 beside an empty column") << 1 << 6 << 1 << 6 << 1 << 1;
    QTest::newRow("empty E8 touches D7, then A9 and F1 join") << 8 << 5 << 1 << 1 << 9 << 6;
    QTest::newRow("empty cell far away") << 20 << 20 << 20 << 20 << 1 << 1;
}

void TestWorkbook::regionFromOtherCells()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, top);
    QFETCH(int, left);
    QFETCH(int, rows);
    QFETCH(int, columns);
    auto book = Workbook::open(fixture("diagonal.xls"));
    const Worksheet::Region r = book->activeSheet().currentRegion(row, column);
    QCOMPARE(r.top, top);
    QCOMPARE(r.left, left);
    QCOMPARE(r.rows, rows);
    QCOMPARE(r.columns, columns);
}

void TestWorkbook::longTexts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("a1");
    QTest::addColumn<QString>("b1");
    // One-byte texts over three, three and four records (the string table and
    // its CONTINUE records).
    for (int n : {16500, 20000, 32767})
        QTest::addRow("%d one-byte characters", n)
            << QStringLiteral("a1-text-%1.xls").arg(n) << numberedText(n) << QString::number(n);
    // From another writer: nine records of UTF-16.
    QTest::newRow("33,000 UTF-16 characters") << "a1-utf16-33000.xls" << QString(33000, QChar(0x20AC)) << "1";
}

void TestWorkbook::longTexts()
{
    QFETCH(QString, file);
    QFETCH(QString, a1);
    QFETCH(QString, b1);
    auto book = Workbook::open(fixture(file));
    const Worksheet sheet = book->activeSheet();
    QCOMPARE(sheet.currentRegionRows(), Integer(1));
    const QString text = sheet.cellText(1, 1);
    QCOMPARE(text.size(), a1.size());
    QCOMPARE(text, a1);
    QCOMPARE(sheet.cellText(1, 2), b1);
}

void TestWorkbook::moreThan32767RowsFails()
{
    auto book = Workbook::open(fixture("rows-32768.xls"));
    const Worksheet sheet = book->activeSheet();
    const Worksheet::Region r = sheet.currentRegion();
    QCOMPARE(r.rows, 32768); // B32768 joins through the corner of A32767
    QCOMPARE(r.columns, 2);
    QCOMPARE(failureOf([&] { sheet.currentRegionRows(); }), vberr::Overflow);
    QCOMPARE(sheet.cellText(32767, 1), QStringLiteral("32767"));
    QCOMPARE(sheet.cellText(32768, 1), QString());
    QCOMPARE(sheet.cellText(32768, 2), QStringLiteral("32768"));
}

void TestWorkbook::chartSheetActiveFails()
{
    auto book = Workbook::open(fixture("chart-sheet-active.xls"));
    QCOMPARE(book->sheetCount(), 2);
    QCOMPARE(failureOf([&] { book->activeSheet(); }), vberr::ObjectDoesNotSupport);
}

void TestWorkbook::openFailures_data()
{
    QTest::addColumn<QByteArray>("content"); // written to a temporary file unless null
    QTest::addColumn<QString>("path");       // used when content is null
    QTest::addColumn<int>("number");

    const QByteArray numbers = readAll(fixture("numbers.xls"));
    QTest::newRow("missing file") << QByteArray() << "/nonexistent/book.xls" << vberr::FileNotFound;
    QTest::newRow("empty path") << QByteArray() << "" << vberr::FileNotFound;
    QTest::newRow("a folder") << QByteArray() << QStringLiteral(CURVEXA_FIXTURES_DIR) << vberr::PathFileAccess;
    QTest::newRow("empty file") << QByteArray("") << "" << vberr::ApplicationDefined;
    QTest::newRow("text file") << QByteArray("1,2\r\n3,4\r\n") << "" << vberr::ApplicationDefined;
    QTest::newRow("NUL bytes") << QByteArray(4096, '\0') << "" << vberr::ApplicationDefined;
    QTest::newRow("header only") << numbers.left(512) << "" << vberr::ApplicationDefined;
    QTest::newRow("cut in the stream") << numbers.left(numbers.size() - 3000) << "" << vberr::ApplicationDefined;
    QTest::newRow("cut by one byte") << numbers.left(numbers.size() - 1) << "" << vberr::ApplicationDefined;

    // Sector 0 is the allocation table; make the directory chain loop.
    QByteArray loop = numbers;
    const int dirSector = 1;
    loop[512 + 4 * dirSector] = char(dirSector); // FAT[1] = 1
    loop[512 + 4 * dirSector + 1] = 0;
    loop[512 + 4 * dirSector + 2] = 0;
    loop[512 + 4 * dirSector + 3] = 0;
    QTest::newRow("directory chain loops") << loop << "" << vberr::ApplicationDefined;

    QByteArray longName = numbers;
    longName[1024 + 128 + 0x40] = char(0xFF); // the workbook entry's name length
    QTest::newRow("directory name too long") << longName << "" << vberr::ApplicationDefined;

    // The unused third entry (no name) swapped in before the workbook's.
    QByteArray unnamed = numbers;
    for (int k = 0; k < 128; ++k)
        std::swap(unnamed[1024 + 128 + k], unnamed[1024 + 256 + k]);
    QTest::newRow("unnamed directory entry before the workbook") << unnamed << "" << vberr::ApplicationDefined;

    // Stream offset 4 + 16 (BOF) + 4 + 2 (CODEPAGE) = 26: WINDOW1's header;
    // record sizes beyond the stream.
    QByteArray bigRecord = numbers;
    bigRecord[1536 + 20 + 2] = char(0xFF);
    bigRecord[1536 + 20 + 3] = char(0x7F);
    QTest::newRow("record longer than the stream") << bigRecord << "" << vberr::ApplicationDefined;
    // The sheet record follows at 48: a flags byte of 0x08 makes FreeXL read
    // the five-letter name as ten bytes of UTF-16.
    QByteArray wideName = numbers;
    wideName[1536 + 48 + 4 + 7] = char(0x08);
    QTest::newRow("sheet name longer as FreeXL reads it") << wideName << "" << vberr::ApplicationDefined;
    // Found by fuzzing: a text cell outside the sheet's dimensions made FreeXL
    // fail and lose the memory of the text.
    QTest::newRow("cell outside the dimensions")
        << readAll(fixture("found-cell-outside-dimensions.xls")) << "" << vberr::ApplicationDefined;
    // Found by fuzzing: a sheet record inside a sheet's records made FreeXL
    // count another sheet, size it on the wrong one and lose memory.
    QTest::newRow("sheet record inside a sheet")
        << readAll(fixture("found-sheet-record-inside-sheet.xls")) << "" << vberr::ApplicationDefined;
    // Found by fuzzing: a text cell given again as a number made FreeXL lose
    // the memory of the text.
    QTest::newRow("cell given twice")
        << readAll(fixture("found-cell-given-twice.xls")) << "" << vberr::ApplicationDefined;
    // FreeXL empties the data sheet of such a workbook; it is refused instead.
    QTest::newRow("chart sheet before the data sheet")
        << readAll(fixture("chart-sheet-first.xls")) << "" << vberr::ApplicationDefined;
    // String tables that say more than they hold; FreeXL read far past its
    // buffers on the first two (found by fuzzing; a changed length).
    for (const char *f : {"found-string-table-overread.xls", "string-length-damaged.xls",
                          "string-length-beyond-table.xls", "string-count-beyond-table.xls",
                          "string-runs-beyond-table.xls", "string-phonetic-beyond-table.xls",
                          "text-index-outside-table.xls"})
        QTest::newRow(f) << readAll(fixture(f)) << "" << vberr::ApplicationDefined;
    // Records after the zeros that end them: FreeXL reads on there.
    QTest::newRow("records after zeros") << readAll(fixture("records-after-zeros.xls")) << ""
                                         << vberr::ApplicationDefined;
    // FreeXL keeps 8,192 cell formats and reads beyond its table after that.
    QTest::newRow("8,193 cell formats") << readAll(fixture("formats-8193.xls")) << "" << vberr::ApplicationDefined;
}

void TestWorkbook::openFailures()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, path);
    QFETCH(int, number);
    QTemporaryDir dir;
    if (!content.isNull()) {
        path = dir.filePath("book.xls");
        QVERIFY(writeFile(path, content));
    }
    SpreadsheetApp app;
    QCOMPARE(failureOf([&] { app.openWorkbook(path); }), number);
    QVERIFY(!app.activeWorkbook());
}

void TestWorkbook::damagedFilesFailCleanly_data()
{
    QTest::addColumn<QString>("file");
    for (const char *f : {"numbers.xls", "texts.xls", "formulas.xls", "error-cell.xls",
                          "two-sheets-second-active.xls", "ministream.xls", "diagonal.xls",
                          "string-table-split.xls", "formats.xls", "a1-text-16500.xls"})
        QTest::newRow(f) << QString::fromLatin1(f);
}

// Cuts, flipped bytes and overwritten runs over every part of a workbook:
// each copy either reads or fails with a VbError; nothing crashes or hangs.
void TestWorkbook::damagedFilesFailCleanly()
{
    QFETCH(QString, file);
    const QByteArray good = readAll(fixture(file));
    QVERIFY(!good.isEmpty());
    QTemporaryDir dir;
    const QString path = dir.filePath("damaged.xls");
    QRandomGenerator random(0xC0FFEE ^ quint32(qHash(file)));

    QList<QByteArray> copies;
    for (qsizetype cut = 0; cut < good.size(); cut += 211)
        copies.append(good.left(cut));
    for (int i = 0; i < 150; ++i) {
        QByteArray bad = good;
        const int flips = 1 + int(random.bounded(4));
        for (int k = 0; k < flips; ++k) {
            const qsizetype at = qsizetype(random.bounded(quint32(bad.size())));
            bad[at] = char(random.bounded(256));
        }
        copies.append(bad);
    }
    for (int i = 0; i < 30; ++i) {
        QByteArray bad = good;
        const qsizetype at = qsizetype(random.bounded(quint32(bad.size())));
        for (qsizetype k = at; k < std::min(bad.size(), at + 64); ++k)
            bad[k] = (i % 2) ? char(0xFF) : char(random.bounded(256));
        copies.append(bad);
    }
    int readable = 0;
    for (const QByteArray &bad : std::as_const(copies)) {
        // Our own check runs first on every open; only what it lets through
        // goes on to FreeXL, so only those copies need a file.
        try {
            xls::readWorkbook(bad);
        } catch (const FileError &) {
            continue;
        }
        ++readable;
        QVERIFY(writeFile(path, bad));
        readLikeTheImport(path);
    }
    QVERIFY(readable > 0);
}

void TestWorkbook::neverWritesTheWorkbook_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("opens");
    QTest::newRow("numbers") << "numbers.xls" << true;
    QTest::newRow("33,000 UTF-16 characters") << "a1-utf16-33000.xls" << true;
    QTest::newRow("string table overread") << "found-string-table-overread.xls" << false;
    QTest::newRow("string length damaged") << "string-length-damaged.xls" << false;
}

void TestWorkbook::neverWritesTheWorkbook()
{
    QFETCH(QString, file);
    QFETCH(bool, opens);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    const QByteArray before = readAll(fixture(file));
    QVERIFY(writeFile(path, before));
    const QDateTime past = QDateTime::currentDateTimeUtc().addDays(-3);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(past, QFileDevice::FileModificationTime));
    }
    // A file the user may only read opens as well.
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));

    SpreadsheetApp app;
    const int failure = failureOf([&] {
        auto book = app.openWorkbook(path);
        const Worksheet sheet = book->activeSheet();
        for (int k = 1; k <= sheet.currentRegionRows(); ++k)
            sheet.cellText(k, 1);
        app.activeWorkbook()->close();
    });
    QCOMPARE(failure, opens ? 0 : vberr::ApplicationDefined);
    app.quit();

    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(readAll(path), before);
    QCOMPARE(QFileInfo(path).lastModified().toUTC(), past);
}

void TestWorkbook::closeAndQuit()
{
    SpreadsheetApp app;
    auto first = app.openWorkbook(fixture("numbers.xls"));
    auto second = app.openWorkbook(fixture("texts.xls"));
    QCOMPARE(app.activeWorkbook(), second);
    const Worksheet sheet = second->activeSheet();
    app.activeWorkbook()->close();
    QVERIFY(!second->isOpen());
    QCOMPARE(failureOf([&] { sheet.cellText(1, 1); }), vberr::ServerUnavailable);
    QCOMPARE(failureOf([&] { second->activeSheet(); }), vberr::ServerUnavailable);
    QCOMPARE(app.activeWorkbook(), first); // the one still open

    const Worksheet kept = first->activeSheet();
    app.quit();
    QVERIFY(!first->isOpen());
    QVERIFY(!app.activeWorkbook());
    QCOMPARE(failureOf([&] { kept.currentRegion(); }), vberr::ServerUnavailable);
    QCOMPARE(failureOf([&] { app.openWorkbook(fixture("numbers.xls")); }), vberr::ServerUnavailable);
    QCOMPARE(failureOf([] { Worksheet().cellText(1, 1); }), vberr::ServerUnavailable);
}

// The two things FreeXL 1.0.6 gets wrong on its own, read from the file.
void TestWorkbook::ourReaderFindsWhatFreeXLMisses()
{
    const xls::WorkbookScan two = xls::readWorkbook(readAll(fixture("two-sheets-second-active.xls")));
    QCOMPARE(two.biffVersion, 8);
    QCOMPARE(two.sheets.size(), 2);
    QCOMPARE(two.activeTab, 1);
    QCOMPARE(xls::readWorkbook(readAll(fixture("two-sheets-first-active.xls"))).activeTab, 0);

    const xls::WorkbookScan errors = xls::readWorkbook(readAll(fixture("error-cell.xls")));
    const auto &cells = errors.sheets[0].cells;
    QCOMPARE(cells.size(), 4);
    const xls::CellValue div0 = cells.value(xls::cellKey(1, 1));
    QCOMPARE(div0.kind, xls::ValueKind::Error);
    QCOMPARE(int(div0.errorCode), 0x07);
    QCOMPARE(cells.value(xls::cellKey(2, 0)).errorCode, std::uint8_t(0x2A));
    QCOMPARE(cells.value(xls::cellKey(2, 1)).kind, xls::ValueKind::Boolean);
    QVERIFY(cells.value(xls::cellKey(2, 1)).boolean);
    QVERIFY(!cells.value(xls::cellKey(3, 0)).boolean);
}

QTEST_MAIN(TestWorkbook)
#include "tst_workbook.moc"

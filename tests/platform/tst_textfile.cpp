#include "platform/shell.h"
#include "platform/textfile.h"
#include "platform/vberror.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

Q_DECLARE_METATYPE(platform::LineBreaks)

namespace {

// Every line of the file through a LineReader.
QStringList readerLines(const QString &path, LineBreaks breaks)
{
    LineReader r(path, breaks);
    QStringList lines;
    while (!r.atEnd())
        lines << r.readLine();
    return lines;
}

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void everyByteRoundTrips();
    void knownCharacters_data();
    void knownCharacters();
    void unmappableCharacter();
    void splitLines_data();
    void splitLines();
    void lineReaderMatchesSplit_data();
    void lineReaderMatchesSplit();
    void lineReaderAcrossBlocks_data();
    void lineReaderAcrossBlocks();
    void lineReaderPeek();
    void lineReaderPastEnd();
    void writeAndReadBack();
    void atomicReplace();
    void lineEndAtEnd_data();
    void lineEndAtEnd();
    void failures_data();
    void failures();
};

void TestTextFile::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = fromAnsi(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(toAnsi(text), all);
    // No byte turns into the replacement character or into another byte's character.
    QSet<QChar> seen;
    for (QChar c : text) {
        QVERIFY(c != QChar::ReplacementCharacter);
        seen.insert(c);
    }
    QCOMPARE(seen.size(), 256);

    // Through a file as well.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bytes.txt"));
    writeLinesAtomic(path, {text.left(13), text.mid(14)}); // leave out CR (13)
    QCOMPARE(readLines(path), (QStringList{text.left(13), text.mid(14)}));
}

void TestTextFile::knownCharacters_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("undefined 81") << 0x81 << 0x81;
    QTest::newRow("undefined 8D") << 0x8D << 0x8D;
    QTest::newRow("undefined 8F") << 0x8F << 0x8F;
    QTest::newRow("undefined 90") << 0x90 << 0x90;
    QTest::newRow("undefined 9D") << 0x9D << 0x9D;
    QTest::newRow("left quote") << 0x93 << 0x201C;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("n tilde") << 0xF1 << 0x00F1;
    QTest::newRow("a acute") << 0xE1 << 0x00E1;
    QTest::newRow("no-break space") << 0xA0 << 0x00A0;
}

void TestTextFile::knownCharacters()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    const QByteArray b(1, static_cast<char>(byte));
    QCOMPARE(int(fromAnsi(b).at(0).unicode()), unicode);
    // The defined characters agree with the platform's own Windows-1252 codec.
    QStringDecoder dec("windows-1252");
    if (dec.isValid() && byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D)
        QCOMPARE(QString(dec.decode(b)), fromAnsi(b));
}

void TestTextFile::unmappableCharacter()
{
    QCOMPARE(toAnsi(QStringLiteral("a\u4e2db")), QByteArray("a?b"));
}

void TestTextFile::splitLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<LineBreaks>("breaks");
    QTest::addColumn<QStringList>("lines");
    const LineBreaks cr = LineBreaks::Cr;
    const LineBreaks lf = LineBreaks::CrOrLf;
    QTest::newRow("empty") << QByteArray() << cr << QStringList();
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << cr << QStringList{"a", "b"};
    QTest::newRow("CR only") << QByteArray("a\rb\r") << cr << QStringList{"a", "b"};
    QTest::newRow("LF only is text") << QByteArray("a\nb\n") << cr << QStringList{"a\nb\n"};
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << cr << QStringList{"a\n", "b"};
    QTest::newRow("no line end at the end") << QByteArray("a\r\nb") << cr << QStringList{"a", "b"};
    QTest::newRow("CR CR LF: two empty lines") << QByteArray("\r\r\n") << cr << QStringList{"", ""};
    QTest::newRow("CR LF LF: LF starts the next line") << QByteArray("a\r\n\nb\r\n") << cr << QStringList{"a", "\nb"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << cr << QStringList{"", ""};
    QTest::newRow("only LF") << QByteArray("\n") << cr << QStringList{"\n"};
    QTest::newRow("bytes above 0x7F") << QByteArray("A\xf1o\r\n\x80") << cr << QStringList{"Año", "€"};
    QTest::newRow("NUL byte") << QByteArray("a\0b", 3) << cr
                              << QStringList{QString(QStringLiteral("a")) + QChar(0) + "b"};

    // Files of points: a lone LF ends a line as well.
    QTest::newRow("lf: empty") << QByteArray() << lf << QStringList();
    QTest::newRow("lf: CR LF") << QByteArray("a\r\nb\r\n") << lf << QStringList{"a", "b"};
    QTest::newRow("lf: CR only") << QByteArray("a\rb\r") << lf << QStringList{"a", "b"};
    QTest::newRow("lf: LF only") << QByteArray("a\nb\n") << lf << QStringList{"a", "b"};
    QTest::newRow("lf: mixed") << QByteArray("a\nb\r\nc\rd") << lf << QStringList{"a", "b", "c", "d"};
    QTest::newRow("lf: LF CR is two line ends") << QByteArray("a\n\rb") << lf << QStringList{"a", "", "b"};
    QTest::newRow("lf: CR LF LF: an empty line") << QByteArray("a\r\n\nb\r\n") << lf << QStringList{"a", "", "b"};
    QTest::newRow("lf: CR CR LF: two empty lines") << QByteArray("\r\r\n") << lf << QStringList{"", ""};
    QTest::newRow("lf: only LF") << QByteArray("\n") << lf << QStringList{""};
    QTest::newRow("lf: LF LF") << QByteArray("\n\n") << lf << QStringList{"", ""};
    QTest::newRow("lf: no line end at the end") << QByteArray("a\nb") << lf << QStringList{"a", "b"};
    QTest::newRow("lf: bytes above 0x7F") << QByteArray("A\xf1o\n\x80") << lf << QStringList{"Año", "€"};
}

void TestTextFile::splitLines()
{
    QFETCH(QByteArray, content);
    QFETCH(LineBreaks, breaks);
    QFETCH(QStringList, lines);
    QCOMPARE(platform::splitLines(content, breaks), lines);
}

void TestTextFile::lineReaderMatchesSplit_data() { splitLines_data(); }

void TestTextFile::lineReaderMatchesSplit()
{
    QFETCH(QByteArray, content);
    QFETCH(LineBreaks, breaks);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.txt"));
    writeBytesAtomic(path, content);
    QCOMPARE(readerLines(path, breaks), lines);
    QCOMPARE(readLines(path, breaks), lines);
}

// The reader takes the file a block at a time: a line end split between two
// blocks, a line longer than a block and a file of many blocks read as the
// whole content splits.
void TestTextFile::lineReaderAcrossBlocks_data()
{
    QTest::addColumn<QByteArray>("content");
    const qsizetype block = 64 * 1024;
    QTest::newRow("CR LF split between blocks") << QByteArray(block - 1, 'a') + "\r\nb\r\n";
    QTest::newRow("CR at the end of a block and the file") << QByteArray(block - 1, 'a') + "\r";
    QTest::newRow("CR CR LF split") << QByteArray(block - 2, 'a') + "\r\r\nb";
    QTest::newRow("LF first in a block") << QByteArray(block, 'a') + "\nb";
    QTest::newRow("line of three blocks") << QByteArray(3 * block + 5, 'x') + "\r\ny";
    QByteArray many;
    for (int i = 0; i < 40000; ++i)
        many += QByteArray::number(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    QTest::newRow("many lines, mixed ends") << many;
}

void TestTextFile::lineReaderAcrossBlocks()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.txt"));
    writeBytesAtomic(path, content);
    for (const LineBreaks breaks : {LineBreaks::Cr, LineBreaks::CrOrLf})
        QCOMPARE(readerLines(path, breaks), platform::splitLines(content, breaks));
}

// peek shows the bytes ahead without taking them.
void TestTextFile::lineReaderPeek()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.txt"));
    writeBytesAtomic(path, "[GENERAL]\r\nx\nyz");
    LineReader r(path, LineBreaks::CrOrLf);
    QCOMPARE(r.peek(10), QByteArray("[GENERAL]\r"));
    QCOMPARE(r.readLine(), QStringLiteral("[GENERAL]"));
    QCOMPARE(r.peek(100), QByteArray("x\nyz"));
    QCOMPARE(r.readLine(), QStringLiteral("x"));
    QCOMPARE(r.readLine(), QStringLiteral("yz"));
    QCOMPARE(r.peek(10), QByteArray());
    QVERIFY(r.atEnd());
}

void TestTextFile::lineReaderPastEnd()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.txt"));
    writeLinesAtomic(path, {QStringLiteral("only")});
    LineReader r(path);
    QCOMPARE(r.readLine(), QStringLiteral("only"));
    try {
        r.readLine();
        QFAIL("no failure");
    } catch (const FileError &e) {
        QCOMPARE(e.number(), vberr::InputPastEnd);
    }
}

void TestTextFile::writeAndReadBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.txt"));
    const QStringList lines{QStringLiteral("Año"), QString(), QStringLiteral("x\ny"), QStringLiteral("€")};
    writeLinesAtomic(path, lines);
    QCOMPARE(readAll(path), QByteArray("A\xf1o\r\n\r\nx\ny\r\n\x80\r\n"));
    QCOMPARE(readLines(path), lines);
    QCOMPARE(joinLines({}), QByteArray());
}

void TestTextFile::atomicReplace()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.txt"));
    writeLinesAtomic(path, {QStringLiteral("old")});
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    writeBytesAtomic(path, QByteArray("new\r\n"));
    QCOMPARE(readAll(path), QByteArray("new\r\n"));
    QCOMPARE(QFile::permissions(path) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("f.txt")});
}

void TestTextFile::lineEndAtEnd_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("closed");
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("CR LF") << QByteArray("a\r\n") << true;
    QTest::newRow("CR") << QByteArray("a\r") << true;
    QTest::newRow("lone LF") << QByteArray("a\n") << false;
    QTest::newRow("text") << QByteArray("a") << false;
}

void TestTextFile::lineEndAtEnd()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, closed);
    QCOMPARE(endsWithLineEnd(content), closed);
}

void TestTextFile::failures_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("error");
    QTest::newRow("read missing file") << 0 << vberr::FileNotFound;
    QTest::newRow("read in missing folder") << 1 << vberr::PathNotFound;
    QTest::newRow("read a folder") << 2 << vberr::PathFileAccess;
    QTest::newRow("line reader on missing file") << 3 << vberr::FileNotFound;
    QTest::newRow("write in missing folder") << 4 << vberr::PathNotFound;
}

void TestTextFile::failures()
{
    QFETCH(int, operation);
    QFETCH(int, error);
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.txt"));
    const QString inMissingFolder = dir.filePath(QStringLiteral("nofolder/none.txt"));
    try {
        switch (operation) {
        case 0:
            readAll(missing);
            break;
        case 1:
            readLines(inMissingFolder);
            break;
        case 2:
            readAll(dir.path());
            break;
        case 3:
            LineReader{missing};
            break;
        case 4:
            writeLinesAtomic(inMissingFolder, {QStringLiteral("x")});
            break;
        }
        QFAIL("no failure");
    } catch (const FileError &e) {
        QCOMPARE(e.number(), error);
        QVERIFY(e.description().contains(QStringLiteral("none.txt")) || operation == 2);
    }
    QVERIFY(!QFile::exists(missing));
    QVERIFY(!QFile::exists(inMissingFolder));
}

QTEST_MAIN(TestTextFile)
#include "tst_textfile.moc"

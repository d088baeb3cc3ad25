#include "language/ini.h"
#include "limitetamano.h"
#include "platform/programfolder.h"
#include "platform/textfile.h"
#include "platform/vberror.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using platform::FileError;

class TestIni : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void leerini_data();
    void leerini();
    void existeseccion_data();
    void existeseccion();
    void leersecciones_data();
    void leersecciones();
    void crearseccion_data();
    void crearseccion();
    void escribirini_data();
    void escribirini();
    void escribiriniReadsBack();
    void noScratchFileLeft();
    void missingFile_data();
    void missingFile();
    void failedRewriteKeepsFile();
    void shortWriteKeepsFile_data();
    void shortWriteKeepsFile();
    void tooManySections_data();
    void tooManySections();
    void writesKeepEveryOtherValue();

private:
    QString write(const QByteArray &bytes);
    QByteArray read() const;

    QTemporaryDir *dataDir_ = nullptr;
    QTemporaryDir *programDir_ = nullptr;
    QString path_;
};

void TestIni::init()
{
    dataDir_ = new QTemporaryDir;
    programDir_ = new QTemporaryDir;
    QVERIFY(dataDir_->isValid() && programDir_->isValid());
    platform::setProgramFolder(programDir_->path());
    path_ = dataDir_->filePath(QStringLiteral("idioma.lng"));
}

void TestIni::cleanup()
{
    platform::setProgramFolder(QString());
    delete dataDir_;
    delete programDir_;
}

QString TestIni::write(const QByteArray &bytes)
{
    QFile f(path_);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write the test file");
    return path_;
}

QByteArray TestIni::read() const
{
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

void TestIni::leerini_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("seccion");
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("expected");

    const QByteArray lang = "[idioma]\r\nidioma=English\r\n\r\n[English]\r\n1=File\r\n2=Open\r\n\r\n"
                            "[French]\r\n1=Fichier\r\n1 =x\r\n7=a = b\r\n";
    QTest::newRow("section without case") << lang << "FRENCH" << "1" << "Fichier";
    QTest::newRow("key without case") << QByteArray("[a]\r\nAbC=1\r\n") << "a" << "aBc" << "1";
    QTest::newRow("key not trimmed: no match") << QByteArray("[a]\r\n1 =x\r\n") << "a" << "1" << "";
    QTest::newRow("key not trimmed: blank matches") << QByteArray("[a]\r\n1 =x\r\n") << "a" << "1 " << "x";
    QTest::newRow("value after first equals, untouched") << lang << "French" << "7" << "a = b";
    QTest::newRow("first section only") << lang << "English" << "2" << "Open";
    QTest::newRow("header ends the search") << lang << "English" << "7" << "";
    QTest::newRow("duplicate section never searched")
        << QByteArray("[a]\r\nx=1\r\n[a]\r\ny=2\r\n") << "a" << "y" << "";
    QTest::newRow("first entry wins") << QByteArray("[a]\r\nx=1\r\nx=2\r\n") << "a" << "x" << "1";
    QTest::newRow("empty value") << QByteArray("[a]\r\n5=\r\n") << "a" << "5" << "";
    QTest::newRow("missing key") << QByteArray("[a]\r\n6=x\r\n") << "a" << "5" << "";
    QTest::newRow("missing section") << lang << "German" << "1" << "";
    QTest::newRow("header without closing bracket") << QByteArray("[abc\r\nk=v\r\n") << "ab" << "k" << "v";
    QTest::newRow("header [abc is not abc") << QByteArray("[abc\r\nk=v\r\n") << "abc" << "k" << "";
    QTest::newRow("empty section name") << QByteArray("[]\r\nk=v\r\n") << "" << "k" << "v";
    QTest::newRow("blanks in the name") << QByteArray("[ abc ]\r\nk=v\r\n") << " abc " << "k" << "v";
    QTest::newRow("blanks in the name: trimmed fails") << QByteArray("[ abc ]\r\nk=v\r\n") << "abc" << "k" << "";
    QTest::newRow("indented header is not a header")
        << QByteArray("[a]\r\n [b]\r\nk=v\r\n") << "a" << "k" << "v";
    QTest::newRow("lines before the first header are not entries")
        << QByteArray("k=0\r\n[a]\r\n") << "a" << "k" << "";
    QTest::newRow("empty lines skipped") << QByteArray("[a]\r\n\r\n\r\nk=v\r\n") << "a" << "k" << "v";
    QTest::newRow("line without equals skipped") << QByteArray("[a]\r\n   \r\nnoequals\r\nk=v\r\n") << "a"
                                                 << "k" << "v";
    QTest::newRow("CR-only line ends") << QByteArray("[a]\rx=1\ry=2\r") << "a" << "y" << "2";
    QTest::newRow("CR CR LF is two empty lines") << QByteArray("[a]\r\r\nk=v\r\n") << "a" << "k" << "v";
    QTest::newRow("LF-only: one long line") << QByteArray("[a]\nx=1\n") << "a" << "x" << "";
    QTest::newRow("LF-only: header name takes the LF")
        << QByteArray("[a]\nx=1\r\nk=v\r\n") << "a]\nx=" << "k" << "v";
    QTest::newRow("lone LF inside a value") << QByteArray("[a]\r\nk=1\n2\r\n") << "a" << "k" << "1\n2";
    QTest::newRow("last line without line end") << QByteArray("[a]\r\nk=v") << "a" << "k" << "v";
    QTest::newRow("empty file") << QByteArray() << "a" << "k" << "";
    QTest::newRow("accented key without case") << QByteArray("[a]\r\n\xe1=1\r\n") << "A"
                                               << QString::fromUtf8("Á") << "1";
    QTest::newRow("accented byte is not its plain letter") << QByteArray("[a]\r\n\xe1=1\r\n") << "a" << "a"
                                                           << "";
    QTest::newRow("upper-case ASCII bytes") << QByteArray("[ENGLISH]\r\nKEY=1\r\n") << "english" << "key"
                                            << "1";
    QTest::newRow("bytes above 0x7F") << QByteArray("[Espa\xf1ol]\r\n1=A\xf1o \x80\x81\x9d\xff\r\n")
                                      << QString::fromUtf8("ESPAÑOL") << "1"
                                      << QString::fromUtf8("Año €\u0081\u009dÿ");
}

void TestIni::leerini()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, seccion);
    QFETCH(QString, clave);
    QFETCH(QString, expected);
    QCOMPARE(::leerini(write(file), seccion, clave), expected);
}

void TestIni::existeseccion_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("seccion");
    QTest::addColumn<bool>("exists");
    QTest::newRow("present") << QByteArray("[idioma]\r\n[French]\r\n") << "french" << true;
    QTest::newRow("duplicate") << QByteArray("[a]\r\nx=1\r\n[a]\r\ny=2\r\n") << "a" << true;
    QTest::newRow("absent") << QByteArray("[idioma]\r\n") << "French" << false;
    QTest::newRow("empty file") << QByteArray() << "a" << false;
    QTest::newRow("entry text is not a header") << QByteArray("[x]\r\n a=[b]\r\n") << "b" << false;
    QTest::newRow("lone bracket") << QByteArray("[\r\n") << "" << true;
    QTest::newRow("last line without line end") << QByteArray("k=v\r\n[z]") << "Z" << true;
}

void TestIni::existeseccion()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, seccion);
    QFETCH(bool, exists);
    QCOMPARE(::existeseccion(write(file), seccion), platform::toVbBool(exists));
}

void TestIni::leersecciones_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("after");
    const QStringList old{QStringLiteral("old1"), QStringLiteral("old2"), QStringLiteral("old3")};
    QTest::newRow("no headers") << QByteArray("k=v\r\n") << old << -1 << old;
    QTest::newRow("one header") << QByteArray("[idioma]\r\nidioma=English\r\n") << old << 0 << old;
    QTest::newRow("three headers") << QByteArray("[idioma]\r\n[French]\r\n1=a\r\n\r\n[German]\r\n") << old << 2
                                   << QStringList{QStringLiteral("French"), QStringLiteral("German")};
    QTest::newRow("grows from empty") << QByteArray("[idioma]\r[French]\r[German]") << QStringList() << 2
                                      << QStringList{QStringLiteral("French"), QStringLiteral("German")};
    QTest::newRow("duplicates listed, spelled as in the file")
        << QByteArray("[idioma]\r\n[FRENCH]\r\n[french]\r\n") << QStringList() << 2
        << QStringList{QStringLiteral("FRENCH"), QStringLiteral("french")};
    QTest::newRow("empty file") << QByteArray() << old << -1 << old;
}

void TestIni::leersecciones()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, before);
    QFETCH(int, result);
    QFETCH(QStringList, after);
    QStringList secciones = before;
    QCOMPARE(int(::leersecciones(write(file), secciones)), result);
    QCOMPARE(secciones, after);
}

void TestIni::crearseccion_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("seccion");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("appends CR line and header")
        << QByteArray("[idioma]\r\nidioma=English\r\n") << "French"
        << QByteArray("[idioma]\r\nidioma=English\r\n\r\r\n[French]\r\n");
    QTest::newRow("present: nothing happens") << QByteArray("[french]\r\n1=a") << "French"
                                              << QByteArray("[french]\r\n1=a");
    QTest::newRow("empty file") << QByteArray() << "a" << QByteArray("\r\r\n[a]\r\n");
    // The CR of the added CR line ends an unterminated last line: no
    // surplus empty line before the new header.
    QTest::newRow("unterminated last line: ended by the CR line")
        << QByteArray("[a]\r\nx=1") << "b" << QByteArray("[a]\r\nx=1\r\r\n[b]\r\n");
    QTest::newRow("unterminated header: ended by the CR line") << QByteArray("[a]") << "b"
                                                               << QByteArray("[a]\r\r\n[b]\r\n");
    QTest::newRow("CR counts as a line end") << QByteArray("[a]\r") << "b" << QByteArray("[a]\r\r\r\n[b]\r\n");
    QTest::newRow("trailing lone LF is text") << QByteArray("[a]\r\nx=1\n") << "b"
                                              << QByteArray("[a]\r\nx=1\n\r\r\n[b]\r\n");
    QTest::newRow("name written in ANSI") << QByteArray() << QString::fromUtf8("Español")
                                          << QByteArray("\r\r\n[Espa\xf1ol]\r\n");
}

void TestIni::crearseccion()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, seccion);
    QFETCH(QByteArray, after);
    ::crearseccion(write(before), seccion);
    QCOMPARE(read(), after);
}

void TestIni::escribirini_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("seccion");
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("missing section: appended, earlier lines untouched")
        << QByteArray("[idioma]\r\nidioma=Espa\xf1ol\rx\n\r\n") << "French" << "1" << "Un"
        << QByteArray("[idioma]\r\nidioma=Espa\xf1ol\rx\n\r\n\r\r\n[French]\r\n1=Un\r\n");
    QTest::newRow("present key: its line only, empty lines before it go")
        << QByteArray("[a]\r\n\r\n\r\nx=1\r\ny=2\r\n\r\n[b]\r\nx=3\r\n") << "a" << "x" << "9"
        << QByteArray("[a]\r\nx=9\r\ny=2\r\n\r\n[b]\r\nx=3\r\n");
    QTest::newRow("key spelled as the caller gives it") << QByteArray("[A]\r\nKEY=1\r\n") << "a" << "key" << "2"
                                                        << QByteArray("[A]\r\nkey=2\r\n");
    QTest::newRow("missing key before another section: two empty lines")
        << QByteArray("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n") << "a" << "z" << "5"
        << QByteArray("[a]\r\nx=1\r\nz=5\r\n\r\n\r\n[b]\r\ny=2\r\n");
    QTest::newRow("missing key in last section: appended, empty lines stay")
        << QByteArray("[a]\r\nx=1\r\n\r\n") << "a" << "z" << "5" << QByteArray("[a]\r\nx=1\r\n\r\nz=5\r\n");
    QTest::newRow("value with equals and blanks") << QByteArray("[a]\r\nk=0\r\n") << "a" << "k" << " = b "
                                                  << QByteArray("[a]\r\nk= = b \r\n");
    QTest::newRow("CR-only file rewritten with CR LF")
        << QByteArray("[a]\rx=1\r[b]\ry=2\r") << "a" << "x" << "2" << QByteArray("[a]\r\nx=2\r\n[b]\r\ny=2\r\n");
    QTest::newRow("rewrite ends an unterminated last line")
        << QByteArray("[a]\r\nx=1\r\n[b]\r\ny=2") << "a" << "x" << "3" << QByteArray("[a]\r\nx=3\r\n[b]\r\ny=2\r\n");
    QTest::newRow("CR lines of an earlier insert become empty lines")
        << QByteArray("[a]\r\nx=1\r\n\r\r\n[b]\r\ny=2\r\n") << "b" << "y" << "3"
        << QByteArray("[a]\r\nx=1\r\n\r\n\r\n[b]\r\ny=3\r\n");
    QTest::newRow("duplicate sections: each gets the entry")
        << QByteArray("[a]\r\nx=1\r\n[b]\r\n[a]\r\nx=2\r\n") << "a" << "x" << "9"
        << QByteArray("[a]\r\nx=9\r\n[b]\r\n[a]\r\nx=9\r\n");
    QTest::newRow("header right after the section is not searched again")
        << QByteArray("[a]\r\nx=1\r\n[a]\r\ny=2\r\n") << "a" << "z" << "3"
        << QByteArray("[a]\r\nx=1\r\nz=3\r\n\r\n\r\n[a]\r\ny=2\r\n");
    QTest::newRow("unterminated last entry: appended on a line of its own")
        << QByteArray("[a]\r\nx=1") << "a" << "k" << "2" << QByteArray("[a]\r\nx=1\r\nk=2\r\n");
    QTest::newRow("unterminated header: appended on a line of its own")
        << QByteArray("[a]") << "a" << "k" << "2" << QByteArray("[a]\r\nk=2\r\n");
    QTest::newRow("unterminated file, new section") << QByteArray("x=1") << "b" << "k" << "2"
                                                    << QByteArray("x=1\r\r\n[b]\r\nk=2\r\n");
    QTest::newRow("empty file") << QByteArray() << "a" << "k" << "v" << QByteArray("\r\r\n[a]\r\nk=v\r\n");
    QTest::newRow("LF-only file is one line")
        << QByteArray("[a]\nx=1\n") << "a" << "x" << "2" << QByteArray("[a]\nx=1\n\r\r\n[a]\r\nx=2\r\n");
    QTest::newRow("bytes above 0x7F survive the rewrite")
        << QByteArray("[a]\r\nw=\x81\x8d\x8f\x90\x9d\xff\r\n[b]\r\nv=\x80\r\n") << "a" << "z"
        << QString::fromUtf8("é€")
        << QByteArray("[a]\r\nw=\x81\x8d\x8f\x90\x9d\xff\r\nz=\xe9\x80\r\n\r\n\r\n[b]\r\nv=\x80\r\n");
}

void TestIni::escribirini()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, seccion);
    QFETCH(QString, clave);
    QFETCH(QString, valor);
    QFETCH(QByteArray, after);
    ::escribirini(write(before), seccion, clave, valor);
    QCOMPARE(read(), after);
}

void TestIni::escribiriniReadsBack()
{
    // The language switch: write, then read through the other procedures.
    const QString f = write("[idioma]\r\nidioma=Espa\xf1ol\r\n\r\n[Espa\xf1ol]\r\n1=Archivo\r\n");
    ::escribirini(f, QStringLiteral("idioma"), QStringLiteral("idioma"), QStringLiteral("English"));
    ::escribirini(f, QStringLiteral("English"), QStringLiteral("1"), QStringLiteral("File"));
    ::escribirini(f, QStringLiteral("English"), QStringLiteral("2"), QStringLiteral("Open"));
    QCOMPARE(::leerini(f, QStringLiteral("IDIOMA"), QStringLiteral("idioma")), QStringLiteral("English"));
    QCOMPARE(::leerini(f, QStringLiteral("english"), QStringLiteral("2")), QStringLiteral("Open"));
    QCOMPARE(::leerini(f, QString::fromUtf8("español"), QStringLiteral("1")), QStringLiteral("Archivo"));
    QStringList names;
    QCOMPARE(int(::leersecciones(f, names)), 2);
    QCOMPARE(names, (QStringList{QString::fromUtf8("Español"), QStringLiteral("English")}));
}

void TestIni::noScratchFileLeft()
{
    // A scratch file of an earlier run is left alone; nothing new is left in
    // the program folder or beside the file.
    const QString f = write("[a]\r\nx=1\r\n[b]\r\n");
    ::escribirini(f, QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("2")); // rewrite
    ::escribirini(f, QStringLiteral("b"), QStringLiteral("y"), QStringLiteral("3")); // append
    ::escribirini(f, QStringLiteral("c"), QStringLiteral("z"), QStringLiteral("4")); // new section
    QCOMPARE(QDir(programDir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
    QCOMPARE(QDir(dataDir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("idioma.lng")});
    QCOMPARE(read(), QByteArray("[a]\r\nx=2\r\n[b]\r\ny=3\r\n\r\r\n[c]\r\nz=4\r\n"));
}

void TestIni::missingFile_data()
{
    QTest::addColumn<int>("procedure");
    QTest::newRow("leerini") << 0;
    QTest::newRow("escribirini") << 1;
    QTest::newRow("crearseccion") << 2;
    QTest::newRow("existeseccion") << 3;
    QTest::newRow("leersecciones") << 4;
    QTest::newRow("a folder as the file") << 5;
}

void TestIni::missingFile()
{
    QFETCH(int, procedure);
    const QString missing = dataDir_->filePath(QStringLiteral("nothere.lng"));
    QStringList list;
    try {
        switch (procedure) {
        case 0:
            ::leerini(missing, QStringLiteral("a"), QStringLiteral("1"));
            break;
        case 1:
            ::escribirini(missing, QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("x"));
            break;
        case 2:
            ::crearseccion(missing, QStringLiteral("a"));
            break;
        case 3:
            ::existeseccion(missing, QStringLiteral("a"));
            break;
        case 4:
            ::leersecciones(missing, list);
            break;
        case 5:
            ::leerini(dataDir_->path(), QStringLiteral("a"), QStringLiteral("1"));
            break;
        }
        QFAIL("no failure");
    } catch (const FileError &e) {
        QVERIFY(!e.description().isEmpty());
    }
    QVERIFY(!QFile::exists(missing));
    QVERIFY(list.isEmpty());
}

void TestIni::failedRewriteKeepsFile()
{
    const QByteArray before("[a]\r\nx=1\r\n[b]\r\ny=2\r\n");
    const QString f = write(before);
    // Make the folder refuse new files while the file itself stays writable.
    QVERIFY(QFile::setPermissions(dataDir_->path(), QFile::ReadOwner | QFile::ExeOwner));
    bool immutable = false;
    QFile probe(dataDir_->filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) { // running as root
        probe.close();
        probe.remove();
        immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dataDir_->path()}) == 0;
        if (!immutable || probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dataDir_->path()});
            QFile::setPermissions(dataDir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("cannot make a folder refuse new files here");
        }
    }
    bool failed = false;
    try {
        ::escribirini(f, QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("2"));
    } catch (const FileError &) {
        failed = true;
    }
    if (immutable)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dataDir_->path()});
    QFile::setPermissions(dataDir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(failed);
    QCOMPARE(read(), before);
    QCOMPARE(QDir(dataDir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("idioma.lng")});
}

void TestIni::shortWriteKeepsFile_data()
{
    QTest::addColumn<int>("procedure");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("seccion");
    const QByteArray noKey("[idioma]\r\n\r\n[English]\r\n1=File\r\n");
    QTest::newRow("crearseccion") << 0 << noKey << "Deutsch";
    QTest::newRow("crearseccion, unterminated last line") << 0 << QByteArray("[a]\r\nx=1") << "b";
    QTest::newRow("escribirini, new section") << 1 << noKey << "Deutsch";
    QTest::newRow("escribirini, key appended to the last section") << 1 << noKey << "English";
    QTest::newRow("escribirini, key appended after an unterminated line")
        << 1 << QByteArray("[a]\r\nx=1") << "a";
    QTest::newRow("escribirini, key line rewritten") << 1 << QByteArray("[idioma]\r\nidioma=English\r\n") << "idioma";
}

void TestIni::shortWriteKeepsFile()
{
    // A disk that fills up after a few bytes: the file stays as it was, byte
    // for byte, and nothing is left beside it.
    QFETCH(int, procedure);
    QFETCH(QByteArray, before);
    QFETCH(QString, seccion);
    const QString f = write(before);
    bool failed = false;
    {
        LimiteTamano limite(static_cast<rlim_t>(before.size() + 3));
        QVERIFY(limite.ok());
        try {
            if (procedure == 0)
                ::crearseccion(f, seccion);
            else
                ::escribirini(f, seccion, QStringLiteral("idioma"), QStringLiteral("Deutsch (Schweiz)"));
        } catch (const FileError &e) {
            failed = !e.description().isEmpty();
        }
    }
    QVERIFY(failed);
    QCOMPARE(read(), before);
    QCOMPARE(QDir(dataDir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("idioma.lng")});
}

void TestIni::tooManySections_data()
{
    QTest::addColumn<int>("headers");
    QTest::addColumn<bool>("readable");
    QTest::newRow("32768 headers: the largest count") << 32768 << true;
    QTest::newRow("32769 headers") << 32769 << false;
    QTest::newRow("65538 headers") << 65538 << false;
}

void TestIni::tooManySections()
{
    // The count is a 16-bit number: a file with more headers than it can
    // count is refused as unreadable, never given a wrapped count.
    QFETCH(int, headers);
    QFETCH(bool, readable);
    QByteArray file;
    for (int i = 0; i < headers; ++i)
        file += "[s" + QByteArray::number(i) + "]\r\n";
    const QString f = write(file);
    const QStringList old{QStringLiteral("old")};
    QStringList secciones = old;
    try {
        const int n = ::leersecciones(f, secciones);
        QVERIFY(readable);
        QCOMPARE(n, headers - 1);
        QCOMPARE(secciones.size(), headers - 1);
        QCOMPARE(secciones.last(), QStringLiteral("s%1").arg(headers - 1));
    } catch (const FileError &e) {
        QVERIFY2(!readable, qPrintable(e.description()));
        QCOMPARE(secciones, old);
    }
}

void TestIni::writesKeepEveryOtherValue()
{
    // Random well-formed files (unique section names, unique keys, empty
    // lines here and there, CR LF or CR line ends): after each write the
    // written key reads back its value and every other key keeps its own.
    QRandomGenerator rng(20261207);
    for (int round = 0; round < 40; ++round) {
        QMap<QString, QMap<QString, QString>> model; // section -> key -> value
        QStringList sectionOrder;
        QByteArray file;
        const QByteArray eol = rng.bounded(2) ? QByteArray("\r\n") : QByteArray("\r");
        const int nSections = 1 + rng.bounded(4);
        for (int s = 0; s < nSections; ++s) {
            const QString name = QStringLiteral("Sec%1").arg(s);
            sectionOrder << name;
            file += "[" + name.toLatin1() + "]" + eol;
            const int nKeys = rng.bounded(5);
            for (int k = 0; k < nKeys; ++k) {
                if (rng.bounded(3) == 0)
                    file += eol;
                const QString key = QString::number(k + 1);
                const QString value = QStringLiteral("v%1 = \xe9%2").arg(s).arg(k);
                model[name][key] = value;
                file += platform::toAnsi(key + "=" + value) + eol;
            }
            if (rng.bounded(2))
                file += eol;
        }
        if (rng.bounded(3) == 0 && file.endsWith(eol))
            file.chop(eol.size()); // last line without its line end
        write(file);

        for (int w = 0; w < 6; ++w) {
            const int pick = rng.bounded(nSections + 1);
            const QString section = pick < nSections ? sectionOrder[pick] : QStringLiteral("New%1").arg(w);
            const QString key = QString::number(1 + rng.bounded(6));
            const QString value = QStringLiteral("w%1\xf1").arg(w);
            const QString caseOfCall = rng.bounded(2) ? section.toUpper() : section;
            if (pick == nSections)
                sectionOrder << caseOfCall; // a new header is spelled as the caller gave it
            ::escribirini(path_, caseOfCall, key, value);
            model[pick == nSections ? caseOfCall : section][key] = value;

            for (const QString &sec : sectionOrder)
                for (int k = 1; k <= 6; ++k) {
                    const QString kk = QString::number(k);
                    QCOMPARE(::leerini(path_, sec, kk), model.value(sec).value(kk));
                }
            QStringList names;
            QCOMPARE(int(::leersecciones(path_, names)), sectionOrder.size() - 1);
            QCOMPARE(names, sectionOrder.mid(1));
        }
    }
}

QTEST_MAIN(TestIni)
#include "tst_ini.moc"

#include "platform/commondialog.h"
#include "platform/programfolder.h"
#include "platform/vberror.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace platform;

class TestCommonDialog : public QObject {
    Q_OBJECT
private slots:
    void nameFilters_data();
    void nameFilters();
    void scriptedAnswers_data();
    void scriptedAnswers();
    void recordsTheCall();
    void realDialog_data();
    void realDialog();
    void programFolderSetter();
};

void TestCommonDialog::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("data and all") << "Data (*.dat)|*.dat|All (*.*)|*.*"
                                  << QStringList{"Data (*.dat)", "All (*)"};
    QTest::newRow("description without patterns") << "Text files|*.txt" << QStringList{"Text files (*.txt)"};
    QTest::newRow("several patterns") << "Sheets|*.xls;*.XLS" << QStringList{"Sheets (*.xls *.XLS)"};
    QTest::newRow("odd piece left out") << "Data|*.dat|Lonely" << QStringList{"Data (*.dat)"};
    QTest::newRow("empty") << "" << QStringList();
}

void TestCommonDialog::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(qtNameFilters(filter), expected);
}

void TestCommonDialog::scriptedAnswers_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("cancelError");
    QTest::addColumn<bool>("throws");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("chosen") << false << true << false << "/data/curve.dat";
    QTest::newRow("cancel raises 32755") << true << true << true << "";
    QTest::newRow("cancel without CancelError") << true << false << false << "";
}

void TestCommonDialog::scriptedAnswers()
{
    QFETCH(bool, cancel);
    QFETCH(bool, cancelError);
    QFETCH(bool, throws);
    QFETCH(QString, fileName);
    ScriptedFileDialog script;
    if (cancel)
        script.answers << std::nullopt;
    else
        script.answers << fileName;
    CommonDialog dlg;
    dlg.FileName = QStringLiteral("previous.dat");
    dlg.CancelError = cancelError;
    bool raised = false;
    try {
        dlg.ShowOpen();
    } catch (const VbError &e) {
        raised = true;
        QCOMPARE(e.number(), 32755);
    }
    QCOMPARE(raised, throws);
    QCOMPARE(dlg.FileName, fileName);
    QCOMPARE(script.shown.size(), 1);
}

void TestCommonDialog::recordsTheCall()
{
    ScriptedFileDialog script;
    script.answers << QStringLiteral("/tmp/a.dat");
    CommonDialog dlg;
    dlg.Filter = QStringLiteral("Data (*.dat)|*.dat|All (*.*)|*.*");
    dlg.FilterIndex = 2;
    dlg.Flags = 0x20000C;
    dlg.CancelError = true;
    dlg.InitDir = QStringLiteral("/opt/curvexa");
    dlg.ShowSave();
    // A second dialog with an empty queue cancels.
    QVERIFY_THROWS_EXCEPTION(VbError, dlg.ShowOpen());
    QCOMPARE(script.shown.size(), 2);
    const FileDialogCall &c = script.shown[0];
    QVERIFY(c.save);
    QCOMPARE(c.filter, dlg.Filter);
    QCOMPARE(c.filterIndex, 2);
    QCOMPARE(c.flags, 0x20000CL);
    QVERIFY(c.cancelError);
    QCOMPARE(c.initDir, QStringLiteral("/opt/curvexa"));
    QVERIFY(!script.shown[1].save);
    QCOMPARE(script.shown[1].fileName, QStringLiteral("/tmp/a.dat"));
}

void TestCommonDialog::realDialog_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<long>("flags");
    QTest::newRow("open, first filter") << false << 1 << 0x20000CL;
    QTest::newRow("open, file must exist") << false << 2 << long(0x1000);
    QTest::newRow("save, ask before overwriting") << true << 1 << long(0x2);
    QTest::newRow("save, no question") << true << 2 << 0L;
}

void TestCommonDialog::realDialog()
{
    QFETCH(bool, save);
    QFETCH(int, filterIndex);
    QFETCH(long, flags);
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("one.dat"))).open(QIODevice::WriteOnly);

    CommonDialog dlg;
    dlg.Filter = QStringLiteral("Data (*.dat)|*.dat|All (*.*)|*.*");
    dlg.FilterIndex = filterIndex;
    dlg.Flags = flags;
    dlg.CancelError = true;
    dlg.InitDir = dir.path();

    QStringList filters;
    QString selectedFilter, directory;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    bool confirmOverwrite = false;
    bool seen = false;
    bool asked = false;
    QTimer::singleShot(0, this, [&] {
        auto *fd = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!fd)
            return;
        seen = true;
        filters = fd->nameFilters();
        selectedFilter = fd->selectedNameFilter();
        directory = fd->directory().absolutePath();
        mode = fd->acceptMode();
        fileMode = fd->fileMode();
        confirmOverwrite = !fd->testOption(QFileDialog::DontConfirmOverwrite);
        fd->selectFile(QStringLiteral("one.dat"));
        // Saving over an existing file may ask first: answer Yes.
        QTimer::singleShot(0, this, [&] {
            if (auto *q = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                asked = true;
                q->button(QMessageBox::Yes)->click();
            }
        });
        QMetaObject::invokeMethod(fd, "accept");
    });
    if (save)
        dlg.ShowSave();
    else
        dlg.ShowOpen();
    QVERIFY(seen);
    QCOMPARE(filters, (QStringList{"Data (*.dat)", "All (*)"}));
    QCOMPARE(selectedFilter, filters[filterIndex - 1]);
    QCOMPARE(directory, QDir(dir.path()).absolutePath());
    QCOMPARE(mode, save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!save)
        QCOMPARE(fileMode, (flags & 0x1000) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    else
        QCOMPARE(confirmOverwrite, bool(flags & 0x2));
    QCOMPARE(asked, save && (flags & 0x2));
    QCOMPARE(dlg.FileName, dir.filePath(QStringLiteral("one.dat")));

    // Cancelling the real dialog raises the cancel failure.
    QTimer::singleShot(0, this, [] {
        if (auto *fd = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
            fd->reject();
    });
    try {
        dlg.ShowOpen();
        QFAIL("no failure");
    } catch (const VbError &e) {
        QCOMPARE(e.number(), vberr::CancelError);
    }
}

void TestCommonDialog::programFolderSetter()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    QCOMPARE(programFolder(), exeDir);
    setProgramFolder(QStringLiteral("/tmp/somewhere/"));
    QCOMPARE(programFolder(), QStringLiteral("/tmp/somewhere"));
    QCOMPARE(inProgramFolder(QStringLiteral("idioma.lng")), QStringLiteral("/tmp/somewhere/idioma.lng"));
    setProgramFolder(QString());
    QCOMPARE(programFolder(), exeDir);
}

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"

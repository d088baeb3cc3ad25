#include "platform/msgbox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace platform;

Q_DECLARE_METATYPE(QMessageBox::Icon)

class TestMsgBox : public QObject {
    Q_OBJECT
private slots:
    void realBox_data();
    void realBox();
    void scriptedRecordsAndAnswers();
    void scriptedDefaults_data();
    void scriptedDefaults();
    void scriptedNestsAndRestores();
    void lineBreaks_data();
    void lineBreaks();
};

void TestMsgBox::realBox_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QList<int>>("buttons"); // QMessageBox::StandardButton values, in order
    QTest::addColumn<int>("press");          // index of the button pressed
    QTest::addColumn<int>("result");
    QTest::newRow("0 OK") << 0 << QMessageBox::NoIcon << QList<int>{QMessageBox::Ok} << 0 << int(vbOK);
    QTest::newRow("16 critical") << 16 << QMessageBox::Critical << QList<int>{QMessageBox::Ok} << 0 << int(vbOK);
    QTest::newRow("64 information") << 64 << QMessageBox::Information << QList<int>{QMessageBox::Ok} << 0
                                    << int(vbOK);
    const QList<int> ync{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    QTest::newRow("51 yes") << 51 << QMessageBox::Warning << ync << 0 << int(vbYes);
    QTest::newRow("51 no") << 51 << QMessageBox::Warning << ync << 1 << int(vbNo);
    QTest::newRow("51 cancel") << 51 << QMessageBox::Warning << ync << 2 << int(vbCancel);
}

void TestMsgBox::realBox()
{
    QFETCH(int, style);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QList<int>, buttons);
    QFETCH(int, press);
    QFETCH(int, result);

    // The box is read and answered while it is shown; the checks run after
    // it has closed, so a failed check cannot leave a modal box open.
    bool inspected = false;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QList<int> shown;
    int defaultButton = -1;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        inspected = true;
        shownIcon = box->icon();
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        for (QAbstractButton *b : box->buttons())
            shown << int(box->standardButton(b));
        defaultButton = int(box->standardButton(box->defaultButton()));
        QAbstractButton *target = box->button(QMessageBox::StandardButton(buttons[press]));
        if (target)
            target->click();
        else
            box->done(0);
    });
    const int got = msgbox(QStringLiteral("first\rsecond"), style);
    QVERIFY(inspected);
    QCOMPARE(shownIcon, icon);
    QCOMPARE(title, QStringLiteral("Curvexa"));
    QCOMPARE(text, QStringLiteral("first\nsecond"));
    QCOMPARE(format, Qt::PlainText);
    std::sort(shown.begin(), shown.end());
    QList<int> want = buttons;
    std::sort(want.begin(), want.end());
    QCOMPARE(shown, want);
    QCOMPARE(defaultButton, buttons.first());
    QCOMPARE(got, result);
}

void TestMsgBox::scriptedRecordsAndAnswers()
{
    ScriptedMsgBox box;
    box.answers = {vbNo};
    QStringList seen;
    box.onShow = [&](const MsgBoxCall &c) { seen << c.prompt; };
    QCOMPARE(msgbox(QStringLiteral("Save?"), 51, QStringLiteral("Data")), int(vbNo));
    QCOMPARE(msgbox(QStringLiteral("Done"), 64), int(vbOK));
    QCOMPARE(box.shown.size(), 2);
    QCOMPARE(box.shown[0].style, 51);
    QCOMPARE(box.shown[0].title, QStringLiteral("Data"));
    QCOMPARE(box.shown[1].title, QStringLiteral("Curvexa"));
    QCOMPARE(seen, (QStringList{QStringLiteral("Save?"), QStringLiteral("Done")}));
}

void TestMsgBox::scriptedDefaults_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("answer");
    QTest::newRow("OK only") << 0 << int(vbOK);
    QTest::newRow("critical") << 16 << int(vbOK);
    QTest::newRow("yes/no/cancel") << 51 << int(vbYes);
    QTest::newRow("yes/no") << 4 << int(vbYes);
    QTest::newRow("retry/cancel") << 5 << int(vbRetry);
}

void TestMsgBox::scriptedDefaults()
{
    QFETCH(int, style);
    QFETCH(int, answer);
    ScriptedMsgBox box;
    QCOMPARE(msgbox(QStringLiteral("?"), style), answer);
}

void TestMsgBox::scriptedNestsAndRestores()
{
    QCOMPARE(msgBoxHandler(), nullptr);
    {
        ScriptedMsgBox outer;
        {
            ScriptedMsgBox inner;
            msgbox(QStringLiteral("a"));
            QCOMPARE(inner.shown.size(), 1);
            QCOMPARE(outer.shown.size(), 0);
        }
        QCOMPARE(msgBoxHandler(), &outer);
    }
    QCOMPARE(msgBoxHandler(), nullptr);
}

void TestMsgBox::lineBreaks_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("shown");
    QTest::newRow("CR") << "a\rb" << "a\nb";
    QTest::newRow("CR LF is one break") << "a\r\nb" << "a\nb";
    QTest::newRow("two CRs") << "a\r\rb" << "a\n\nb";
    QTest::newRow("markup stays text") << "<b>x</b>" << "<b>x</b>";
}

void TestMsgBox::lineBreaks()
{
    QFETCH(QString, prompt);
    QFETCH(QString, shown);
    QCOMPARE(messageText(prompt), shown);
}

QTEST_MAIN(TestMsgBox)
#include "tst_msgbox.moc"

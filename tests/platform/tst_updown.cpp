#include "platform/imagecombo.h"
#include "platform/imagelist.h"
#include "platform/updown.h"
#include "platform/vberror.h"

#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using platform::UpDown;

class TstUpDown : public QObject
{
    Q_OBJECT

private slots:
    void arrowsStepWithinLimits_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("buddyText");
        QTest::addColumn<QString>("clicks"); // u = up, d = down
        QTest::addColumn<QString>("shown");
        QTest::newRow("up from 1") << 1 << 10 << "1"
                                   << "u"
                                   << "2";
        QTest::newRow("up stops at max") << 1 << 10 << "9"
                                         << "uuu"
                                         << "10";
        QTest::newRow("down stops at min") << 1 << 5 << "2"
                                           << "ddd"
                                           << "1";
        QTest::newRow("buddy text is the start") << 1 << 10 << "7"
                                                 << "d"
                                                 << "6";
        QTest::newRow("above a lowered max comes back") << 1 << 2 << "5"
                                                        << "u"
                                                        << "2";
        QTest::newRow("down from above max") << 1 << 2 << "5"
                                             << "d"
                                             << "2";
        QTest::newRow("crossed limits hold the value") << 1 << 0 << "1"
                                                       << "ud"
                                                       << "1";
        QTest::newRow("single value range") << 1 << 1 << "1"
                                            << "uudd"
                                            << "1";
    }
    void arrowsStepWithinLimits()
    {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(QString, buddyText);
        QFETCH(QString, clicks);
        QFETCH(QString, shown);
        QWidget host;
        auto *box = new QLineEdit(&host);
        auto *spin = new UpDown(&host);
        spin->setBuddy(box);
        spin->setMin(min);
        spin->setMax(max);
        box->setText(buddyText);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QSignalSpy ups(spin, &UpDown::UpClick);
        QSignalSpy downs(spin, &UpDown::DownClick);
        for (QChar c : clicks)
            QTest::mouseClick(c == u'u' ? spin->upButton() : spin->downButton(), Qt::LeftButton);
        QCOMPARE(box->text(), shown);
        QCOMPARE(spin->Value(), shown.toInt());
        // Every click is reported, also one that could not move the value.
        QCOMPARE(ups.count(), int(clicks.count(u'u')));
        QCOMPARE(downs.count(), int(clicks.count(u'd')));
    }

    void limitsNeverCorrectTheValue()
    {
        QLineEdit box;
        UpDown spin;
        spin.setBuddy(&box);
        spin.setMin(1);
        spin.setMax(10);
        spin.setValue(7);
        QCOMPARE(box.text(), QStringLiteral("7"));
        spin.setMax(0); // below the minimum
        QCOMPARE(spin.Max(), 0);
        QCOMPARE(spin.Value(), 7);
        QCOMPARE(box.text(), QStringLiteral("7"));
    }

    void valueWithoutNumberInBuddy()
    {
        QLineEdit box;
        UpDown spin;
        spin.setMin(1);
        spin.setMax(5);
        spin.setBuddy(&box);
        spin.setValue(3);
        box.setText(QStringLiteral("abc"));
        QCOMPARE(spin.Value(), 3);
        QTest::mouseClick(spin.upButton(), Qt::LeftButton);
        QCOMPARE(box.text(), QStringLiteral("4"));
    }

    void imageComboPositions()
    {
        platform::ImageList list(QSize(70, 10));
        for (int k = 0; k < 16; ++k)
            list.add(QStringLiteral("c%1").arg(k),
                     platform::colourSwatch(platform::rgb(k * 16, 0, 255 - k * 16), QSize(70, 10)));
        QCOMPARE(list.count(), 16);
        QCOMPARE(list.indexOf(QStringLiteral("c15")), 16);
        QCOMPARE(list.image(QStringLiteral("c3")).toImage().pixelColor(35, 5), QColor(48, 0, 207));

        platform::ImageCombo combo;
        combo.setImageList(&list);
        for (int k = 0; k < 16; ++k)
            combo.addImageItem(k + 1, QStringLiteral("c%1").arg(k));
        QCOMPARE(combo.count(), 16);
        QCOMPARE(combo.itemImageKey(16), QStringLiteral("c15"));
        QVERIFY(combo.itemText(0).isEmpty());
        QCOMPARE(combo.iconSize(), QSize(70, 10));
        combo.setSelectedPosition(1);
        QCOMPARE(combo.selectedPosition(), 1);
        QVERIFY_THROWS_EXCEPTION(platform::VbError, combo.addImageItem(1, QStringLiteral("c16")));
        QVERIFY_THROWS_EXCEPTION(platform::VbError, combo.addImageItem(19, QStringLiteral("c1")));
        combo.clearItems();
        QCOMPARE(combo.selectedPosition(), 0);
    }

    void imageComboPickedByKeyboard()
    {
        platform::ImageList list(QSize(70, 10));
        for (int k = 0; k < 16; ++k)
            list.add(QStringLiteral("c%1").arg(k),
                     platform::colourSwatch(platform::rgb(k, k, k), QSize(70, 10)));
        platform::ImageCombo combo;
        combo.setImageList(&list);
        for (int k = 0; k < 16; ++k)
            combo.addImageItem(k + 1, QStringLiteral("c%1").arg(k));
        combo.setSelectedPosition(1);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        QSignalSpy clicks(&combo, &platform::ImageCombo::Click);
        combo.setFocus();
        QTest::keyClick(&combo, Qt::Key_End);
        QCOMPARE(combo.selectedPosition(), 16);
        QCOMPARE(clicks.count(), 1);
    }
};

QTEST_MAIN(TstUpDown)
#include "tst_updown.moc"

#include "platform/flexgrid.h"
#include "platform/numbertext.h"
#include "platform/vberror.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using platform::FlexGrid;

class TstFlexGrid : public QObject
{
    Q_OBJECT

private:
    // A shown 1+1 fixed grid of three columns with rows of points.
    static FlexGrid *pointGrid(QWidget *host, int points)
    {
        auto *g = new FlexGrid(1, 1, 3, host);
        g->setGeometry(10, 20, 300, 200);
        g->setRows(points + 1);
        for (int r = 1; r <= points; ++r) {
            g->setTextMatrix(r, 0, QString::number(r));
            g->setTextMatrix(r, 1, QStringLiteral("x%1").arg(r));
            g->setTextMatrix(r, 2, QStringLiteral("y%1").arg(r));
        }
        return g;
    }
    static QPoint cellCentre(FlexGrid *g, int row, int col)
    {
        const QRect r = g->view()->visualRect(g->view()->model()->index(row - 1, col - 1));
        return r.center();
    }

private slots:
    void rowsAndColsResize_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cols");
        QTest::newRow("shrink rows") << 3 << 3;
        QTest::newRow("header row only") << 1 << 3;
        QTest::newRow("grow rows") << 9 << 3;
        QTest::newRow("drop last column") << 5 << 2;
        QTest::newRow("grow both") << 7 << 5;
    }
    void rowsAndColsResize()
    {
        QFETCH(int, rows);
        QFETCH(int, cols);
        QWidget host;
        FlexGrid *g = pointGrid(&host, 4); // rows 0..4
        g->setTextMatrix(0, 1, QStringLiteral("X"));
        g->setCols(cols);
        g->setRows(rows);
        QCOMPARE(g->Rows(), rows);
        QCOMPARE(g->Cols(), cols);
        QCOMPARE(g->view()->model()->rowCount(), rows - 1);
        QCOMPARE(g->view()->model()->columnCount(), cols - 1);
        QCOMPARE(g->TextMatrix(0, 1), QStringLiteral("X"));
        for (int r = 1; r < rows; ++r) {
            for (int c = 1; c < cols; ++c) {
                QString expected;
                if (r <= 4 && c <= 2)
                    expected = (c == 1 ? QStringLiteral("x%1") : QStringLiteral("y%1")).arg(r);
                QCOMPARE(g->TextMatrix(r, c), expected);
            }
        }
        QVERIFY(g->Row() < rows && g->RowSel() < rows && g->Col() < cols);
    }

    // Texts of every length and range of characters come back as they were
    // set, through both setters, and read as numbers as val reads them.
    void textsComeBackAsSet_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("number") << QStringLiteral("-0.841470984807897");
        QTest::newRow("longest number") << QStringLiteral("-1.23456789012345E-308");
        QTest::newRow("one past the longest") << QStringLiteral("-1.23456789012345E-3081");
        QTest::newRow("long text") << QString(300, QLatin1Char('7'));
        QTest::newRow("latin-1 letters") << QStringLiteral("12 ñandúes ÿ");
        QTest::newRow("beyond latin-1") << QStringLiteral("3€");
        QTest::newRow("blanks and radix") << QStringLiteral(" &H 1F\t");
    }
    void textsComeBackAsSet()
    {
        QFETCH(QString, text);
        QWidget host;
        FlexGrid *g = pointGrid(&host, 3);
        g->setTextMatrix(2, 1, text);
        QCOMPARE(g->TextMatrix(2, 1), text);
        QCOMPARE(g->ValMatrix(2, 1), platform::val(text));
        // Overwritten by a short text and back again.
        g->setTextMatrix(2, 1, QStringLiteral("5"));
        QCOMPARE(g->ValMatrix(2, 1), 5.0);
        g->setTextMatrix(2, 1, text);
        QCOMPARE(g->TextMatrix(2, 1), text);
        const QByteArray latin1 = text.toLatin1();
        if (QString::fromLatin1(latin1) == text) {
            g->setTextMatrix(3, 2, QLatin1StringView(latin1));
            QCOMPARE(g->TextMatrix(3, 2), text);
        }
        // Rows moving up carry their texts.
        g->setTextMatrix(3, 1, text);
        g->RemoveItem(1);
        QCOMPARE(g->TextMatrix(1, 1), text);
        QCOMPARE(g->TextMatrix(2, 1), text);
        QCOMPARE(g->TextMatrix(1, 2), QStringLiteral("y2"));
    }

    // Bold and background stay with their cell when rows above it go and
    // are gone with their cell.
    void looksFollowTheirCells()
    {
        QWidget host;
        FlexGrid *g = pointGrid(&host, 5);
        auto *m = g->view()->model();
        const auto bold = [&](int row, int col) {
            return m->index(row - 1, col - 1).data(Qt::FontRole).value<QFont>().bold();
        };
        const auto hasBack = [&](int row, int col) {
            return m->index(row - 1, col - 1).data(Qt::BackgroundRole).isValid();
        };
        g->setRow(4);
        g->setCol(2);
        g->setCellFontBold(true);
        g->setRow(3);
        g->setCellBackColor(platform::rgb(1, 2, 3));
        g->setRow(5);
        g->setCellFontBold(true);
        g->RemoveItem(2);
        QVERIFY(hasBack(2, 2) && bold(3, 2) && bold(4, 2));
        QVERIFY(!bold(2, 2) && !hasBack(3, 2) && !hasBack(4, 2) && !bold(1, 2) && !bold(3, 1));
        g->setRows(4); // drops the bold cell of the last row
        g->setRows(5);
        QVERIFY(!bold(4, 2));
        QVERIFY(bold(3, 2));
        g->setCols(2); // drops column 2
        g->setCols(3);
        QVERIFY(!bold(3, 2) && !hasBack(2, 2));
    }

    void invalidSizesAndCellsFail()
    {
        FlexGrid g(1, 1, 3);
        QVERIFY_THROWS_EXCEPTION(platform::VbError, g.setRows(0));
        QVERIFY_THROWS_EXCEPTION(platform::VbError, g.setCols(1));
        QVERIFY_THROWS_EXCEPTION(platform::VbError, g.TextMatrix(2, 0));
        QVERIFY_THROWS_EXCEPTION(platform::VbError, g.setRow(5));
        // The only non-fixed row cannot be removed; callers set Rows instead.
        QVERIFY_THROWS_EXCEPTION(platform::VbError, g.RemoveItem(1));
        QVERIFY_THROWS_EXCEPTION(platform::VbError, g.RemoveItem(0));
        QCOMPARE(g.Rows(), 2);
    }

    void textMatrixKeepsCurrentCell()
    {
        QWidget host;
        FlexGrid *g = pointGrid(&host, 5);
        g->setRow(2);
        g->setCol(1);
        g->setTextMatrix(4, 2, QStringLiteral("9"));
        QCOMPARE(g->Row(), 2);
        QCOMPARE(g->Col(), 1);
        QCOMPARE(g->Text(), QStringLiteral("x2"));
        g->setText(QStringLiteral("7"));
        QCOMPARE(g->TextMatrix(2, 1), QStringLiteral("7"));
        QCOMPARE(g->TextMatrix(4, 2), QStringLiteral("9"));
    }

    void settingRowCollapsesSelection()
    {
        QWidget host;
        FlexGrid *g = pointGrid(&host, 5);
        g->setRow(1);
        g->setRowSel(4);
        QCOMPARE(g->RowSel(), 4);
        g->setRow(3);
        QCOMPARE(g->RowSel(), 3);
        g->setRowSel(5);
        g->setCol(2);
        QCOMPARE(g->RowSel(), 3);
    }

    void addAndRemoveItems()
    {
        QWidget host;
        FlexGrid *g = pointGrid(&host, 3);
        g->AddItem(QStringLiteral("4"));
        QCOMPARE(g->Rows(), 5);
        QCOMPARE(g->TextMatrix(4, 0), QStringLiteral("4"));
        QCOMPARE(g->TextMatrix(4, 1), QString());
        g->setRow(3);
        g->RemoveItem(2);
        QCOMPARE(g->Rows(), 4);
        QCOMPARE(g->TextMatrix(2, 1), QStringLiteral("x3"));
        QCOMPARE(g->TextMatrix(3, 0), QStringLiteral("4"));
        QCOMPARE(g->Row(), 2); // still on the row that held x3
        g->setRow(3);
        g->RemoveItem(3); // the last row, while current
        QCOMPARE(g->Rows(), 3);
        QCOMPARE(g->Row(), 2);
    }

    void alignmentsReachTheView()
    {
        QWidget host;
        FlexGrid *g = pointGrid(&host, 2);
        g->setTextMatrix(1, 1, QStringLiteral("12.5"));
        g->setTextMatrix(2, 1, QStringLiteral("abc"));
        QAbstractItemModel *m = g->view()->model();
        auto align = [m](int r, int c) {
            return Qt::Alignment(m->index(r - 1, c - 1).data(Qt::TextAlignmentRole).toInt());
        };
        // General alignment: numbers right, text left.
        QCOMPARE(align(1, 1), Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(align(2, 1), Qt::AlignLeft | Qt::AlignVCenter);
        g->setColAlignment(1, platform::flexAlignLeftCenter);
        QCOMPARE(align(1, 1), Qt::AlignLeft | Qt::AlignVCenter);
        g->setRow(2);
        g->setCol(1);
        g->setCellAlignment(platform::flexAlignCenterCenter);
        QCOMPARE(g->CellAlignment(), 4);
        QCOMPARE(align(2, 1), Qt::Alignment(Qt::AlignCenter));
        // Fixed cells are shown by the headers.
        g->setRow(0);
        g->setCol(2);
        g->setCellAlignment(4);
        g->setTextMatrix(0, 2, QStringLiteral("Y"));
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Y"));
        QCOMPARE(Qt::Alignment(m->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt()),
                 Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(m->headerData(1, Qt::Vertical).toString(), QStringLiteral("2"));
        // Bold and background of a cell.
        g->setRow(1);
        g->setCol(2);
        g->setCellFontBold(true);
        g->setCellBackColor(g->BackColorFixed());
        QVERIFY(m->index(0, 1).data(Qt::FontRole).value<QFont>().bold());
        const QColor back = m->index(0, 1).data(Qt::BackgroundRole).value<QBrush>().color();
        QCOMPARE(platform::rgb(back.red(), back.green(), back.blue()), g->BackColorFixed());
    }

    void columnWidthsInTwips_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("readBack");
        QTest::newRow("fixed column") << 0 << 500 << 495;
        QTest::newRow("whole pixels") << 1 << 1500 << 1500;
        QTest::newRow("rounded") << 2 << 1108 << 1110;
    }
    void columnWidthsInTwips()
    {
        QFETCH(int, col);
        QFETCH(int, twips);
        QFETCH(int, readBack);
        QWidget host;
        FlexGrid *g = pointGrid(&host, 2);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        g->setColWidth(col, twips);
        QCOMPARE(g->ColWidth(col), readBack);
        g->setRow(1);
        g->setCol(col);
        QCOMPARE(g->CellWidth(), readBack);
        QCOMPARE(g->CellHeight(), g->RowHeight(1));
        QVERIFY(g->CellHeight() > 0);
    }

    void rowsFollowFont()
    {
        QWidget host;
        FlexGrid *g = pointGrid(&host, 3);
        QFont big = g->font();
        big.setPixelSize(30);
        g->setFont(big);
        QCOMPARE(g->RowHeight(2), (QFontMetrics(big).height() + 4) * 15);
        QCOMPARE(g->view()->rowHeight(1) * 15, g->RowHeight(2));
        QCOMPARE(g->view()->horizontalHeader()->height() * 15, g->RowHeight(0));
    }

    void clickMakesCellCurrentBeforeClick_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("point cell") << "body" << 3 << 2;
        QTest::newRow("header cell") << "header" << 0 << 1;
        QTest::newRow("row number") << "rownumber" << 2 << 0;
    }
    void clickMakesCellCurrentBeforeClick()
    {
        QFETCH(QString, where);
        QFETCH(int, row);
        QFETCH(int, col);
        QWidget host;
        FlexGrid *g = pointGrid(&host, 5);
        host.resize(400, 300);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        int seenRow = -1, seenCol = -1;
        QObject::connect(g, &FlexGrid::Click, g, [&] {
            seenRow = g->Row();
            seenCol = g->Col();
        });
        QTableView *v = g->view();
        if (where == QLatin1String("body")) {
            QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, cellCentre(g, row, col));
        } else if (where == QLatin1String("header")) {
            QHeaderView *h = v->horizontalHeader();
            const int x = h->sectionViewportPosition(col - 1) + h->sectionSize(col - 1) / 2;
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));
        } else {
            QHeaderView *h = v->verticalHeader();
            const int y = h->sectionViewportPosition(row - 1) + h->sectionSize(row - 1) / 2;
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->width() / 2, y));
        }
        QCOMPARE(seenRow, row);
        QCOMPARE(seenCol, col);
        QCOMPARE(g->RowSel(), row);
        QVERIFY(!v->selectionModel()->hasSelection()); // one cell: no highlight
    }

    // A grid without a fixed row: row 0 is an ordinary row that scrolls.
    void noFixedRow()
    {
        QWidget host;
        auto *g = new FlexGrid(0, 1, 3, &host);
        g->setGeometry(0, 0, 300, 200);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QCOMPARE(g->Rows(), 1);
        QVERIFY(g->view()->horizontalHeader()->isHidden());
        g->AddItem(QStringLiteral("id"));
        g->setTextMatrix(0, 1, QStringLiteral("English"));
        g->setTextMatrix(1, 1, QStringLiteral("Curves"));
        QCOMPARE(g->view()->model()->index(0, 0).data().toString(), QStringLiteral("English"));
        QCOMPARE(g->view()->model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("id"));
        QCOMPARE(g->RowPos(0), g->view()->viewport()->mapTo(g, QPoint(0, 0)).y() * 15);
        QTableView *v = g->view();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(v->model()->index(0, 1)).center());
        QCOMPARE(g->Row(), 0);
        QCOMPARE(g->Col(), 2);
        g->setCol(1);
        g->setCellBackColor(g->BackColorFixed());
        g->setCellFontBold(true);
        QVERIFY(v->model()->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!v->model()->index(1, 0).data(Qt::FontRole).isValid());
    }

    void clickBelowLastRowIsNoClick()
    {
        QWidget host;
        FlexGrid *g = pointGrid(&host, 2);
        host.resize(400, 300);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        g->setRow(2);
        g->setCol(1);
        QSignalSpy clicks(g, &FlexGrid::Click);
        QWidget *vp = g->view()->viewport();
        QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(10, vp->height() - 5));
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(g->Row(), 2);
        QCOMPARE(g->Col(), 1);
    }

    void dragEndsSelection()
    {
        QWidget host;
        FlexGrid *g = pointGrid(&host, 6);
        host.resize(400, 300);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QSignalSpy clicks(g, &FlexGrid::Click);
        QWidget *vp = g->view()->viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, cellCentre(g, 2, 1));
        QMouseEvent move(QEvent::MouseMove, cellCentre(g, 4, 1), vp->mapToGlobal(cellCentre(g, 4, 1)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, cellCentre(g, 5, 1));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(g->Row(), 2);
        QCOMPARE(g->RowSel(), 5);
        const QModelIndexList sel = g->view()->selectionModel()->selectedIndexes();
        QCOMPARE(sel.size(), 4); // rows 2..5 of column 1
    }

    void keyboardMovesCurrentCell()
    {
        QWidget host;
        FlexGrid *g = pointGrid(&host, 4);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        g->setRow(1);
        g->setCol(1);
        g->view()->setFocus();
        QTest::keyClick(g->view(), Qt::Key_Down);
        QTest::keyClick(g->view(), Qt::Key_Right);
        QCOMPARE(g->Row(), 2);
        QCOMPARE(g->Col(), 2);
        QCOMPARE(g->RowSel(), 2);
    }

    void positionsFollowScrolling()
    {
        QWidget host;
        FlexGrid *g = pointGrid(&host, 200);
        host.resize(400, 300);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QSignalSpy scrolls(g, &FlexGrid::Scroll);
        QTableView *v = g->view();
        auto cornerInGrid = [&](int row, int col) {
            return v->viewport()->mapTo(g, v->visualRect(v->model()->index(row - 1, col - 1)).topLeft()) * 15;
        };
        QCOMPARE(QPoint(g->ColPos(2), g->RowPos(3)), cornerInGrid(3, 2));
        QCOMPARE(g->RowPos(0), v->horizontalHeader()->mapTo(g, QPoint(0, 0)).y() * 15);
        QVERIFY(g->RowPos(1) >= g->RowPos(0) + g->RowHeight(0));
        const int before = g->RowPos(50);
        v->verticalScrollBar()->setValue(40);
        QVERIFY(scrolls.count() >= 1);
        QVERIFY(g->RowPos(50) < before);
        QCOMPARE(QPoint(g->ColPos(1), g->RowPos(50)), cornerInGrid(50, 1));
        // The place of a cell in the grid's parent.
        g->moveTwips(150, 300, 4500, 3000);
        QCOMPARE(g->Left(), 150);
        QCOMPARE(g->Top(), 300);
        QCOMPARE(g->Width(), 4500);
    }
};

QTEST_MAIN(TstFlexGrid)
#include "tst_flexgrid.moc"

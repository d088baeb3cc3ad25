// The grid's Redraw switch: changes made while it is off reach the view
// all at once when it is switched back on.

#include "platform/flexgrid.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

class TstFlexGridRedraw : public QObject
{
    Q_OBJECT

private slots:
    void heldChangesShownAtOnce()
    {
        platform::FlexGrid g(1, 1, 3);
        g.resize(300, 200);
        g.show();
        QAbstractItemModel *m = g.view()->model();
        QSignalSpy datos(m, &QAbstractItemModel::dataChanged);
        QSignalSpy cabecera(m, &QAbstractItemModel::headerDataChanged);

        QVERIFY(g.Redraw());
        g.setRedraw(false);
        QVERIFY(!g.Redraw());
        g.setRows(101);
        for (int r = 1; r <= 100; ++r) {
            g.setTextMatrix(r, 0, QString::number(r));
            g.setRow(r);
            g.setCol(0);
            g.setCellAlignment(platform::flexAlignCenterCenter);
            g.setTextMatrix(r, 1, QStringLiteral("x%1").arg(r));
        }
        g.setRow(40);
        g.setCol(2);
        // The grid itself answers at once; the view has heard nothing.
        QCOMPARE(g.TextMatrix(100, 1), QStringLiteral("x100"));
        QCOMPARE(g.Row(), 40);
        QCOMPARE(datos.count(), 0);
        QCOMPARE(cabecera.count(), 0);

        g.setRedraw(true);
        QCOMPARE(datos.count(), 1);
        QCOMPARE(m->data(m->index(99, 0)).toString(), QStringLiteral("x100"));
        QCOMPARE(m->headerData(99, Qt::Vertical).toString(), QStringLiteral("100"));
        QCOMPARE(m->headerData(99, Qt::Vertical, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(g.view()->selectionModel()->currentIndex(), m->index(39, 1));

        // Switching it on again, or off and on with nothing changed, tells nothing.
        g.setRedraw(true);
        g.setRedraw(false);
        g.setRedraw(true);
        QCOMPARE(datos.count(), 1);
    }
};

QTEST_MAIN(TstFlexGridRedraw)
#include "tst_flexgridredraw.moc"

// Point import into a curve tab: delimited text files with each separator,
// and workbooks through the committed .xls fixtures.

#include "ficherosprueba.h"
#include "numberedtext.h"

#include "platform/commondialog.h"
#include "platform/msgbox.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QPushButton>

namespace
{

QString libro(const char *nombre)
{
    return QStringLiteral(CURVEXA_FIXTURES_DIR "/workbook/") + QLatin1String(nombre);
}

QByteArray huella(const QString &ruta)
{
    return QCryptographicHash::hash(leerfichero(ruta), QCryptographicHash::Sha256);
}

using Filas = QList<QPair<QString, QString>>;

} // namespace

class TstImportar : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    principal &abrirventana()
    {
        principal &p = arrancarventana(dir);
        p.show();
        return p;
    }

    // A tab whose grid holds three points and whose type is 4, so that the
    // degree range shows that it was recomputed.
    static void preparar(principal &p, int i)
    {
        Pestana t;
        t.leyenda = QStringLiteral("before");
        t.x = t.y = QStringLiteral("-1");
        t.tipo = 4;
        t.datos = {{QStringLiteral("a"), QStringLiteral("b")},
                   {QStringLiteral("c"), QStringLiteral("d")},
                   {QStringLiteral("e"), QStringLiteral("f")}};
        ponerpestana(p, i, t);
        p.UPDgrado[static_cast<std::size_t>(i)]->setMax(99);
    }

    // Imports through the tab's button; returns the boxes shown.
    static QList<platform::MsgBoxCall> pulsar(QPushButton *boton, const QString &ruta,
                                              platform::FileDialogCall *llamada = nullptr)
    {
        platform::ScriptedFileDialog dlg;
        platform::ScriptedMsgBox box;
        if (!ruta.isNull())
            dlg.answers << ruta;
        QTest::mouseClick(boton, Qt::LeftButton);
        if (llamada && !dlg.shown.isEmpty())
            *llamada = dlg.shown[0];
        return box.shown;
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        curvas.reset();
    }

    void cleanup()
    {
        cerrarventanas();
        platform::setProgramFolder(QString());
    }

    void textImport_data()
    {
        QTest::addColumn<int>("separador"); // position in the separator box
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<Filas>("filas");
        QTest::addColumn<bool>("falla");
        const bool ok = false;
        const bool falla = true;
        QTest::newRow(", third field ignored") << 0 << QByteArray("1.5,2.5,7\r\n") << Filas{{"1.5", "2.5"}} << ok;
        QTest::newRow(", blanks trimmed, tabs kept")
            << 0 << QByteArray("  1 ,\t2\t\r\n") << Filas{{"1", "\t2\t"}} << ok;
        QTest::newRow(", empty field is 0") << 0 << QByteArray(",3\r\n4,\r\n") << Filas{{"0", "3"}, {"4", "0"}} << ok;
        QTest::newRow(", blanks-only field is empty")
            << 0 << QByteArray("5,  \r\n") << Filas{{"5", ""}} << ok;
        QTest::newRow(", texts kept as they stand") << 0 << QByteArray("a,1e3\r\n") << Filas{{"a", "1e3"}} << ok;
        QTest::newRow(", line without separator")
            << 0 << QByteArray("1,2\r\n4\r\n5,6\r\n") << Filas{{"1", "2"}, {"4", ""}} << falla;
        QTest::newRow("; first empty") << 1 << QByteArray(";3\r\n") << Filas{{"0", "3"}} << ok;
        QTest::newRow("; second empty") << 1 << QByteArray("3;\r\n") << Filas{{"3", "0"}} << ok;
        QTest::newRow("; comma is text") << 1 << QByteArray("1,5;2,5\r\n") << Filas{{"1,5", "2,5"}} << ok;
        QTest::newRow("blank: runs of blanks")
            << 2 << QByteArray("   1     2\r\n") << Filas{{"1", "2"}} << ok;
        QTest::newRow("blank: one value after a blank") << 2 << QByteArray(" 4\r\n") << Filas{{"4", "0"}} << ok;
        QTest::newRow("blank: one value before a blank") << 2 << QByteArray("4 \r\n") << Filas{{"4", "0"}} << ok;
        QTest::newRow("blank: blanks only") << 2 << QByteArray("   \r\n") << Filas{{"0", "0"}} << ok;
        QTest::newRow("blank: rest ignored") << 2 << QByteArray("1 2 3 4\r\n") << Filas{{"1", "2"}} << ok;
        QTest::newRow("blank: tab is no separator") << 2 << QByteArray("1\t2\r\n") << Filas{{"1\t2", ""}} << falla;
        QTest::newRow("blank: value alone") << 2 << QByteArray("4\r\n") << Filas{{"4", ""}} << falla;
        QTest::newRow("five lines and an empty one")
            << 0 << QByteArray("1,1\r\n2,2\r\n3,3\r\n4,4\r\n5,5\r\n\r\n")
            << Filas{{"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}, {"5", "5"}, {"", ""}} << falla;
        QTest::newRow("last line without line end") << 0 << QByteArray("1,2\r\n3,4") << Filas{{"1", "2"}, {"3", "4"}}
                                                    << ok;
        QTest::newRow("LF alone ends a line") << 0 << QByteArray("1,2\n3,4\r\n") << Filas{{"1", "2"}, {"3", "4"}} << ok;
        QTest::newRow("CR LF LF: an empty line")
            << 0 << QByteArray("1,2\r\n\n3,4\r\n") << Filas{{"1", "2"}, {"", ""}} << falla;
        QTest::newRow("LF CR: an empty line") << 0 << QByteArray("1,2\n\r3,4") << Filas{{"1", "2"}, {"", ""}} << falla;
        QTest::newRow("empty file") << 0 << QByteArray() << Filas{} << ok;
        QTest::newRow("high bytes") << 1 << QByteArray("\xe1;\x80\r\n")
                                    << Filas{{QString(QChar(0xE1)), QString(QChar(0x20AC))}} << ok;
    }
    void textImport()
    {
        QFETCH(int, separador);
        QFETCH(QByteArray, contenido);
        QFETCH(Filas, filas);
        QFETCH(bool, falla);
        principal &p = abrirventana();
        p.spinner()->upButton()->click();
        preparar(p, 1);
        p.CMBlimitador[1]->setCurrentIndex(separador);
        const QString ruta = dir.filePath(QStringLiteral("puntos.txt"));
        escribirfichero(ruta, contenido);
        const QByteArray antes = huella(ruta);
        const auto boxes = pulsar(p.BTimport[1], ruta);
        QCOMPARE(boxes.size(), falla ? 1 : 0);
        if (falla) {
            QCOMPARE(boxes[0].prompt, QStringLiteral("Failed"));
            QCOMPARE(boxes[0].style, 16);
            QCOMPARE(boxes[0].title, QStringLiteral("File"));
        }
        QCOMPARE(leerpestana(p, 1).datos, filas);
        QVERIFY(filasnumeradas(p.MSFdata[1]));
        // The degree range follows the rows the grid has now.
        const int r = p.MSFdata[1]->Rows();
        QCOMPARE(p.UPDgrado[1]->Max(), r < 3 ? 1 : r - 2);
        // Nothing else of the tab changed, and the file neither.
        QCOMPARE(p.TXTlg[1]->text(), QStringLiteral("before"));
        QCOMPARE(p.CMBunir[1]->currentIndex(), 4);
        QCOMPARE(huella(ruta), antes);
        QCOMPARE(p.MSFdata[0]->Rows(), 1);
    }

    void textImportDialog()
    {
        principal &p = abrirventana();
        preparar(p, 0);
        platform::FileDialogCall llamada;
        const auto boxes = pulsar(p.BTimport[0], QString(), &llamada);
        QCOMPARE(llamada.filter, QStringLiteral("T77 (*.txt)|*.txt|T78 (*.dat)|*.dat|T76 (*.*)|*.*"));
        QCOMPARE(llamada.filterIndex, 1);
        QCOMPARE(llamada.flags, 0x20000CL);
        QVERIFY(llamada.cancelError);
        QCOMPARE(llamada.initDir, dir.path());
        QVERIFY(!llamada.save);
        // Cancelled: message 71, the grid as it was, the degree range recomputed.
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].prompt, QStringLiteral("Cancelled"));
        QCOMPARE(boxes[0].style, 64);
        QCOMPARE(p.MSFdata[0]->Rows(), 4);
        QCOMPARE(p.MSFdata[0]->TextMatrix(3, 2), QStringLiteral("f"));
        QCOMPARE(p.UPDgrado[0]->Max(), 2);

        // A file that is not there: message 72, the grid as it was.
        p.UPDgrado[0]->setMax(99);
        const auto fallo = pulsar(p.BTimport[0], dir.filePath(QStringLiteral("none.txt")));
        QCOMPARE(fallo.size(), 1);
        QCOMPARE(fallo[0].style, 16);
        QCOMPARE(p.MSFdata[0]->Rows(), 4);
        QCOMPARE(p.UPDgrado[0]->Max(), 2);
    }

    void separatorTooltip()
    {
        principal &p = abrirventana();
        QCOMPARE(p.BTimport[3]->toolTip(), QStringLiteral("T45 ,"));
        p.CMBlimitador[3]->setCurrentIndex(1);
        QCOMPARE(p.BTimport[3]->toolTip(), QStringLiteral("T45 ;"));
        p.CMBlimitador[3]->setCurrentIndex(2);
        QCOMPARE(p.BTimport[3]->toolTip(), QStringLiteral("T45  "));
        QCOMPARE(p.BTimport[2]->toolTip(), QStringLiteral("T45 ,"));
        // Resetting the curve brings the comma back, and its tool tip.
        p.borrarcurva(3);
        QCOMPARE(p.BTimport[3]->toolTip(), QStringLiteral("T45 ,"));
    }

    // The same 50 lines with each kind of line end give the same 50 points.
    void textImportLineEnds_data()
    {
        QTest::addColumn<QByteArray>("fin"); // the line end; empty for a mix of all three
        QTest::addColumn<bool>("ultima");    // the last line has its line end
        QTest::newRow("CR LF") << QByteArray("\r\n") << true;
        QTest::newRow("LF") << QByteArray("\n") << true;
        QTest::newRow("CR") << QByteArray("\r") << true;
        QTest::newRow("LF, last line open") << QByteArray("\n") << false;
        QTest::newRow("mixed") << QByteArray() << true;
    }
    void textImportLineEnds()
    {
        QFETCH(QByteArray, fin);
        QFETCH(bool, ultima);
        const QByteArray fines[] = {"\r\n", "\n", "\r"};
        QByteArray contenido;
        Filas esperadas;
        for (int j = 1; j <= 50; ++j) {
            const QByteArray x = QByteArray::number(j * 0.5);
            const QByteArray y = QByteArray::number(j * j - 7);
            contenido += x + ";" + y;
            if (j < 50 || ultima)
                contenido += fin.isEmpty() ? fines[j % 3] : fin;
            esperadas.append({QString::fromLatin1(x), QString::fromLatin1(y)});
        }
        principal &p = abrirventana();
        p.CMBlimitador[0]->setCurrentIndex(1);
        const QString ruta = dir.filePath(QStringLiteral("lineas.txt"));
        escribirfichero(ruta, contenido);
        QCOMPARE(pulsar(p.BTimport[0], ruta).size(), 0);
        QCOMPARE(p.MSFdata[0]->Rows(), 51);
        QCOMPARE(leerpestana(p, 0).datos, esperadas);
        QVERIFY(filasnumeradas(p.MSFdata[0]));
    }

    // More points than a curve holds: the rows up to the limit, then the
    // failure message, however far the file goes on.
    void textImportLimit_data()
    {
        QTest::addColumn<int>("lineas");
        QTest::addColumn<QByteArray>("fin");
        QTest::newRow("at the limit") << 32767 << QByteArray("\r\n");
        QTest::newRow("one beyond") << 32768 << QByteArray("\r\n");
        QTest::newRow("one beyond, LF") << 32768 << QByteArray("\n");
        QTest::newRow("far beyond") << 200000 << QByteArray("\r\n");
    }
    void textImportLimit()
    {
        QFETCH(int, lineas);
        QFETCH(QByteArray, fin);
        principal &p = abrirventana();
        QByteArray contenido;
        for (int j = 1; j <= lineas; ++j)
            contenido += QByteArray::number(j) + ",1" + fin;
        const QString ruta = dir.filePath(QStringLiteral("grande.txt"));
        escribirfichero(ruta, contenido);
        const auto boxes = pulsar(p.BTimport[0], ruta);
        QCOMPARE(boxes.size(), lineas > 32767 ? 1 : 0);
        if (!boxes.isEmpty())
            QCOMPARE(boxes[0].style, 16);
        QCOMPARE(p.MSFdata[0]->Rows(), 32768);
        QCOMPARE(p.MSFdata[0]->TextMatrix(32767, 0), QStringLiteral("32767"));
        QCOMPARE(p.MSFdata[0]->TextMatrix(32767, 1), QStringLiteral("32767"));
        QCOMPARE(p.MSFdata[0]->TextMatrix(32767, 2), QStringLiteral("1"));
    }

    void workbookImport_data()
    {
        QTest::addColumn<QString>("fichero");
        QTest::addColumn<Filas>("filas");
        QTest::addColumn<bool>("falla");
        QTest::newRow("numbers, block ends at the empty row 5")
            << "numbers.xls"
            << Filas{{"0", "-7"}, {"1.5", "-2.25"}, {"1E-05", "1E+16"}, {"0.3", "123456789.123457"}} << false;
        QTest::newRow("texts") << "texts.xls"
                               << Filas{{"x", "y"}, {"1,5", " 7 "}, {"\u00f1and\u00fa", "\u03a9mega"}, {"label", "2"}}
                               << false;
        QTest::newRow("empty cells") << "empty-cells.xls" << Filas{{"1", ""}, {"", "2"}, {"3", ""}} << false;
        QTest::newRow("error cell: rows before it stay")
            << "error-cell.xls" << Filas{{"1", "2"}, {"3", ""}} << true;
        QTest::newRow("corner joins the block") << "diagonal.xls"
                                                << Filas{{"1", ""}, {"2", ""}, {"", "3"}, {"", ""}, {"", ""},
                                                         {"", ""}, {"", ""}}
                                                << false;
        QTest::newRow("second sheet active") << "two-sheets-second-active.xls"
                                             << Filas{{"10", "20"}, {"30", "40"}, {"50", "60"}} << false;
        QTest::newRow("first sheet active") << "two-sheets-first-active.xls" << Filas{{"1", "2"}, {"3", "4"}}
                                            << false;
        QTest::newRow("A1 alone") << "a1-alone.xls" << Filas{{"5", ""}} << false;
        QTest::newRow("chart sheet active") << "chart-sheet-active.xls" << Filas{{"a", "b"}, {"c", "d"}, {"e", "f"}}
                                            << true;
        QTest::newRow("more than 32767 rows") << "rows-32768.xls" << Filas{{"a", "b"}, {"c", "d"}, {"e", "f"}}
                                              << true;
        QTest::newRow("not a workbook") << "../files/diez-curvas.dat" << Filas{{"a", "b"}, {"c", "d"}, {"e", "f"}}
                                        << true;
        // Long texts go into the grid whole.
        for (int n : {16500, 20000, 32767})
            QTest::addRow("A1 of %d one-byte characters", n)
                << QStringLiteral("a1-text-%1.xls").arg(n) << Filas{{numberedText(n), QString::number(n)}} << false;
        QTest::newRow("A1 of 33,000 UTF-16 characters")
            << "a1-utf16-33000.xls" << Filas{{QString(33000, QChar(0x20AC)), "1"}} << false;
        // Damaged string tables that made FreeXL read past its buffers.
        QTest::newRow("string table read past (found by fuzzing)")
            << "found-string-table-overread.xls" << Filas{{"a", "b"}, {"c", "d"}, {"e", "f"}} << true;
        QTest::newRow("string length damaged")
            << "string-length-damaged.xls" << Filas{{"a", "b"}, {"c", "d"}, {"e", "f"}} << true;
    }
    void workbookImport()
    {
        QFETCH(QString, fichero);
        QFETCH(Filas, filas);
        QFETCH(bool, falla);
        principal &p = abrirventana();
        preparar(p, 0);
        const QString ruta = libro(fichero.toLatin1().constData());
        const QByteArray antes = huella(ruta);
        const QDateTime cambiado = QFileInfo(ruta).lastModified();
        platform::FileDialogCall llamada;
        const auto boxes = pulsar(p.BTexcel[0], ruta, &llamada);
        QCOMPARE(llamada.filter, QStringLiteral("T70 (*.xls)|*.xls"));
        QCOMPARE(llamada.flags, 0x20000CL);
        QCOMPARE(boxes.size(), falla ? 1 : 0);
        if (falla) {
            QCOMPARE(boxes[0].prompt, QStringLiteral("Failed")); // message 72
            QCOMPARE(boxes[0].style, 16);
        }
        QCOMPARE(leerpestana(p, 0).datos, filas);
        QVERIFY(filasnumeradas(p.MSFdata[0]));
        const int r = p.MSFdata[0]->Rows();
        QCOMPARE(p.UPDgrado[0]->Max(), r < 3 ? 1 : r - 2);
        // The workbook is only read.
        QCOMPARE(huella(ruta), antes);
        QCOMPARE(QFileInfo(ruta).lastModified(), cambiado);
        QVERIFY(!p.objexcel);
    }

    void workbookCancelled()
    {
        principal &p = abrirventana();
        preparar(p, 0);
        const auto boxes = pulsar(p.BTexcel[0], QString());
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].style, 64);
        QCOMPARE(p.MSFdata[0]->Rows(), 4);
        QCOMPARE(p.UPDgrado[0]->Max(), 2);
    }
};

QTEST_MAIN(TstImportar)
#include "tst_importar.moc"

// Point import into one curve tab's grid: from a delimited text file (the
// separator chosen beside the button; a line ends at CR, CR LF or LF) or from
// the first two columns of a workbook's active sheet. Only the grid changes.

#include "app/principal.h"

#include "app/ficherosdatos.h"
#include "language/idiomas.h"
#include "platform/flexgrid.h"
#include "platform/textfile.h"
#include "platform/vberror.h"
#include "platform/workbook.h"

#include <QComboBox>
#include <QPushButton>

#include <exception>
#include <limits>

namespace
{

constexpr long flagsimportar = 0x20000C; // long names, keep folder, no read-only box

// A grid holds at most as many points as a curve can.
constexpr int maxpuntos = std::numeric_limits<platform::Integer>::max();

// Appends point row k, numbered and centred, and makes it the current cell.
void anadirfila(platform::FlexGrid *g, int k)
{
    if (k > maxpuntos)
        throw platform::VbError(platform::vberr::Overflow, QStringLiteral("Overflow"));
    g->AddItem(QString::number(k));
    g->setRow(k);
    g->setCol(0);
    g->setCellAlignment(platform::flexAlignCenterCenter);
}

} // namespace

void principal::BTexcel_Click(Integer Index)
{
    try {
        prepararcdialog(leertexto(70) + QStringLiteral(" (*.xls)|*.xls"), flagsimportar);
        CDialog.ShowOpen();
        if (!CDialog.FileName.isEmpty())
            importarexcel(CDialog.FileName, Index);
    } catch (...) {
        mensajefallo(std::current_exception());
    }
    actualizagrado(Index);
}

void principal::BTimport_Click(Integer Index)
{
    try {
        prepararcdialog(leertexto(77) + QStringLiteral(" (*.txt)|*.txt|") + leertexto(78) +
                            QStringLiteral(" (*.dat)|*.dat|") + leertexto(76) + QStringLiteral(" (*.*)|*.*"),
                        flagsimportar);
        CDialog.ShowOpen();
        if (!CDialog.FileName.isEmpty())
            importartexto(CDialog.FileName, Index);
    } catch (...) {
        mensajefallo(std::current_exception());
    }
    actualizagrado(Index);
}

void principal::CMBlimitador_Click(Integer Index)
{
    const auto k = static_cast<std::size_t>(Index);
    BTimport.at(k)->setToolTip(leertexto(45) + QLatin1Char(' ') + CMBlimitador[k]->currentText());
}

void principal::importartexto(const QString &fichero, Integer Index)
{
    const auto i = static_cast<std::size_t>(Index);
    const QString separador = CMBlimitador.at(i)->currentText();
    // The file is read as the rows are filled: one beyond the grid's limit
    // ends the import before it is read, so a huge file costs no memory.
    platform::LineReader lector(fichero, platform::LineBreaks::CrOrLf);
    platform::FlexGrid *g = MSFdata[i];
    const ficheros::Relleno relleno(g);
    g->setRows(1);
    int k = 0;
    while (!lector.atEnd()) {
        ++k;
        anadirfila(g, k);
        const ficheros::CeldasImportadas c = ficheros::celdaslinea(lector.readLine(), separador);
        if (c.campos < 1)
            throw platform::VbError(platform::vberr::SubscriptOutOfRange, QStringLiteral("Empty line"));
        g->setTextMatrix(k, 1, c.x);
        if (c.campos < 2)
            throw platform::VbError(platform::vberr::SubscriptOutOfRange, QStringLiteral("No separator"));
        g->setTextMatrix(k, 2, c.y);
    }
}

void principal::importarexcel(const QString &fichero, Integer Index)
{
    platform::FlexGrid *g = MSFdata.at(static_cast<std::size_t>(Index));
    auto excel = std::make_shared<platform::SpreadsheetApp>();
    objexcel = excel;
    try {
        auto libro = excel->openWorkbook(fichero);
        objlibro = libro;
        auto hoja = std::make_shared<platform::Worksheet>(libro->activeSheet());
        objhoja = hoja;
        const int n = hoja->currentRegionRows();
        const ficheros::Relleno relleno(g);
        g->setRows(1);
        for (int k = 1; k <= n; ++k) {
            anadirfila(g, k);
            g->setTextMatrix(k, 1, hoja->cellText(k, 1));
            g->setTextMatrix(k, 2, hoja->cellText(k, 2));
        }
    } catch (...) {
        // The workbook is only read: closing it leaves its file as it was,
        // so it is released at once rather than kept open after a failure.
        excel->quit();
        objexcel.reset();
        throw;
    }
    // Nothing is saved back: the file the user picked is only read.
    if (auto libro = excel->activeWorkbook())
        libro->close();
    excel->quit();
    objexcel.reset();
}

// The point grid of each curve tab: adding and deleting point rows and the
// editor that floats over a clicked cell.

#include "app/principal.h"

#include "platform/flexgrid.h"
#include "textbox/textextend.h"

void principal::BTadd_Click(Integer Index)
{
    platform::FlexGrid *g = MSFdata.at(static_cast<std::size_t>(Index));
    g->setRows(g->Rows() + 1);
    const int n = g->Rows() - 1;
    g->setTextMatrix(n, 0, QString::number(n));
    g->setRow(n);
    g->setCol(0);
    g->setCellAlignment(platform::flexAlignCenterCenter);
    actualizagrado(Index);
}

void principal::BTdelete_Click(Integer Index)
{
    platform::FlexGrid *g = MSFdata.at(static_cast<std::size_t>(Index));
    if (g->Rows() > 2) {
        // The row where the user's click or drag ended; the header row stays
        // when the selection ends on it.
        const int r = g->RowSel();
        if (r >= 1)
            g->RemoveItem(r);
    } else {
        g->setRows(1);
    }
    g->setRowSel(g->Rows() > 1 ? g->Rows() - 1 : 0);
    for (int i = 1; i <= g->Rows() - 1; ++i) {
        g->setRow(i);
        g->setCol(0);
        g->setCellAlignment(platform::flexAlignCenterCenter);
        g->setTextMatrix(i, 0, QString::number(i));
    }
    actualizagrado(Index);
}

void principal::MSFdata_Click(Integer Index)
{
    const auto k = static_cast<std::size_t>(Index);
    platform::FlexGrid *g = MSFdata.at(k);
    textextend *editor = TXTflex[k];
    if (g->Rows() < 2)
        return;
    if (g->Row() == 0 || g->Col() == 0)
        return;
    // Its change events copy the text straight back into the cell.
    editor->setText(g->Text());
    editor->Move(static_cast<platform::Single>(g->Left() + g->ColPos(g->Col())),
                 static_cast<platform::Single>(g->Top() + g->RowPos(g->Row())),
                 static_cast<platform::Single>(g->CellWidth()),
                 static_cast<platform::Single>(g->CellHeight()));
    editor->raise();
    editor->setVisible(true);
    editor->SetFocus();
}

void principal::TXTflex_Change(Integer Index)
{
    const auto k = static_cast<std::size_t>(Index);
    MSFdata.at(k)->setText(TXTflex[k]->text());
}

void principal::TXTflex_LostFocus(Integer Index)
{
    TXTflex.at(static_cast<std::size_t>(Index))->setVisible(false);
}

void principal::MSFdata_Scroll(Integer Index)
{
    TXTflex.at(static_cast<std::size_t>(Index))->setVisible(false);
}

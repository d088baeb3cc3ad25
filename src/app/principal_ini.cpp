// The keyed (INI-style) layout of a curve data file, read only:
//   [GENERAL]   TITLE, NAME X AXE, NAME Y AXE
//   [CURVE n]   TITLE, POSITION X, POSITION Y, N POINTS, PLOT POINTS,
//               TYPE OF FIT, RANGE OF FIT, LINE THICKNESS, LINE TYPE,
//               LINE COLOUR, X(1), Y(1), X(2), ...
// Curves are numbered from 1 and taken up to the first missing number.
// Nothing is reset beforehand: tabs after the last curve read keep what they
// hold.

#include "app/principal.h"

#include "app/ficherosdatos.h"
#include "chart/graficos.h"
#include "language/iniindice.h"
#include "platform/flexgrid.h"
#include "platform/imagecombo.h"
#include "platform/updown.h"
#include "textbox/textextend.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <charconv>
#include <exception>
#include <iterator>

namespace
{

constexpr long flagsabririni = 0x20000C; // long names, keep folder, no read-only box

} // namespace

bool principal::abrirfichero1()
{
    try {
        prepararcdialog(filtrodatos(), flagsabririni);
        CDialog.ShowOpen();
        // The chosen name is used as it is: an empty one fails to open.
        leerdatosini(IniIndice::leer(CDialog.FileName));
        return true;
    } catch (...) {
        mensajefallo(std::current_exception());
        return false;
    }
}

void principal::leerdatosini(const IniIndice &ini)
{
    const QString general = QStringLiteral("GENERAL");
    TXTtitulog->setText(ini.valor(general, QStringLiteral("TITLE")));
    TXTleyendax->setText(ini.valor(general, QStringLiteral("NAME X AXE")));
    TXTleyenday->setText(ini.valor(general, QStringLiteral("NAME Y AXE")));

    int c = 0;
    for (int i = 0; i < numpestanas; ++i) {
        ++c;
        const QString seccion = QStringLiteral("CURVE %1").arg(c);
        if (!ini.existe(seccion)) {
            --c;
            continue;
        }
        const auto k = static_cast<std::size_t>(i);
        const auto valor = [&](QAnyStringView clave) { return ini.valor(seccion, clave); };

        SSTab->setTabVisible(i, true);
        TXTng->setText(QString::number(c));
        TXTlg[k]->setText(valor(QStringLiteral("TITLE")));
        TXTx[k]->setText(valor(QStringLiteral("POSITION X")));
        TXTy[k]->setText(valor(QStringLiteral("POSITION Y")));

        platform::FlexGrid *g = MSFdata[k];
        const ficheros::Relleno relleno(g);
        const int filas = ficheros::entero(valor(QStringLiteral("N POINTS")), 0, 32767) + 1;
        g->setRows(filas);
        if (ficheros::entero(valor(QStringLiteral("PLOT POINTS")), -32768, 32767) == 0)
            OPTno[k]->setChecked(true);
        else
            OPTsi[k]->setChecked(true);
        const int tipo = ficheros::entero(valor(QStringLiteral("TYPE OF FIT")), 0, ajusteFourier);
        if (CMBunir[k]->currentIndex() == tipo)
            CMBunir_Click(static_cast<Integer>(i));
        else
            CMBunir[k]->setCurrentIndex(tipo); // its click handler fits the degree range

        TXTgrado[k]->setText(valor(QStringLiteral("RANGE OF FIT")));
        TXTgrosor[k]->setText(
            QString::number(ficheros::entero(valor(QStringLiteral("LINE THICKNESS")), -32768, 32767)));
        CMBtipo[k]->setCurrentIndex(ficheros::entero(valor(QStringLiteral("LINE TYPE")), 0, 2));
        CMBcolor[k]->setSelectedPosition(ficheros::entero(valor(QStringLiteral("LINE COLOUR")), 0, 15) + 1);

        // The keys "X(j)" and "Y(j)" and the row number are written into one
        // buffer: "X(" or "Y(", the number, ")".
        char clave[16] = {'X', '('};
        for (int j = 1; j <= filas - 1; ++j) {
            char *fin = std::to_chars(clave + 2, std::end(clave), j).ptr;
            g->setTextMatrix(j, 0, QLatin1StringView(clave + 2, fin));
            g->setRow(j);
            g->setCol(0);
            g->setCellAlignment(platform::flexAlignCenterCenter);
            *fin++ = ')';
            clave[0] = 'X';
            g->setTextMatrix(j, 1, valor(QLatin1StringView(clave, fin)));
            clave[0] = 'Y';
            g->setTextMatrix(j, 2, valor(QLatin1StringView(clave, fin)));
        }
    }
}

// The draw command: the curve tabs in use become the records of the curve
// table, the title and axis captions go to the chart, and the chart redraws.

#include "app/principal.h"

#include "chart/ctrgraficas.h"
#include "chart/graficos.h"
#include "language/idiomas.h"
#include "platform/flexgrid.h"
#include "platform/imagecombo.h"
#include "platform/msgbox.h"
#include "platform/numbertext.h"
#include "platform/vberror.h"
#include "textbox/textextend.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <limits>
#include <vector>

namespace
{

// Fields of the tabs are written with "." as the decimal separator.
const QLocale &regla()
{
    static const QLocale c = QLocale::c();
    return c;
}

} // namespace

// True when every number the command reads from the fields converts: the
// curve count (1 to 10), and for each tab in use the degree, the thickness,
// the legend position and a point count that fits the record.
bool principal::camposnumericos() const
{
    try {
        const int n = platform::cint(TXTng->text(), regla());
        if (n < 1 || n > numpestanas)
            return false;
        for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
            platform::cint(TXTgrado[i]->text(), regla());
            platform::cint(TXTgrosor[i]->text(), regla());
            platform::toDouble(TXTx[i]->text(), regla());
            platform::toDouble(TXTy[i]->text(), regla());
            if (MSFdata[i]->Rows() - 1 > std::numeric_limits<Integer>::max())
                return false;
        }
    } catch (const platform::VbError &) {
        return false;
    }
    return true;
}

void principal::dibujargraficas()
{
    using platform::val;

    if (!camposnumericos()) {
        msgtexto = leertexto(72);
        msgestilo = platform::vbCritical;
        msgtitulo = leertexto(75);
        msgrespuesta = static_cast<Integer>(platform::msgbox(msgtexto, msgestilo, msgtitulo));
        return;
    }

    ctrgraficas1->setTituloCaption(TXTtitulog->text());
    ctrgraficas1->setLeyendXCaption(TXTleyendax->text());
    ctrgraficas1->setLeyendYCaption(TXTleyenday->text());
    ctrgraficas1->setPie(true);
    ctrgraficas1->setBotones(true);
    ctrgraficas1->setLogo(true);
    ctrgraficas1->setNumGraf(QString::number(platform::cint(TXTng->text(), regla())));
    const int numero = static_cast<int>(val(ctrgraficas1->NumGraf()));

    std::vector<Curva> tabla(static_cast<std::size_t>(numero));
    for (int i = 0; i < numero; ++i) {
        const auto k = static_cast<std::size_t>(i);
        Curva &c = tabla[k];
        platform::FlexGrid *g = MSFdata[k];
        c.activa = platform::vbTrue;
        c.leyenda = TXTlg[k]->text();
        c.posicionx = platform::toDouble(TXTx[k]->text(), regla());
        c.posiciony = platform::toDouble(TXTy[k]->text(), regla());
        c.npuntos = static_cast<Integer>(g->Rows() - 1);
        if (c.npuntos < 2) {
            msgtexto = leertexto(73);
            msgestilo = platform::vbCritical;
            msgtitulo = leertexto(74);
            msgrespuesta = static_cast<Integer>(platform::msgbox(msgtexto, msgestilo, msgtitulo));
            return;
        }
        c.verpuntos = OPTsi[k]->isChecked() ? 1 : 0;
        c.tipoajuste = static_cast<Integer>(CMBunir[k]->currentIndex());
        c.grado = platform::cint(TXTgrado[k]->text(), regla());
        c.grosor = platform::cint(TXTgrosor[k]->text(), regla());
        c.tipolinea = static_cast<Integer>(CMBtipo[k]->currentIndex());
        c.color = CMBcolor[k]->selectedPosition() - 1;
        c.puntos.redim(c.npuntos);
        c.maximo.x = c.minimo.x = val(g->TextMatrix(1, 1));
        c.maximo.y = c.minimo.y = val(g->TextMatrix(1, 2));
        for (int j = 1; j <= c.npuntos; ++j) {
            Punto &p = c.puntos(j);
            p.x = val(g->TextMatrix(j, 1));
            if (c.maximo.x < p.x)
                c.maximo.x = p.x;
            if (c.minimo.x > p.x)
                c.minimo.x = p.x;
            p.y = val(g->TextMatrix(j, 2));
            if (c.maximo.y < p.y)
                c.maximo.y = p.y;
            if (c.minimo.y > p.y)
                c.minimo.y = p.y;
        }
        curvas(i + 1) = c;
    }
    ctrgraficas1->actualiza();
}

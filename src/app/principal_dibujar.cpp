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

#include <algorithm>
#include <limits>
#include <utility>
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

    auto avisar = [this](int texto, int titulo) {
        msgtexto = leertexto(texto);
        msgestilo = platform::vbCritical;
        msgtitulo = leertexto(titulo);
        msgrespuesta = static_cast<Integer>(platform::msgbox(msgtexto, msgestilo, msgtitulo));
    };
    if (!camposnumericos()) {
        avisar(72, 75);
        return;
    }

    // The records are built first and stored only once the chart can take
    // them: a cell beyond the number range or a view the chart refuses
    // changes nothing, neither the curve table nor the chart.
    const int numero = platform::cint(TXTng->text(), regla());
    std::vector<Curva> tabla;
    tabla.reserve(static_cast<std::size_t>(numero));
    bool completa = true; // every tab in use has two points at least
    try {
        for (int i = 0; i < numero; ++i) {
            const auto k = static_cast<std::size_t>(i);
            platform::FlexGrid *g = MSFdata[k];
            Curva c;
            c.activa = platform::vbTrue;
            c.leyenda = TXTlg[k]->text();
            c.posicionx = platform::toDouble(TXTx[k]->text(), regla());
            c.posiciony = platform::toDouble(TXTy[k]->text(), regla());
            c.npuntos = static_cast<Integer>(g->Rows() - 1);
            if (c.npuntos < 2) {
                completa = false;
                break;
            }
            c.verpuntos = OPTsi[k]->isChecked() ? 1 : 0;
            c.tipoajuste = static_cast<Integer>(CMBunir[k]->currentIndex());
            c.grado = platform::cint(TXTgrado[k]->text(), regla());
            c.grosor = platform::cint(TXTgrosor[k]->text(), regla());
            c.tipolinea = static_cast<Integer>(CMBtipo[k]->currentIndex());
            c.color = CMBcolor[k]->selectedPosition() - 1;
            c.puntos.redim(c.npuntos);
            // The cells are read in place (ValMatrix is val of the cell's text).
            c.maximo.x = c.minimo.x = g->ValMatrix(1, 1);
            c.maximo.y = c.minimo.y = g->ValMatrix(1, 2);
            for (int j = 1; j <= c.npuntos; ++j) {
                Punto &p = c.puntos(j);
                p.x = g->ValMatrix(j, 1);
                if (c.maximo.x < p.x)
                    c.maximo.x = p.x;
                if (c.minimo.x > p.x)
                    c.minimo.x = p.x;
                p.y = g->ValMatrix(j, 2);
                if (c.maximo.y < p.y)
                    c.maximo.y = p.y;
                if (c.minimo.y > p.y)
                    c.minimo.y = p.y;
            }
            tabla.push_back(std::move(c));
        }
    } catch (const platform::VbError &) {
        avisar(72, 75);
        return;
    }
    if (completa && !tabla.empty()) {
        // The home view the chart will take: all the curves' boxes together.
        Punto minimo = tabla.front().minimo, maximo = tabla.front().maximo;
        for (const Curva &c : tabla) {
            minimo.x = std::min(minimo.x, c.minimo.x);
            minimo.y = std::min(minimo.y, c.minimo.y);
            maximo.x = std::max(maximo.x, c.maximo.x);
            maximo.y = std::max(maximo.y, c.maximo.y);
        }
        if (!ctrgraficas1->vistaadmisible(minimo, maximo))
            return;
    }

    ctrgraficas1->setTituloCaption(TXTtitulog->text());
    ctrgraficas1->setLeyendXCaption(TXTleyendax->text());
    ctrgraficas1->setLeyendYCaption(TXTleyenday->text());
    ctrgraficas1->setPie(true);
    ctrgraficas1->setBotones(true);
    ctrgraficas1->setLogo(true);
    ctrgraficas1->setNumGraf(QString::number(numero));
    for (std::size_t k = 0; k < tabla.size(); ++k)
        curvas(static_cast<int>(k) + 1) = std::move(tabla[k]);
    if (!completa) {
        avisar(73, 74);
        return;
    }
    ctrgraficas1->actualiza();
}

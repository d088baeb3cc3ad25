// The chart picture: composition on the hidden canvas, printing it centred
// on the page, and the copy button that puts it on the clipboard.

#include "chart/chartpicture.h"


#include "chart/ctrgraficas.h"
#include "platform/clipboard.h"
#include "platform/fontfamily.h"
#include "platform/msgbox.h"
#include "platform/numbertext.h"
#include "platform/printer.h"
#include "platform/vberror.h"
#include "textbox/textextend.h"

#include <QLabel>
#include <algorithm>
#include <cmath>

using platform::Integer;
using platform::Single;

namespace
{

platform::OleColor colorDe(const QLabel *l)
{
    const QColor c = l->palette().color(QPalette::WindowText);
    return platform::rgb(c.red(), c.green(), c.blue());
}

int pixeles(Single twips)
{
    return static_cast<int>(std::lround(twips / platform::twipsPerPixel));
}

} // namespace

void componerlienzo(ctrgraficas &g, platform::DrawSurface &lienzo, const QImage &plot)
{
    const Colocacion &area = g.place(g.chartArea());
    const Colocacion &pg = g.place(g.plotBox());
    const Single L = pg.Left(), T = pg.Top(), Wp = pg.Width(), Hp = pg.Height();

    // 1. A clean canvas.
    lienzo.cls();

    // 2. The plot's drawing, shifted 10 twips right and down.
    lienzo.setCurrentX(L);
    lienzo.setCurrentY(T);
    lienzo.paintPicture(plot, L + 10, T + 10);

    // 3. Tick marks at tenths of the plot: left of it, and under it down to
    //    150 twips above the x caption's centred top.
    const Single H = area.Height();
    const Single Hx = g.place(g.captionX()).Height();
    const Single abajo = T + Hp;
    const Single B = abajo + (H - abajo - Hx) / 2 - 150;
    for (int i = 0; i <= 10; ++i) {
        const Single y = T + Single(i) * Hp / 10;
        lienzo.line(L - 100, y, L, y);
        const Single x = L + Single(i) * Wp / 10;
        lienzo.line(x, abajo, x, B);
    }

    // 4. Frame.
    lienzo.rectangle(L, T, L + Wp, T + Hp, lienzo.foreColor());

    // 5. Limit values: y maximum, x minimum, y minimum at their boxes' places,
    //    x maximum ending at the canvas's right edge.
    for (int k : {1, 3, 2}) {
        const textextend *t = g.limitBox(k);
        lienzo.setCurrentX(t->Left());
        lienzo.setCurrentY(t->Top());
        lienzo.print(t->text());
    }
    const textextend *t4 = g.limitBox(4);
    lienzo.setCurrentX(area.Left() + area.Width() - t4->Width());
    lienzo.setCurrentY(t4->Top());
    lienzo.print(t4->text());

    // 6. Axis captions, horizontal.
    for (QLabel *l : {g.captionX(), g.captionY()}) {
        const Colocacion &c = g.place(l);
        lienzo.setCurrentX(c.Left());
        lienzo.setCurrentY(c.Top());
        lienzo.print(l->text());
    }

    // 7. Visible legend texts, from plot units to the canvas, in their colours.
    //    A curve without a label yet has no legend to show.
    const Integer n = platform::cint(g.NumGraf());
    const platform::DrawSurface &plano = g.pct();
    for (int i = 1; i <= n && i <= maxCurvas; ++i) {
        const QLabel *l = g.legendLabel(i);
        if (!l || l->isHidden())
            continue;
        const Single x = (Single(g.leyendaLeft(i)) - plano.scaleLeft()) * Wp / plano.scaleWidth() + L;
        const Single y = (Single(g.leyendaTop(i)) - plano.scaleTop()) * Hp / plano.scaleHeight() + T;
        // A legend placed beyond what the canvas's scale can hold is not
        // on the picture.
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        lienzo.setForeColor(colorDe(l));
        lienzo.setCurrentX(x);
        lienzo.setCurrentY(y);
        lienzo.print(l->text());
    }

    // 8. The text colour of the limit boxes.
    lienzo.setForeColor(g.limitBox(1)->ForeColor());
}

void ctrgraficas::componergrafica()
{
    // The canvas takes the chart area's height, width, top and left.
    const Colocacion &area = place(frmgrafico);
    pctgraficas->setGeometry(pixeles(area.Left()), pixeles(area.Top()), pixeles(area.Width()),
                             pixeles(area.Height()));
    // Before its first composition the canvas takes the picture box's classic
    // face and the colour that every composition leaves it with, so that the
    // first picture is the same as the ones after it.
    const char *const preparado = "curvexaLienzoPreparado";
    if (!pctgraficas->property(preparado).toBool()) {
        pctgraficas->setFont(platform::resolvedFont(QStringLiteral("MS Sans Serif"), 8));
        pctgraficas->setForeColor(txtescala[1]->ForeColor());
        pctgraficas->setProperty(preparado, true);
    }
    componerlienzo(*this, *pctgraficas, pctgrafico->image());
}

void ctrgraficas::imprimirgrafica()
{
    componergrafica();
    platform::Printer &p = platform::printer();
    QImage lienzo = pctgraficas->image();
    // A chart wider than the page is scaled down to fit between margins of
    // one inch on both sides, so that no printer cuts off its axis values; a
    // chart that fits on the page is printed at its own size.
    const Single anchoPagina = p.scaleWidth();
    const Single margen = 1440;
    if (Single(lienzo.width() * platform::twipsPerPixel) > anchoPagina && anchoPagina > 2 * margen)
        lienzo = lienzo.scaledToWidth(std::max(1, int((anchoPagina - 2 * margen) / platform::twipsPerPixel)),
                                      Qt::SmoothTransformation);
    const Single ancho = Single(lienzo.width() * platform::twipsPerPixel);
    p.setCurrentX((p.scaleWidth() - ancho) / 2);
    const Single arriba = p.currentY();
    p.paintPicture(lienzo, p.currentX(), arriba);
    // What follows starts at 6000, or just below the picture when the
    // picture reaches lower, so that no text is printed over the chart.
    const Single abajo = arriba + Single(lienzo.height() * platform::twipsPerPixel);
    p.setCurrentY(std::max(Single(6000), abajo));
}

void ctrgraficas::btclipb_Click()
{
    try {
        componergrafica();
        platform::clipboardClear();
        platform::clipboardSetData(pctgraficas->image(), platform::vbCFBitmap);
    } catch (const platform::VbError &e) {
        platform::msgbox(QStringLiteral("The chart could not be copied to the clipboard.\r") +
                             e.description(),
                         platform::vbCritical);
    } catch (const std::exception &e) {
        platform::msgbox(QStringLiteral("The chart could not be copied to the clipboard.\r") +
                             QString::fromLocal8Bit(e.what()),
                         platform::vbCritical);
    }
}

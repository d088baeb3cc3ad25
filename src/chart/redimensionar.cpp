// Layout of the chart control: minimum size is in ctrgraficas.cpp; here every
// child is placed from the control's size, the captions and the current view.
// All positions are twips, computed in double and assigned as Single.

#include "chart/ctrgraficas.h"

#include "platform/numbertext.h"
#include "platform/vberror.h"
#include "textbox/textextend.h"

#include <QLabel>
#include <QFontMetrics>
#include <QPushButton>
#include <cfloat>
#include <cmath>

using platform::Single;

Single comoSingle(double v)
{
    // Written so that a NaN fails as well.
    if (!(std::fabs(v) <= double(FLT_MAX)))
        throw platform::VbError(platform::vberr::Overflow, QStringLiteral("Overflow"));
    return static_cast<Single>(v);
}

namespace
{

// Sets one of a limit box's Top, Left or Width, keeping the other two.
void boxTop(textextend *t, double v)
{
    t->Move(t->Left(), comoSingle(v), t->Width());
}
void boxLeft(textextend *t, double v)
{
    t->Move(comoSingle(v), t->Top(), t->Width());
}
void boxWidth(textextend *t, double v)
{
    t->Move(t->Left(), t->Top(), comoSingle(v));
}

} // namespace

void ctrgraficas::redimensionar()
{
    // 1. Chart area: full width, from the top.
    geoFrmgrafico.setWidth(Width());
    geoFrmgrafico.setLeft(0);
    geoFrmgrafico.setTop(0);

    // 2. Footer.
    if (Pie()) {
        geoFrmpie.setLeft(0);
        geoFrmpie.setHeight(1300);
        geoFrmpie.setWidth(geoFrmgrafico.Width());
        geoFrmgrafico.setHeight(comoSingle(double(Height()) - double(geoFrmpie.Height())));
        geoFrmpie.setTop(comoSingle(double(geoFrmgrafico.Top()) + double(geoFrmgrafico.Height())));

        const double pw = geoFrmpie.Width(), ph = geoFrmpie.Height();
        geoLbcomentario.setLeft(comoSingle((pw - geoLbcomentario.Width()) / 2));
        geoLbcomentario.setTop(comoSingle((ph - geoLbcomentario.Height()) / 2));
        const double tituloDerecha = double(geoLbcomentario.Left()) + double(geoLbcomentario.Width());
        geoBtclipb.setLeft(comoSingle((tituloDerecha + pw - geoBtclipb.Width()) / 2));
        geoBtclipb.setTop(comoSingle((ph / 2 - geoBtclipb.Height()) / 2));
        geoBtprint.setLeft(comoSingle((tituloDerecha + pw - geoBtprint.Width()) / 2));
        geoBtprint.setTop(comoSingle((ph * 3 / 2 - geoBtprint.Height()) / 2));
        geoImgLogo.setLeft(comoSingle((double(geoLbcomentario.Left()) - geoImgLogo.Width()) / 2));
        geoImgLogo.setTop(comoSingle((ph - geoImgLogo.Height()) / 2));
    } else {
        geoFrmgrafico.setHeight(Height());
    }

    // 3. Plot.
    const double H = geoFrmgrafico.Height(), W = geoFrmgrafico.Width();
    geoPctgrafico.setHeight(comoSingle(0.8 * H));
    geoPctgrafico.setWidth(comoSingle(0.85 * W));
    geoPctgrafico.setTop(comoSingle((H - geoPctgrafico.Height()) / 3));
    geoPctgrafico.setLeft(comoSingle((W - geoPctgrafico.Width()) * 3 / 4));
    const double L = geoPctgrafico.Left(), T = geoPctgrafico.Top();
    const double Wp = geoPctgrafico.Width(), Hp = geoPctgrafico.Height();
    const double banda = H - (T + Hp);

    // 4. Y caption: top at half the plot's height, centred left of the plot.
    // A caption wider than that margin is broken into lines at its blanks,
    // so that the plot does not cover its end nor the chart's edge its start.
    lby->setWordWrap(false);
    lby->setText(LeyendYCaption());
    geoLby.autoSize();
    if (double(geoLby.Width()) > L) {
        const int margen = std::max(1, int(std::floor(platform::pixelsFromTwips(L))));
        const QRect lineas = lby->fontMetrics().boundingRect(QRect(0, 0, margen, 1 << 16),
                                                            Qt::AlignHCenter | Qt::TextWordWrap, lby->text());
        lby->setWordWrap(true);
        geoLby.setWidth(Single(platform::twipsFromPixels(lineas.width())));
        geoLby.setHeight(Single(platform::twipsFromPixels(lineas.height())));
    }
    geoLby.setTop(comoSingle(Hp / 2));
    geoLby.setLeft(comoSingle(std::max(0.0, (L - geoLby.Width()) / 2)));

    // 5. X caption: centred in the band under the plot.
    lbx->setText(LeyendXCaption());
    geoLbx.autoSize();
    geoLbx.setTop(comoSingle(T + Hp + (banda - geoLbx.Height()) / 2));
    geoLbx.setLeft(comoSingle(L + (Wp - geoLbx.Width()) / 2));

    // 6. Limit boxes, each in the order Top, Width, Left: the x-limit boxes
    // are placed by their new width, so that they stand centred under the
    // plot's left edge and against its right edge from the first run on
    // (placed by the width of the run before, the x maximum stood past the
    // plot, and out of the chart, until the next drawing pass).
    textextend *t1 = txtescala[1], *t2 = txtescala[2], *t3 = txtescala[3], *t4 = txtescala[4];
    boxTop(t1, T - double(t1->Height()) / 2);
    boxWidth(t1, 0.9 * L);
    boxLeft(t1, 10);
    boxTop(t2, T + Hp - double(t2->Height()) / 2);
    boxWidth(t2, t1->Width());
    boxLeft(t2, 10);
    boxTop(t3, T + Hp + (banda - t3->Height()) / 2);
    boxWidth(t3, t1->Width());
    boxLeft(t3, L - double(t3->Width()) / 2);
    boxTop(t4, T + Hp + (banda - t4->Height()) / 2);
    boxWidth(t4, t1->Width());
    boxLeft(t4, L + Wp - t4->Width());

    // 7. Tick marks.
    const double Wb = t1->Width(), Lb = t1->Left();
    for (int i = 0; i <= 10; ++i) {
        LineaControl *h = Lineh[std::size_t(i)];
        h->setX1(comoSingle(Wb - Lb + 50));
        h->setX2(comoSingle(L + h->X1 - Wb));
        h->setY1(comoSingle(i < 10 ? T + i * Hp / 10 : T + Hp - 20));
        h->setY2(h->Y1);
        LineaControl *v = Linev[std::size_t(i)];
        v->setY1(comoSingle(T + Hp));
        v->setY2(comoSingle(T + Hp + (banda - geoLbx.Height()) / 2 - 250));
        v->setX1(comoSingle(i < 10 ? L + i * Wp / 10 : L + Wp - 20));
        v->setX2(v->X1);
    }

    // 8. The view into the boxes.
    mostrarVista(escalamin, escalamax);

    // 9 to 13. The plot's user scale; a zero span stops here.
    platform::DrawSurface &s = pct();
    const Single top = comoSingle(escalamax.y), left = comoSingle(escalamin.x);
    s.setScaleTop(top);
    s.setScaleLeft(left);
    if (escalamin.y == escalamax.y)
        return;
    s.setScaleHeight(comoSingle(escalamin.y - escalamax.y));
    if (escalamin.x == escalamax.x)
        return;
    s.setScaleWidth(comoSingle(escalamax.x - escalamin.x));

    // 14. Check and apply the view (clears the plot when it is accepted).
    fijarescala(escalamin, escalamax);
}

void ctrgraficas::mostrarVista(const Punto &p1, const Punto &p2)
{
    const std::pair<int, double> valores[] = {{3, p1.x}, {2, p1.y}, {4, p2.x}, {1, p2.y}};
    for (const auto &[k, v] : valores) {
        textoVista_[std::size_t(k)] = platform::formatFixed4(v);
        txtescala[std::size_t(k)]->setText(textoVista_[std::size_t(k)]);
    }
}

// The chart's view window, the data extents and the drawing pass.

#include "chart/ctrgraficas.h"

#include "chart/pasoseguro.h"
#include "platform/msgbox.h"
#include "platform/vberror.h"

#include <QLabel>
#include <cfloat>
#include <cmath>
#include <limits>

namespace
{

constexpr double maxIntervalo = 1e8;

void avisoIntervalo(const QString &linea)
{
    platform::msgbox(linea + QLatin1Char('\r') + QStringLiteral("Choose another interval"),
                     platform::vbCritical, QStringLiteral("Warning"));
}

QColor qcolor(platform::OleColor c)
{
    return QColor(platform::redOf(c), platform::greenOf(c), platform::blueOf(c));
}

// Pixel positions for widgets stay within what a widget can be moved to.
int pxClamp(double px)
{
    if (!(px > -1.0e6))
        return -1000000;
    return px > 1.0e6 ? 1000000 : int(std::lround(px));
}

bool finito(const Tramo &t)
{
    return std::isfinite(t.x1) && std::isfinite(t.y1) && std::isfinite(t.x2) && std::isfinite(t.y2);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One axis of a view fits the plot: a span of at most 1e8 (zero included)
// between two ends that the plot's single-precision scale can hold.
bool ejeadmisible(double a, double b)
{
    return std::fabs(a - b) <= maxIntervalo && std::fabs(a) <= double(FLT_MAX) &&
           std::fabs(b) <= double(FLT_MAX);
}

// Continues a curve's end piece t, which runs from the end point (x1, y1)
// into the curve, straight away from the curve to the view's edge on that
// side, when the view reaches beyond the end point `extremo`. A vertical or
// zero-length piece has no direction to continue in and is left as it is.
void prolongar(platform::DrawSurface &s, const Tramo &t, double extremo, const Punto &vmin, const Punto &vmax,
               platform::OleColor color)
{
    if (!finito(t))
        return;
    if (t.x2 > t.x1) {
        if (vmin.x < extremo) {
            const double y = t.y1 - (t.x1 - vmin.x) * (t.y2 - t.y1) / (t.x2 - t.x1);
            pasoseguro::linea(s, vmin.x, y, t.x1, t.y1, color);
        }
    } else if (t.x2 < t.x1) {
        if (vmax.x > extremo) {
            const double y = t.y1 + (t.y1 - t.y2) * (vmax.x - t.x1) / (t.x1 - t.x2);
            pasoseguro::linea(s, t.x1, t.y1, vmax.x, y, color);
        }
    }
}

} // namespace

bool ctrgraficas::vistaadmisible(const Punto &p1, const Punto &p2)
{
    if (!ejeadmisible(p1.y, p2.y)) {
        avisoIntervalo(QStringLiteral("Y axe interval tends to infinite"));
        return false;
    }
    if (!ejeadmisible(p1.x, p2.x)) {
        avisoIntervalo(QStringLiteral("X axe interval tends to infinite."));
        return false;
    }
    return true;
}

bool ctrgraficas::fijarescala(Punto &p1, Punto &p2)
{
    if (std::fabs(p1.y - p2.y) == 0) {
        avisoIntervalo(QStringLiteral("Y axe interval is zero."));
        return false;
    }
    if (std::fabs(p1.x - p2.x) == 0) {
        avisoIntervalo(QStringLiteral("X axe interval is zero."));
        return false;
    }
    if (!vistaadmisible(p1, p2))
        return false;
    mostrarVista(p1, p2);
    platform::DrawSurface &s = pct();
    s.setScaleTop(comoSingle(p2.y));
    s.setScaleLeft(comoSingle(p1.x));
    s.setScaleHeight(comoSingle(p1.y - p2.y));
    s.setScaleWidth(comoSingle(p2.x - p1.x));
    s.cls();
    return true;
}

void ctrgraficas::calcularextremos(Integer n, const PuntoArray &puntos, Punto &minimo, Punto &maximo)
{
    if (puntos.empty())
        return;
    minimo = puntos(1);
    maximo = puntos(1);
    const int ultimo = std::min<int>(n, puntos.ubound());
    for (int i = 1; i <= ultimo; ++i) {
        const Punto &p = puntos(i);
        if (p.x < minimo.x)
            minimo.x = p.x;
        if (p.y < minimo.y)
            minimo.y = p.y;
        if (p.x > maximo.x)
            maximo.x = p.x;
        if (p.y > maximo.y)
            maximo.y = p.y;
    }
}

void ctrgraficas::clear()
{
    const int n = std::min<int>(numgraf_, maxCurvas);
    for (int i = 1; i <= n; ++i) {
        if (QLabel *l = lbleyenda[std::size_t(i)])
            l->hide();
        curvas(i).activa = platform::vbFalse;
    }
    escalainicialmin = escalamin = Punto{0, 0};
    escalainicialmax = escalamax = Punto{1, 1};
}

void ctrgraficas::actualiza()
{
    // The new home view is worked out aside: a view the plot cannot show
    // leaves both views, the boxes and the picture as they are.
    Punto minimo = escalainicialmin, maximo = escalainicialmax;
    bool alguna = false;
    const int n = std::min<int>(numgraf_, maxCurvas);
    for (int i = 1; i <= n; ++i) {
        Curva &c = curvas(i);
        if (!c.isActive())
            continue;
        if (i > 1)
            crearLeyenda(i);
        calcularextremos(c.npuntos, c.puntos, c.minimo, c.maximo);
        if (i == 1) {
            minimo = c.minimo;
            maximo = c.maximo;
        } else {
            if (c.minimo.x < minimo.x)
                minimo.x = c.minimo.x;
            if (c.maximo.x > maximo.x)
                maximo.x = c.maximo.x;
            if (c.minimo.y < minimo.y)
                minimo.y = c.minimo.y;
            if (c.maximo.y > maximo.y)
                maximo.y = c.maximo.y;
        }
        alguna = true;
    }
    if (alguna) {
        if (!vistaadmisible(minimo, maximo))
            return;
        escalainicialmin = escalamin = minimo;
        escalainicialmax = escalamax = maximo;
    }
    dibuja();
}

void ctrgraficas::dibuja()
{
    dibujado_ = true;
    try {
        redimensionar();
    } catch (const std::exception &) {
        // Drawing goes on in whatever scale the plot has.
    }
    platform::DrawSurface &s = pct();
    TrazoDestino destino{s, tramoinicial, tramofinal};
    const int n = std::min<int>(numgraf_, maxCurvas);
    for (int i = 1; i <= n; ++i) {
        Curva &c = curvas(i);
        if (!c.isActive())
            continue;
        // A curve whose drawing draws no segment gets no extensions.
        tramoinicial = tramofinal = Tramo{kNaN, kNaN, kNaN, kNaN};
        try {
            switch (c.tipoajuste) {
            case ajustePuntos:
            case ajusteSegmentos:
                dibujapuntos(destino, c);
                break;
            case ajusteSpline:
                dibujaspline(destino, c);
                break;
            case ajustePolinomio:
                dibujapolinomio(destino, c);
                break;
            case ajusteMinimosX:
            case ajusteMinimosSeno:
            case ajusteMinimosCoseno:
                if (c.npuntos > c.grado) {
                    dibujaajuste(destino, Integer(c.tipoajuste - 4), c);
                } else {
                    // Nothing more is drawn in this pass; the program and
                    // its data carry on.
                    if (avisosGrado_)
                        platform::msgbox(QStringLiteral("Fit step is over number of points"),
                                         platform::vbCritical);
                    return;
                }
                break;
            case ajusteFourier:
                if (double(c.npuntos) / 2 >= double(c.grado)) {
                    dibujafourier(destino, c);
                } else {
                    if (avisosGrado_)
                        platform::msgbox(QStringLiteral("Fit step is over number of points"),
                                         platform::vbCritical);
                    return;
                }
                break;
            default:
                break;
            }
        } catch (const std::exception &) {
            // The renderer stops; the legend and extensions still follow.
        }

        try {
            colocarleyenda(Integer(i));
        } catch (const std::exception &) {
        }

        s.setDrawStyle(platform::drawStyleDot);
        const int np = std::min<int>(c.npuntos, c.puntos.ubound());
        if (np < 1)
            continue;
        // The first and the last drawn pieces go on to the view's edges,
        // each away from the curve.
        const platform::OleColor color = qbcolor(c.color);
        prolongar(s, tramoinicial, c.puntos(1).x, escalamin, escalamax, color);
        prolongar(s, tramofinal, c.puntos(np).x, escalamin, escalamax, color);
    }
}

double ctrgraficas::alturaLeyenda(int i) const
{
    const QLabel *l = lbleyenda.at(std::size_t(i));
    if (!l)
        return 0;
    platform::DrawSurface &s = *superficie_;
    const int hpx = pctgrafico->heightPx();
    return l->height() * std::fabs(double(s.scaleHeight())) / (hpx > 0 ? hpx : 1);
}

void ctrgraficas::moverLeyenda(int i, double left, double top)
{
    QLabel *l = lbleyenda.at(std::size_t(i));
    if (!l)
        return;
    leyendaPos_[std::size_t(i)] = Punto{left, top};
    const platform::DrawSurface &s = *superficie_;
    const QRect inner = pctgrafico->innerRect();
    const double px = (left - double(s.scaleLeft())) * inner.width() / double(s.scaleWidth());
    const double py = (top - double(s.scaleTop())) * inner.height() / double(s.scaleHeight());
    l->move(inner.left() + pxClamp(px), inner.top() + pxClamp(py));
}

void ctrgraficas::colocarleyenda(Integer i)
{
    QLabel *l = lbleyenda.at(std::size_t(i));
    if (!l)
        return;
    const Curva &c = curvas(i);
    l->setText(c.leyenda);
    l->adjustSize();
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, qcolor(qbcolor(c.color)));
    l->setPalette(pal);
    moverLeyenda(i, c.posicionx, c.posiciony);
    if (c.posicionx == 0 && c.posiciony == 0) {
        l->hide();
    } else if (c.posicionx == -1 && c.posiciony == -1) {
        moverLeyenda(i, escalamin.x, escalamin.y + i * alturaLeyenda(i));
        l->show();
    } else {
        l->show();
    }
}

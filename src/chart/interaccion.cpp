// What the user does on the chart with the mouse and the keyboard: the
// coordinate read-out, the rubber-band zoom and the home view, dragging a
// legend label to a new place, and typing the view's limits into the four
// axis-limit boxes.
//
// The plot's mouse events arrive in its user scale (the current view), so the
// handlers work in chart units; the legend labels report twips inside
// themselves. Every handler runs to its end; a failure inside one (a value
// beyond what the plot's scale can hold) ends that handler where it happened
// and the program carries on.

#include "chart/ctrgraficas.h"

#include "platform/msgbox.h"
#include "platform/numbertext.h"
#include "platform/olecolor.h"
#include "platform/vbinput.h"
#include "textbox/textextend.h"

#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>

using platform::Integer;
using platform::Single;

namespace
{

constexpr Integer botonIzquierdo = 1;
constexpr Integer botonDerecho = 2;
constexpr Integer botonCentral = 4;
constexpr Integer teclaEnter = 13;

// Colours of the rubber band and of a box being edited.
constexpr int colorRecuadro = 1;
constexpr int colorEdicion = 15;

// "####0.0000" with the regional decimal separator.
QString lecturaRegional(double v)
{
    QString s = platform::formatFixed4(v);
    s.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return s;
}

// The outline that follows the pointer while a legend label is dragged: a
// dotted frame of the label's size, see-through and out of the mouse's way.
class ContornoArrastre : public QWidget
{
public:
    explicit ContornoArrastre(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(QPen(QColor(0, 0, 0), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

} // namespace

void ctrgraficas::prepararInteraccion()
{
    pctgrafico->setMouseTracking(true);
    pctgrafico->setFocusPolicy(Qt::ClickFocus);
    pctgrafico->installEventFilter(this);

    for (int i = 1; i <= 4; ++i) {
        textextend *t = txtescala[std::size_t(i)];
        const Integer index = Integer(i);
        t->setAlignment(1);  // right
        t->setAppearance(0); // flat
        t->setBorderStyle(0);
        t->setSigno(true);
        t->setBackColor(platform::vbButtonFace);
        connect(t, &textextend::Click, this, [this, index] { txtescala_Click(index); });
        connect(t, &textextend::KeyPress, this, [this, index](Integer &KeyAscii) {
            try {
                txtescala_KeyPress(index, KeyAscii);
            } catch (const std::exception &) {
            }
        });
        connect(t, &textextend::LostFocus, this, [this, index] {
            try {
                txtescala_LostFocus(index);
            } catch (const std::exception &) {
            }
        });
    }
}

void ctrgraficas::prepararLeyenda(QLabel *l)
{
    l->setCursor(Qt::SizeAllCursor);
    l->setMouseTracking(true);
    l->installEventFilter(this);
}

int ctrgraficas::indiceLeyenda(const QObject *o) const
{
    for (int i = 1; i <= maxCurvas; ++i)
        if (lbleyenda[std::size_t(i)] && lbleyenda[std::size_t(i)] == o)
            return i;
    return 0;
}

QPointF ctrgraficas::unidadesDesdePixel(QPointF pos) const
{
    // Pixel positions inside the plot's drawing area, in its user scale.
    const platform::DrawSurface &s = *superficie_;
    const QRect inner = pctgrafico->innerRect();
    const int w = s.widthPx() > 0 ? s.widthPx() : 1, h = s.heightPx() > 0 ? s.heightPx() : 1;
    const double x = double(s.scaleLeft()) + (pos.x() - inner.left()) * double(s.scaleWidth()) / w;
    const double y = double(s.scaleTop()) + (pos.y() - inner.top()) * double(s.scaleHeight()) / h;
    return QPointF(Single(x), Single(y));
}

bool ctrgraficas::filtroInteraccion(QObject *watched, QEvent *event)
{
    try {
        if (watched == pctgrafico)
            return eventoPlot(event);
        if (const int i = indiceLeyenda(watched))
            return eventoLeyenda(i, event);
    } catch (const std::exception &) {
        // The handler stops at the step that failed.
    }
    return false;
}

bool ctrgraficas::eventoPlot(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        auto *me = static_cast<QMouseEvent *>(event);
        const QPointF p = unidadesDesdePixel(me->position());
        const Integer shift = platform::vbShiftState(me->modifiers());
        const Single X = Single(p.x()), Y = Single(p.y());
        if (event->type() == QEvent::MouseMove) {
            pctgrafico_MouseMove(platform::vbMouseButtons(me->buttons()), shift, X, Y);
            if (me->buttons() == Qt::NoButton && QToolTip::isVisible())
                QToolTip::showText(me->globalPosition().toPoint(), pctgrafico->toolTip(), pctgrafico);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            pctgrafico_MouseUp(platform::vbMouseButtons(me->button()), shift, X, Y);
        } else {
            pctgrafico_MouseDown(platform::vbMouseButtons(me->button()), shift, X, Y);
        }
        return false;
    }
    default:
        return false;
    }
}

bool ctrgraficas::eventoLeyenda(int i, QEvent *event)
{
    const QEvent::Type tipo = event->type();
    if (tipo != QEvent::MouseMove && tipo != QEvent::MouseButtonPress && tipo != QEvent::MouseButtonRelease)
        return false;
    auto *me = static_cast<QMouseEvent *>(event);
    QLabel *l = lbleyenda[std::size_t(i)];

    if (arrastre_ == i) {
        // A drag in progress: the label holds the pointer until the button
        // is let go; its outline follows and the plot is told where it is.
        const bool suelto = tipo == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton;
        if (tipo == QEvent::MouseMove && !(me->buttons() & Qt::LeftButton)) {
            terminarArrastre(nullptr, QPointF()); // the release went elsewhere
            return false;
        }
        if (tipo == QEvent::MouseMove || suelto) {
            const QPointF enPlot = l->mapTo(pctgrafico, me->position());
            const bool sobrePlot = puntoSobrePlot(l, me->position());
            if (contorno_) {
                contorno_->move(l->mapTo(contorno_->parentWidget(), me->position().toPoint()) - agarre_);
                contorno_->raise();
            }
            if (suelto) {
                terminarArrastre(sobrePlot ? l : nullptr, enPlot);
            } else if (sobrePlot) {
                const QPointF p = unidadesDesdePixel(enPlot);
                pctgrafico_DragOver(l, Single(p.x()), Single(p.y()), 2);
            }
        }
        return true;
    }

    if (tipo == QEvent::MouseButtonRelease)
        return false;
    // A press counts as the pointer being over the label at that place, so the
    // grab offset is where the label was taken even when no move came first.
    const Single X = Single(platform::twipsFromPixels(me->position().x()));
    const Single Y = Single(platform::twipsFromPixels(me->position().y()));
    lbleyenda_MouseMove(Integer(i), platform::vbMouseButtons(me->buttons()),
                        platform::vbShiftState(me->modifiers()), X, Y);
    if (tipo == QEvent::MouseMove || me->button() != Qt::LeftButton)
        return false;

    // Pressing the left button drags the label: an outline of it follows the
    // pointer and the label moves only when it is dropped on the plot.
    arrastre_ = i;
    agarre_ = me->position().toPoint();
    delete contorno_;
    contorno_ = new ContornoArrastre(window());
    contorno_->setObjectName(QStringLiteral("contornoLeyenda"));
    contorno_->resize(l->size());
    contorno_->move(l->mapTo(contorno_->parentWidget(), QPoint(0, 0)));
    contorno_->show();
    contorno_->raise();
    return true;
}

bool ctrgraficas::puntoSobrePlot(QWidget *desde, QPointF pos) const
{
    QWidget *ventana = window();
    QWidget *debajo = ventana->childAt(desde->mapTo(ventana, pos.toPoint()));
    return debajo && (debajo == pctgrafico || pctgrafico->isAncestorOf(debajo));
}

void ctrgraficas::terminarArrastre(QWidget *soltada, QPointF enPlot)
{
    arrastre_ = 0;
    delete contorno_;
    contorno_ = nullptr;
    if (!soltada)
        return;
    const QPointF p = unidadesDesdePixel(enPlot);
    pctgrafico_DragDrop(soltada, Single(p.x()), Single(p.y()));
}

// --- the plot ----------------------------------------------------------------

void ctrgraficas::pctgrafico_MouseMove(Integer Button, Integer Shift, Single X, Single Y)
{
    Q_UNUSED(Shift);
    if (Button == botonIzquierdo) {
        // Rubber band: in pen mode 14 the box drawn last is taken off white
        // pixels by drawing it again; then the new box from the press point.
        platform::DrawSurface &s = pct();
        const platform::OleColor color = qbcolor(colorRecuadro);
        s.setDrawStyle(platform::drawStyleDot);
        s.rectangle(Single(recuadro.x1), Single(recuadro.y1), Single(recuadro.x2), Single(recuadro.y2),
                    color);
        s.rectangle(Single(escalamin.x), Single(escalamin.y), X, Y, color);
        recuadro = Tramo{escalamin.x, escalamin.y, double(X), double(Y)};
        return;
    }
    if (Button == botonDerecho || Button == botonCentral)
        return;
    pctgrafico->setToolTip(QLatin1Char('(') + lecturaRegional(X) + QLatin1Char(',') + lecturaRegional(Y) +
                           QLatin1Char(')'));
}

void ctrgraficas::pctgrafico_MouseDown(Integer Button, Integer Shift, Single X, Single Y)
{
    Q_UNUSED(Shift);
    antesMin_ = escalamin;
    antesMax_ = escalamax;
    pct().setDrawMode(platform::drawModeMergeNotPen);
    if (Button == botonIzquierdo) {
        escalamin = Punto{double(X), double(Y)};
    } else if (Button == botonDerecho) {
        escalamin = escalainicialmin;
        escalamax = escalainicialmax;
    }
}

void ctrgraficas::pctgrafico_MouseUp(Integer Button, Integer Shift, Single X, Single Y)
{
    Q_UNUSED(Shift);
    if (Button == botonIzquierdo) {
        if (double(X) <= escalamin.x) {
            escalamax.x = escalamin.x;
            escalamin.x = double(X);
        } else {
            escalamax.x = double(X);
        }
        if (double(Y) <= escalamin.y) {
            escalamax.y = escalamin.y;
            escalamin.y = double(Y);
        } else {
            escalamax.y = double(Y);
        }
    }
    if (escalamin.x != escalamax.x && escalamin.y != escalamax.y) {
        pct().setDrawMode(platform::drawModeCopyPen);
        if (fijarescala(escalamin, escalamax)) {
            dibuja();
            return;
        }
        // Refused: the view goes back to what it was before the press, and
        // so does its picture, drawn again without the rubber band. A view
        // without a span there had no picture of its own: the band stays,
        // as after any drag that applies nothing.
        escalamin = antesMin_;
        escalamax = antesMax_;
        if (escalamin.x != escalamax.x && escalamin.y != escalamax.y)
            redibujar();
        else
            pct().setDrawMode(platform::drawModeMergeNotPen);
    }
}

// --- legend labels -------------------------------------------------------------

void ctrgraficas::lbleyenda_MouseMove(Integer Index, Integer Button, Integer Shift, Single X, Single Y)
{
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    leyendaindice = Index;
    leyendadx = platform::clng(X);
    leyendady = platform::clng(Y);
}

void ctrgraficas::pctgrafico_DragOver(QWidget *Source, Single X, Single Y, Integer State)
{
    Q_UNUSED(X);
    Q_UNUSED(Y);
    Q_UNUSED(State);
    auto *arrastrada = qobject_cast<QLabel *>(Source);
    if (!arrastrada || leyendaindice < 1 || leyendaindice > maxCurvas)
        return;
    if (const QLabel *l = lbleyenda[std::size_t(leyendaindice)]; l && arrastrada->text() != l->text())
        arrastrada->setText(l->text());
}

void ctrgraficas::pctgrafico_DragDrop(QWidget *Source, Single X, Single Y)
{
    Q_UNUSED(Source);
    // Nothing to move until the pointer has been over a label.
    const int k = leyendaindice;
    if (k < 1 || k > maxCurvas || !lbleyenda[std::size_t(k)])
        return;
    // The grab offset, twips inside the label, in chart units: the label's
    // top-left corner keeps its distance to the pointer.
    auto izquierda = [&] {
        return double(X) - double(pct().scaleWidth()) * leyendadx / double(geoPctgrafico.Width());
    };
    auto arriba = [&] {
        return double(Y) - double(pct().scaleHeight()) * leyendady / double(geoPctgrafico.Height());
    };
    const Single left = comoSingle(izquierda());
    const Single top = comoSingle(arriba());
    moverLeyenda(k, left, top);
    curvas(k).posicionx = izquierda();
    curvas(k).posiciony = arriba();
}

// --- axis-limit boxes -----------------------------------------------------------

void ctrgraficas::txtescala_Click(Integer Index)
{
    textextend *t = txtescala.at(std::size_t(Index));
    t->setBackColor(qbcolor(colorEdicion));
    t->SetFocus();
}

void ctrgraficas::txtescala_KeyPress(Integer Index, Integer &KeyAscii)
{
    if (KeyAscii != teclaEnter)
        return;
    // After a refused view the box shows its old text again; the focus loss
    // that follows has nothing left to do.
    salidaIgnorada_ = dejarcaja(Index) ? 0 : Index;
    pctgrafico->setFocus(Qt::OtherFocusReason);
    salidaIgnorada_ = 0;
    KeyAscii = 0;
}

void ctrgraficas::txtescala_LostFocus(Integer Index)
{
    if (Index != salidaIgnorada_)
        dejarcaja(Index);
}

bool ctrgraficas::dejarcaja(Integer Index)
{
    // Boxes 1 (y maximum) and 2 (y minimum) are partners, and so are 3
    // (x minimum) and 4 (x maximum).
    const int k = Index;
    const int p = k == 1 ? 2 : k == 2 ? 1 : k == 3 ? 4 : 3;
    textextend *propia = txtescala.at(std::size_t(k));
    const double pareja = platform::val(txtescala.at(std::size_t(p))->text());
    const double valor = platform::val(propia->text());
    const bool esMaximo = k == 1 || k == 4;
    const double maximo = esMaximo ? valor : pareja;
    const double minimo = esMaximo ? pareja : valor;
    if (maximo < minimo) {
        platform::msgbox(k <= 2 ? QStringLiteral("Y maximum value must be greater than Y mnimum value")
                                : QStringLiteral("X maximum value must be greater than X mnimum value"),
                         platform::vbOKOnly);
        propia->SetFocus();
        return true;
    }
    const double nuevo = platform::val(propia->text());
    Punto vmin = escalamin, vmax = escalamax;
    switch (k) {
    case 1:
        vmax.y = nuevo;
        break;
    case 2:
        vmin.y = nuevo;
        break;
    case 3:
        vmin.x = nuevo;
        break;
    default:
        vmax.x = nuevo;
        break;
    }
    propia->setBackColor(platform::vbButtonFace);
    if (!vistaadmisible(vmin, vmax)) {
        // The edit is dropped: the box shows what it showed before, and the
        // view and the picture stay as they are.
        propia->setText(textoVista_[std::size_t(k)]);
        return false;
    }
    escalamin = vmin;
    escalamax = vmax;
    dibuja();
    return true;
}

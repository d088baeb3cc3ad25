// The chart control: constituents, properties, property bag, resize rules
// and the logo click.

#include "chart/ctrgraficas.h"

#include "platform/numbertext.h"
#include "platform/propertybag.h"
#include "platform/shell.h"
#include "platform/vberror.h"
#include "textbox/textextend.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <algorithm>
#include <cmath>

using platform::Single;

namespace
{

constexpr Single minAncho = 7995;      // twips
constexpr Single minAltoConPie = 4795; // twips
constexpr Single minAltoSinPie = 3495; // twips

int pxFromTwips(double twips)
{
    const double px = twips / platform::twipsPerPixel;
    if (!(px > -1.0e6))
        return -1000000;
    if (px > 1.0e6)
        return 1000000;
    return qRound(px);
}

QColor qcolor(platform::OleColor c)
{
    return QColor(platform::redOf(c), platform::greenOf(c), platform::blueOf(c));
}

void setTextColour(QWidget *w, platform::OleColor c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, qcolor(c));
    w->setPalette(pal);
}

// The logo: a small curve through dots on a light square.
QPixmap logoPicture()
{
    QPixmap pm(48, 48);
    pm.fill(QColor(255, 255, 255));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawRect(0, 0, 47, 47);
    p.drawLine(6, 41, 43, 41);
    p.drawLine(6, 41, 6, 4);
    QPainterPath path(QPointF(8, 38));
    path.cubicTo(QPointF(18, 0), QPointF(28, 50), QPointF(42, 8));
    p.setPen(QPen(QColor(0, 0, 255), 2));
    p.drawPath(path);
    p.setBrush(QColor(255, 0, 0));
    p.setPen(Qt::NoPen);
    for (const QPointF c : {QPointF(8, 38), QPointF(18, 20), QPointF(28, 26), QPointF(42, 8)})
        p.drawEllipse(c, 2.5, 2.5);
    return pm;
}

} // namespace

// --- Colocacion ------------------------------------------------------------

Single Colocacion::ajustar(Single v) const
{
    if (tipo_ == sinVentana)
        return v;
    return Single(platform::twipsFromPixels(pxFromTwips(v)));
}
void Colocacion::setLeft(Single v)
{
    left_ = ajustar(v);
    apply();
}
void Colocacion::setTop(Single v)
{
    top_ = ajustar(v);
    apply();
}
void Colocacion::setWidth(Single v)
{
    width_ = ajustar(v);
    apply();
}
void Colocacion::setHeight(Single v)
{
    height_ = ajustar(v);
    apply();
}
void Colocacion::move(Single left, Single top, Single width, Single height)
{
    left_ = ajustar(left);
    top_ = ajustar(top);
    width_ = ajustar(width);
    height_ = ajustar(height);
    apply();
}
void Colocacion::autoSize()
{
    if (!w_)
        return;
    const QSize s = w_->sizeHint();
    width_ = Single(platform::twipsFromPixels(s.width()));
    height_ = Single(platform::twipsFromPixels(s.height()));
    apply();
}
void Colocacion::apply()
{
    if (!w_)
        return;
    const int l = pxFromTwips(left_), t = pxFromTwips(top_);
    if (tipo_ == conVentana) {
        w_->setGeometry(l, t, std::max(pxFromTwips(width_), 0), std::max(pxFromTwips(height_), 0));
        return;
    }
    const int r = pxFromTwips(double(left_) + double(width_)),
              b = pxFromTwips(double(top_) + double(height_));
    w_->setGeometry(l, t, std::max(r - l, 0), std::max(b - t, 0));
}

// --- line controls and the chart area --------------------------------------

LineaControl::LineaControl(QWidget *container, const QString &name) : QObject(container)
{
    setObjectName(name);
}

void LineaControl::changed()
{
    if (auto *w = qobject_cast<QWidget *>(parent()))
        w->update();
}

void AreaGrafico::paintEvent(QPaintEvent *event)
{
    platform::PictureBox::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (QObject *o : children()) {
        auto *l = qobject_cast<LineaControl *>(o);
        if (!l || !l->Visible)
            continue;
        p.setPen(QPen(qcolor(l->BorderColor), 1));
        p.drawLine(pxFromTwips(l->X1), pxFromTwips(l->Y1), pxFromTwips(l->X2), pxFromTwips(l->Y2));
    }
}

// --- construction -----------------------------------------------------------

ctrgraficas::ctrgraficas(QWidget *parent) : QWidget(parent)
{
    buildConstituents();
    superficie_ = pctgrafico;
}

ctrgraficas::~ctrgraficas() = default;

void ctrgraficas::buildConstituents()
{
    const QFont sans(QStringLiteral("Liberation Sans"), 8);
    QFont serifItalic(QStringLiteral("Liberation Serif"), 12);
    serifItalic.setItalic(true);
    QFont titleFont(QStringLiteral("Liberation Sans"));
    titleFont.setPointSizeF(13.5);

    setFont(sans);
    setAutoFillBackground(true);

    frmpie = new QWidget(this);
    frmpie->setObjectName(QStringLiteral("frmpie"));
    geoFrmpie.attach(frmpie);

    btclipb = new QPushButton(frmpie);
    btclipb->setObjectName(QStringLiteral("btclipb"));
    btclipb->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    geoBtclipb.attach(btclipb);
    geoBtclipb.move(0, 0, 1095, 525);

    btprint = new QPushButton(frmpie);
    btprint->setObjectName(QStringLiteral("btprint"));
    btprint->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    geoBtprint.attach(btprint);
    geoBtprint.move(0, 0, 1095, 525);
    connect(btclipb, &QPushButton::clicked, this, &ctrgraficas::btclipb_Click);
    connect(btprint, &QPushButton::clicked, this, &ctrgraficas::btprint_Click);

    ImgLogo = new QLabel(frmpie);
    ImgLogo->setObjectName(QStringLiteral("ImgLogo"));
    ImgLogo->setPixmap(logoPicture());
    ImgLogo->setCursor(Qt::PointingHandCursor);
    ImgLogo->installEventFilter(this);
    geoImgLogo.attach(ImgLogo);
    geoImgLogo.autoSize();

    lbcomentario = new QLabel(frmpie);
    lbcomentario->setObjectName(QStringLiteral("lbcomentario"));
    lbcomentario->setFont(titleFont);
    lbcomentario->setWordWrap(true);
    geoLbcomentario.attach(lbcomentario);
    geoLbcomentario.move(0, 0, 5610, 720);
    aplicarAlineacionTitulo();

    pctgraficas = new platform::PictureBox(this);
    pctgraficas->setObjectName(QStringLiteral("pctgraficas"));
    pctgraficas->hide();

    frmgrafico = new AreaGrafico(this);
    frmgrafico->setObjectName(QStringLiteral("frmgrafico"));
    geoFrmgrafico.attach(frmgrafico);

    for (int i = 0; i <= 10; ++i) {
        Linev[std::size_t(i)] = new LineaControl(frmgrafico, QStringLiteral("Linev_%1").arg(i));
        Lineh[std::size_t(i)] = new LineaControl(frmgrafico, QStringLiteral("Lineh_%1").arg(i));
    }

    lbx = new QLabel(QStringLiteral("X"), frmgrafico);
    lbx->setObjectName(QStringLiteral("lbx"));
    lbx->setFont(serifItalic);
    geoLbx.attach(lbx);
    geoLbx.autoSize();

    lby = new QLabel(QStringLiteral("Y"), frmgrafico);
    lby->setObjectName(QStringLiteral("lby"));
    lby->setFont(serifItalic);
    lby->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    geoLby.attach(lby);
    geoLby.autoSize();

    pctgrafico = new platform::PictureBox(frmgrafico);
    pctgrafico->setObjectName(QStringLiteral("pctgrafico"));
    pctgrafico->setBorderStyle(1);
    geoPctgrafico.attach(pctgrafico);

    for (int i = 1; i <= 4; ++i) {
        auto *t = new textextend(frmgrafico);
        t->setObjectName(QStringLiteral("txtescala_%1").arg(i));
        t->setNumberBox(textextend::numerodecimal);
        txtescala[std::size_t(i)] = t;
    }

    crearLeyenda(1);
    lbleyenda[1]->setText(QStringLiteral("Label1"));
    lbleyenda[1]->adjustSize();
    prepararInteraccion();

    // Start values.
    numgraf_ = 1;
    pie_ = platform::vbTrue;
    imgWebPage_.clear();
    textResult_.clear();
    escalainicialmin = escalainicialmax = escalamin = escalamax = Punto{};
}

void ctrgraficas::crearLeyenda(int i)
{
    if (i < 1 || i > maxCurvas || lbleyenda[std::size_t(i)])
        return;
    auto *l = new QLabel(pctgrafico);
    l->setObjectName(QStringLiteral("lbleyenda_%1").arg(i));
    l->setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAutoFillBackground(false);
    l->hide();
    lbleyenda[std::size_t(i)] = l;
    prepararLeyenda(l);
}

Colocacion &ctrgraficas::placeOf(QWidget *w)
{
    return const_cast<Colocacion &>(place(w));
}

const Colocacion &ctrgraficas::place(const QWidget *w) const
{
    for (const Colocacion *c : {&geoFrmpie, &geoBtclipb, &geoBtprint, &geoImgLogo, &geoLbcomentario,
                                &geoFrmgrafico, &geoPctgrafico, &geoLbx, &geoLby})
        if (c->widget() == w)
            return *c;
    throw platform::VbError(platform::vberr::InvalidProcedureCall, QStringLiteral("Not a placed control"));
}

QSize ctrgraficas::minimumSizeHint() const
{
    const Single alto = Pie() ? minAltoConPie : minAltoSinPie;
    return QSize(int(std::ceil(minAncho / platform::twipsPerPixel)),
                 int(std::ceil(alto / platform::twipsPerPixel)));
}

Single ctrgraficas::Width() const
{
    return Single(platform::twipsFromPixels(width()));
}
Single ctrgraficas::Height() const
{
    return Single(platform::twipsFromPixels(height()));
}

void ctrgraficas::setPlotSurface(platform::DrawSurface *surface)
{
    superficie_ = surface ? surface : pctgrafico;
}

// --- properties --------------------------------------------------------------

bool ctrgraficas::Pie() const
{
    return platform::isTrue(pie_);
}

void ctrgraficas::setPie(bool value)
{
    frmpie->setVisible(value);
    pie_ = platform::toVbBool(value);
    btclipb->setVisible(value);
    btprint->setVisible(value);
    ImgLogo->setVisible(value);
    UserControl_Resize();
    emit PropertyChanged(QStringLiteral("Pie"));
}

bool ctrgraficas::Logo() const
{
    return !ImgLogo->isHidden();
}

void ctrgraficas::setLogo(bool value)
{
    ImgLogo->setVisible(value);
    emit PropertyChanged(QStringLiteral("Logo"));
}

bool ctrgraficas::Botones() const
{
    return !btclipb->isHidden();
}

void ctrgraficas::setBotones(bool value)
{
    btclipb->setVisible(value);
    btprint->setVisible(value);
    emit PropertyChanged(QStringLiteral("Botones"));
}

QString ctrgraficas::TituloCaption() const
{
    return lbcomentario->text();
}

void ctrgraficas::setTituloCaption(const QString &value)
{
    lbcomentario->setText(value);
    emit PropertyChanged(QStringLiteral("TituloCaption"));
}

platform::Long ctrgraficas::TituloAlignement() const
{
    return tituloAlign_;
}

void ctrgraficas::setTituloAlignement(Long value)
{
    if (value < 0)
        throw platform::VbError(platform::vberr::InvalidPropertyValue,
                                QStringLiteral("Invalid property value"));
    if (value > 2)
        value = 2;
    tituloAlign_ = Integer(value);
    aplicarAlineacionTitulo();
    emit PropertyChanged(QStringLiteral("TituloAlignement"));
}

void ctrgraficas::aplicarAlineacionTitulo()
{
    static const Qt::Alignment h[3] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    lbcomentario->setAlignment(h[std::clamp<int>(tituloAlign_, 0, 2)] | Qt::AlignTop);
}

platform::OleColor ctrgraficas::TituloForeColor() const
{
    return tituloForeColor_;
}

void ctrgraficas::setTituloForeColor(OleColor value)
{
    tituloForeColor_ = value;
    setTextColour(lbcomentario, value);
    emit PropertyChanged(QStringLiteral("TituloForeColor"));
}

QFont ctrgraficas::TituloFont() const
{
    return lbcomentario->font();
}

void ctrgraficas::setTituloFont(const QFont &value)
{
    lbcomentario->setFont(value);
    emit PropertyChanged(QStringLiteral("TituloFont"));
}

QString ctrgraficas::LeyendXCaption() const
{
    return lbx->text();
}

void ctrgraficas::setLeyendXCaption(const QString &value)
{
    lbx->setText(value);
    geoLbx.autoSize();
    emit PropertyChanged(QStringLiteral("LeyendXCaption"));
}

QString ctrgraficas::LeyendYCaption() const
{
    return lby->text();
}

void ctrgraficas::setLeyendYCaption(const QString &value)
{
    lby->setText(value);
    geoLby.autoSize();
    emit PropertyChanged(QStringLiteral("LeyendYCaption"));
}

QString ctrgraficas::NumGraf() const
{
    return QString::number(numgraf_);
}

void ctrgraficas::setNumGraf(const QString &value)
{
    numgraf_ = platform::cint(value, QLocale());
    emit PropertyChanged(QStringLiteral("NumGraf"));
}

platform::Long ctrgraficas::MouseLabelPointer() const
{
    return txtescala[1]->MousePointer();
}

void ctrgraficas::setMouseLabelPointer(Long value)
{
    for (int i = 1; i <= 4; ++i)
        txtescala[std::size_t(i)]->setMousePointer(value);
    emit PropertyChanged(QStringLiteral("MouseLabelPointer"));
}

QImage ctrgraficas::MouseLabelIcon() const
{
    return txtescala[1]->MouseIcon();
}

void ctrgraficas::setMouseLabelIcon(const QImage &value)
{
    for (int i = 1; i <= 4; ++i)
        txtescala[std::size_t(i)]->setMouseIcon(value);
    emit PropertyChanged(QStringLiteral("MouseLabelIcon"));
}

QString ctrgraficas::CopyCaption() const
{
    return btclipb->text();
}

void ctrgraficas::setCopyCaption(const QString &value)
{
    btclipb->setText(value);
    emit PropertyChanged(QStringLiteral("CopyCaption"));
}

QString ctrgraficas::PrintCaption() const
{
    return btprint->text();
}

void ctrgraficas::setPrintCaption(const QString &value)
{
    btprint->setText(value);
    emit PropertyChanged(QStringLiteral("PrintCaption"));
}

QString ctrgraficas::ImgToolTip() const
{
    return ImgLogo->toolTip();
}

void ctrgraficas::setImgToolTip(const QString &value)
{
    ImgLogo->setToolTip(value);
    emit PropertyChanged(QStringLiteral("ImgToolTip"));
}

QString ctrgraficas::ImgWebPage() const
{
    return imgWebPage_;
}

void ctrgraficas::setImgWebPage(const QString &value)
{
    imgWebPage_ = value;
    emit PropertyChanged(QStringLiteral("ImgWebPage"));
}

QString ctrgraficas::TextResult() const
{
    return textResult_;
}

void ctrgraficas::setTextResult(const QString &value)
{
    textResult_ = value;
    emit PropertyChanged(QStringLiteral("TextResult"));
}

// --- lifecycle ----------------------------------------------------------------

void ctrgraficas::UserControl_InitProperties()
{
    escalainicialmin = escalamin = Punto{0, 0};
    escalainicialmax = escalamax = Punto{1, 1};
}

void ctrgraficas::UserControl_ReadProperties(const platform::PropertyBag &bag)
{
    frmpie->setVisible(bag.readProperty(QStringLiteral("Pie"), true).toBool());
    pie_ = platform::toVbBool(bag.readProperty(QStringLiteral("Pie"), true).toBool());
    ImgLogo->setVisible(bag.readProperty(QStringLiteral("Logo"), true).toBool());
    btprint->setVisible(bag.readProperty(QStringLiteral("Botones"), true).toBool());
    btclipb->setVisible(bag.readProperty(QStringLiteral("Botones"), true).toBool());
    btclipb->setText(bag.readProperty(QStringLiteral("CopyCaption"), QString()).toString());
    btprint->setText(bag.readProperty(QStringLiteral("PrintCaption"), QString()).toString());
    lbcomentario->setText(bag.readProperty(QStringLiteral("TituloCaption"), QString()).toString());
    ImgLogo->setToolTip(bag.readProperty(QStringLiteral("ImgToolTip"), QString()).toString());
    imgWebPage_ = bag.readProperty(QStringLiteral("ImgWebPage"), QString()).toString();
    textResult_ = bag.readProperty(QStringLiteral("TextResult"), QString()).toString();
    numgraf_ = platform::cint(bag.readProperty(QStringLiteral("NumGraf"), 1).toDouble());
    for (int i = 1; i <= 4; ++i) {
        textextend *t = txtescala[std::size_t(i)];
        t->setMousePointer(
            platform::clng(bag.readProperty(QStringLiteral("MouseLabelPointer"), 0).toDouble()));
        t->setMouseIcon(bag.readProperty(QStringLiteral("MouseLabelIcon"), QVariant()).value<QImage>());
    }
}

void ctrgraficas::UserControl_WriteProperties(platform::PropertyBag &bag) const
{
    bag.writeProperty(QStringLiteral("Pie"), !frmpie->isHidden());
    bag.writeProperty(QStringLiteral("Logo"), !ImgLogo->isHidden());
    bag.writeProperty(QStringLiteral("Botones"), !btprint->isHidden());
    bag.writeProperty(QStringLiteral("CopyCaption"), btclipb->text());
    bag.writeProperty(QStringLiteral("PrintCaption"), btprint->text());
    bag.writeProperty(QStringLiteral("TituloCaption"), lbcomentario->text());
    bag.writeProperty(QStringLiteral("ImgToolTip"), ImgLogo->toolTip());
    bag.writeProperty(QStringLiteral("ImgWebPage"), imgWebPage_);
    bag.writeProperty(QStringLiteral("TextResult"), textResult_);
    bag.writeProperty(QStringLiteral("NumGraf"), QVariant::fromValue<qint16>(numgraf_));
    bag.writeProperty(QStringLiteral("MouseLabelPointer"),
                      QVariant::fromValue<qint32>(txtescala[1]->MousePointer()));
    bag.writeProperty(QStringLiteral("MouseLabelIcon"), QVariant::fromValue(txtescala[1]->MouseIcon()));
}

void ctrgraficas::resizeEvent(QResizeEvent *event)
{
    ++resizeEvents_;
    QWidget::resizeEvent(event);
    const Single minAlto = Pie() ? minAltoConPie : minAltoSinPie;
    // A view of zero span (left by a click without movement) is not applied
    // by the layout, so the plot is not cleared: drawing again then would
    // draw the curves over themselves.
    const bool vistaAplicable = escalamin.x != escalamax.x && escalamin.y != escalamax.y;
    if (dibujado_ && vistaAplicable && Width() >= minAncho && Height() >= minAlto) {
        // The layout clears the plot; once curves have been drawn they are
        // drawn again on the new size rather than leaving the plot blank (a
        // hidden chart also gets its first resize event only when shown,
        // after it was drawn). The degree message is not repeated here.
        redibujar();
        return;
    }
    UserControl_Resize();
}

void ctrgraficas::redibujar()
{
    avisosGrado_ = false;
    dibuja();
    avisosGrado_ = true;
}

void ctrgraficas::UserControl_Resize()
{
    // A size change raises a new resize event in which the checks start
    // again; a hidden widget gets none until it is shown, so the checks are
    // then repeated here.
    auto resized = [this](int wPx, int hPx) {
        const int before = resizeEvents_;
        resize(wPx, hPx);
        // A window whose new size is not applied yet gets its event later.
        if (resizeEvents_ == before && width() == wPx && height() == hPx)
            UserControl_Resize();
    };
    if (Width() < minAncho) {
        resized(int(std::ceil(minAncho / platform::twipsPerPixel)), height());
        return;
    }
    const Single minAlto = Pie() ? minAltoConPie : minAltoSinPie;
    if (Height() < minAlto) {
        resized(width(), int(std::ceil(minAlto / platform::twipsPerPixel)));
        return;
    }
    try {
        redimensionar();
    } catch (const std::exception &) {
        // The layout stops at the step that failed; what it placed stays.
    }
}

// --- logo -------------------------------------------------------------------

bool ctrgraficas::eventFilter(QObject *watched, QEvent *event)
{
    if (filtroInteraccion(watched, event))
        return true;
    if (watched == ImgLogo && event->type() == QEvent::MouseButtonRelease &&
        ImgLogo->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        ImgLogo_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ctrgraficas::ImgLogo_Click()
{
    // The result is not looked at: a page that cannot be opened changes nothing.
    platform::shell(QStringLiteral("explorer ") + imgWebPage_, platform::vbNormalFocus);
}

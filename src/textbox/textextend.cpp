#include "textbox/textextend.h"

#include "platform/fontfamily.h"
#include "platform/mousepointer.h"
#include "platform/numbertext.h"
#include "platform/olecolor.h"
#include "platform/propertybag.h"
#include "platform/vberror.h"
#include "platform/vbinput.h"

#include <QApplication>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QResizeEvent>
#include <QStyleOptionFrame>

using platform::Integer;
using platform::Long;
using platform::OleColor;
using platform::Single;
using platform::VbError;

namespace {

// The face a new control draws and measures with, and its size.
const QString defaultFace = QStringLiteral("MS Sans Serif");
constexpr double defaultPointSize = 8.25;
constexpr OleColor defaultForeColor = 13655080; // red 40, green 92, blue 208
constexpr OleColor white = 16777215;

QFont defaultFont()
{
    // Looking the face up is slow next to everything else a new box does.
    static const QFont font = platform::resolvedFont(defaultFace, defaultPointSize);
    return font;
}

Integer toInteger(Long value) { return platform::cint(static_cast<double>(value)); }

[[noreturn]] void invalidValue()
{
    throw VbError(platform::vberr::InvalidPropertyValue, QStringLiteral("Invalid property value"));
}

[[noreturn]] void typeMismatch()
{
    throw VbError(platform::vberr::TypeMismatch, QStringLiteral("Type mismatch"));
}

bool isNumberVariant(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// Bag values of the kinds the control reads. Numbers may arrive as numbers or
// as texts; anything else is a type mismatch.
double bagNumber(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1.0 : 0.0;
    if (isNumberVariant(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::QString)
        return platform::toDouble(v.toString());
    typeMismatch();
}

Integer bagInteger(const QVariant &v) { return platform::cint(bagNumber(v)); }

bool bagBool(const QVariant &v)
{
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return bagNumber(v) != 0.0;
}

// A colour: a 32-bit value, signed as stored or unsigned.
OleColor bagColor(const QVariant &v)
{
    const double d = bagNumber(v);
    if (!(d >= -2147483648.0 && d <= 4294967295.0))
        throw VbError(platform::vberr::Overflow, QStringLiteral("Overflow"));
    return static_cast<OleColor>(static_cast<qint64>(platform::clng(d < 2147483648.0 ? d : d - 4294967296.0)));
}

// A font object; a bare face name gives that face at the default size. Faces
// that are not installed are replaced by their installed twin.
QFont bagFont(const QVariant &v)
{
    if (v.typeId() == QMetaType::QFont) {
        QFont f = v.value<QFont>();
        f.setFamily(platform::resolveFontFamily(f.family()));
        return f;
    }
    if (v.typeId() == QMetaType::QString && !v.toString().isEmpty())
        return platform::resolvedFont(v.toString(), defaultPointSize);
    return defaultFont();
}

QImage bagPicture(const QVariant &v)
{
    if (v.typeId() == QMetaType::QImage)
        return v.value<QImage>();
    if (v.typeId() == QMetaType::QPixmap)
        return v.value<QPixmap>().toImage();
    return QImage();
}

bool isEmptyValue(const QVariant &v)
{
    return !v.isValid() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

Qt::Alignment horizontalAlignment(Integer value)
{
    switch (value) {
    case 1:
        return Qt::AlignRight;
    case 2:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

Long alignmentValue(Qt::Alignment a)
{
    if (a & Qt::AlignRight)
        return 1;
    if (a & Qt::AlignHCenter)
        return 2;
    return 0;
}

// Twips <-> pixels of the control's geometry.
int toPixels(double twips) { return qRound(platform::pixelsFromTwips(twips)); }
Single toTwips(int px) { return static_cast<Single>(platform::twipsFromPixels(px)); }

// Shows a chosen mask character in place of the style's own.
class MaskStyle : public QProxyStyle {
public:
    QChar mask;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return mask.unicode();
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The text box. Its border (single line, flat or three-dimensional) is drawn
// with its background, beneath the text: the layout makes the box exactly one
// line of text high, so a border drawn over it would cut off the descenders.
class TextBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    bool bordered = true;
    bool flat = false;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        {
            QPainter p(this);
            const QPalette &pal = palette();
            p.fillRect(rect(), pal.base());
            if (bordered) {
                const QRect r = rect().adjusted(0, 0, -1, -1);
                if (flat) {
                    // One line all round.
                    p.setPen(pal.color(QPalette::WindowText));
                    p.drawRect(r);
                } else {
                    // Sunken: dark above and to the left.
                    p.setPen(pal.color(QPalette::Dark));
                    p.drawLine(r.topLeft(), r.topRight());
                    p.drawLine(r.topLeft(), r.bottomLeft());
                    p.setPen(pal.color(QPalette::Midlight));
                    p.drawLine(r.bottomLeft(), r.bottomRight());
                    p.drawLine(r.topRight(), r.bottomRight());
                }
            }
        }
        QLineEdit::paintEvent(event);
    }

    // The style's panel must not paint over the background and border above.
    void initStyleOption(QStyleOptionFrame *option) const override
    {
        QLineEdit::initStyleOption(option);
        option->palette.setBrush(QPalette::Base, Qt::transparent);
    }
};

} // namespace

textextend::textextend(QWidget *parent)
    : QWidget(parent), txtForeColor_(defaultForeColor), txtBackColor_(platform::vbWindowBackground),
      headerForeColor_(defaultForeColor), headerBackColor_(white)
{
    const QFont font = defaultFont();
    drawFont_ = font;

    lblHeader = new QLabel(this);
    lblHeader->setObjectName(QStringLiteral("lblHeader"));
    lblHeader->setTextFormat(Qt::PlainText);
    lblHeader->setFont(font);
    lblHeader->setText(QStringLiteral("Header"));
    lblHeader->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblHeader->setAutoFillBackground(true);
    lblHeader->hide();

    Txt = new TextBox(this);
    Txt->setObjectName(QStringLiteral("Txt"));
    Txt->setFont(font);
    Txt->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Txt->setMouseTracking(true);
    Txt->installEventFilter(this);
    connect(Txt, &QLineEdit::textChanged, this, [this] { Txt_Change(); });

    setFocusProxy(Txt);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    applyTxtColors();
    applyHeaderColors();
    applyTxtLook();
    UserControl_Resize();
}

textextend::~textextend()
{
    // The box outlives this part of the control while the widget tears down;
    // nothing it does then may reach the handlers.
    Txt->removeEventFilter(this);
    disconnect(Txt, nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------
// Properties

QFont textextend::Font() const { return Txt->font(); }

void textextend::setFont(const QFont &font)
{
    Txt->setFont(font);
    UserControl_Resize();
    emit PropertyChanged(QStringLiteral("Font"));
}

OleColor textextend::ForeColor() const { return txtForeColor_; }

void textextend::setForeColor(OleColor color)
{
    txtForeColor_ = color;
    applyTxtColors();
    emit PropertyChanged(QStringLiteral("ForeColor"));
}

OleColor textextend::BackColor() const { return txtBackColor_; }

void textextend::setBackColor(OleColor color)
{
    txtBackColor_ = color;
    applyTxtColors();
    emit PropertyChanged(QStringLiteral("BackColor"));
}

QString textextend::text() const { return Txt->text(); }

void textextend::setText(const QString &text)
{
    Txt->setText(text);
    emit PropertyChanged(QStringLiteral("Text"));
}

Long textextend::Alignment() const { return alignmentValue(Txt->alignment()); }

void textextend::setAlignment(Long value)
{
    if (value > 2)
        value = 2;
    if (value < 0)
        invalidValue();
    setTxtAlignment(toInteger(value));
    emit PropertyChanged(QStringLiteral("Alignment"));
}

Long textextend::MousePointer() const { return mousePointer_; }

void textextend::setMousePointer(Long value)
{
    setTxtMousePointer(toInteger(value));
    emit PropertyChanged(QStringLiteral("MousePointer"));
}

QImage textextend::MouseIcon() const { return mouseIcon_; }

void textextend::setMouseIcon(const QImage &icon)
{
    mouseIcon_ = icon;
    platform::applyMousePointer(Txt, mousePointer_, mouseIcon_);
    emit PropertyChanged(QStringLiteral("MouseIcon"));
}

Long textextend::Appearance() const { return appearance_; }

void textextend::setAppearance(Long value)
{
    setTxtAppearance(toInteger(value));
    emit PropertyChanged(QStringLiteral("Appearance"));
}

Long textextend::BorderStyle() const { return borderStyle_; }

void textextend::setBorderStyle(Long value)
{
    setTxtBorderStyle(toInteger(value));
    emit PropertyChanged(QStringLiteral("BorderStyle"));
}

Long textextend::NumberBox() const { return numberBox_; }

void textextend::setNumberBox(Long value)
{
    numberBox_ = toInteger(value);
    emit PropertyChanged(QStringLiteral("NumberBox"));
}

bool textextend::Signo() const { return signo_; }

void textextend::setSigno(bool value)
{
    signo_ = value;
    emit PropertyChanged(QStringLiteral("Signo"));
}

bool textextend::SelOnFocus() const { return selOnFocus_; }

void textextend::setSelOnFocus(bool value)
{
    selOnFocus_ = value;
    emit PropertyChanged(QStringLiteral("SelOnFocus"));
}

bool textextend::Enabled() const { return Txt->isEnabledTo(this); }

void textextend::setEnabled(bool value)
{
    Txt->setEnabled(value);
    emit PropertyChanged(QStringLiteral("Enabled"));
}

bool textextend::Locked() const { return Txt->isReadOnly(); }

void textextend::setLocked(bool value)
{
    Txt->setReadOnly(value);
    emit PropertyChanged(QStringLiteral("Locked"));
}

QString textextend::PasswordChar() const { return passwordChar_; }

void textextend::setPasswordChar(const QString &value)
{
    setTxtPasswordChar(value.left(1));
    emit PropertyChanged(QStringLiteral("PasswordChar"));
}

bool textextend::Header() const { return !lblHeader->isHidden(); }

void textextend::setHeader(bool value)
{
    lblHeader->setVisible(value);
    UserControl_Resize();
    emit PropertyChanged(QStringLiteral("Header"));
}

Long textextend::HeaderAlignement() const { return alignmentValue(lblHeader->alignment()); }

void textextend::setHeaderAlignement(Long value)
{
    if (value > 2)
        value = 2;
    if (value < 0)
        invalidValue();
    setHeaderLabelAlignment(toInteger(value));
    emit PropertyChanged(QStringLiteral("HeaderAlignement"));
}

OleColor textextend::HeaderForeColor() const { return headerForeColor_; }

void textextend::setHeaderForeColor(OleColor color)
{
    headerForeColor_ = color;
    applyHeaderColors();
    emit PropertyChanged(QStringLiteral("HeaderForeColor"));
}

OleColor textextend::HeaderBackColor() const { return headerBackColor_; }

void textextend::setHeaderBackColor(OleColor color)
{
    headerBackColor_ = color;
    applyHeaderColors();
    emit PropertyChanged(QStringLiteral("HeaderBackColor"));
}

QFont textextend::HeaderFont() const { return lblHeader->font(); }

void textextend::setHeaderFont(const QFont &font)
{
    lblHeader->setFont(font);
    UserControl_Resize();
    emit PropertyChanged(QStringLiteral("HeaderFont"));
}

QString textextend::HeaderCaption() const { return lblHeader->text(); }

void textextend::setHeaderCaption(const QString &caption)
{
    lblHeader->setText(caption);
    emit PropertyChanged(QStringLiteral("HeaderCaption"));
}

// ---------------------------------------------------------------------------
// What the constituents accept

void textextend::setTxtAlignment(Integer value)
{
    if (value < 0 || value > 2)
        invalidValue();
    Txt->setAlignment(horizontalAlignment(value) | Qt::AlignVCenter);
}

void textextend::setHeaderLabelAlignment(Integer value)
{
    if (value < 0 || value > 2)
        invalidValue();
    lblHeader->setAlignment(horizontalAlignment(value) | Qt::AlignTop);
}

void textextend::setTxtAppearance(Integer value)
{
    if (value < 0 || value > 1)
        invalidValue();
    appearance_ = value;
    applyTxtLook();
}

void textextend::setTxtBorderStyle(Integer value)
{
    if (value < 0 || value > 1)
        invalidValue();
    borderStyle_ = value;
    applyTxtLook();
}

void textextend::setTxtMousePointer(Integer value)
{
    platform::applyMousePointer(Txt, value, mouseIcon_);
    mousePointer_ = value;
}

void textextend::setTxtPasswordChar(const QString &value)
{
    passwordChar_ = value;
    if (value.isEmpty()) {
        Txt->setEchoMode(QLineEdit::Normal);
        return;
    }
    if (!maskStyle_) {
        auto *style = new MaskStyle;
        style->setParent(this);
        maskStyle_ = style;
    }
    static_cast<MaskStyle *>(maskStyle_)->mask = value.at(0);
    // The box asks its style for the mask character when the style is set.
    Txt->setStyle(maskStyle_);
    Txt->setEchoMode(QLineEdit::Password);
    Txt->update();
}

void textextend::applyTxtLook()
{
    // The border is the box's own (see TextBox) rather than the style's
    // frame, so that the measured line of text keeps the whole height: the
    // layout leaves no room for a frame. The text keeps clear of the side
    // lines only.
    auto *box = static_cast<TextBox *>(Txt);
    box->bordered = borderStyle_ == 1;
    box->flat = appearance_ == 0;
    Txt->setFrame(false);
    Txt->setTextMargins(borderStyle_ == 1 ? QMargins(1, 0, 1, 0) : QMargins());
    Txt->update();
}

void textextend::applyTxtColors()
{
    QPalette pal = Txt->palette();
    const QColor fore = platform::toQColor(txtForeColor_);
    pal.setColor(QPalette::Active, QPalette::Text, fore);
    pal.setColor(QPalette::Inactive, QPalette::Text, fore);
    pal.setColor(QPalette::Base, platform::toQColor(txtBackColor_));
    Txt->setPalette(pal);
}

void textextend::applyHeaderColors()
{
    const QColor back = platform::toQColor(headerBackColor_);
    QPalette pal = lblHeader->palette();
    const QColor fore = platform::toQColor(headerForeColor_);
    pal.setColor(QPalette::Active, QPalette::WindowText, fore);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, fore);
    pal.setColor(QPalette::Window, back);
    lblHeader->setPalette(pal);
    // The control's own background is the header's.
    QPalette own = palette();
    own.setColor(QPalette::Window, back);
    QWidget::setPalette(own);
}

// ---------------------------------------------------------------------------
// Lifecycle

void textextend::UserControl_InitProperties()
{
    numberBox_ = 0;
    selOnFocus_ = true;
    signo_ = true;
}

void textextend::UserControl_ReadProperties(const platform::PropertyBag &bag)
{
    Txt->setText(bag.readProperty(QStringLiteral("Text"), QString()).toString());
    setTxtAlignment(bagInteger(bag.readProperty(QStringLiteral("Alignement"), 1)));
    setTxtAppearance(bagInteger(bag.readProperty(QStringLiteral("Appearance"), 1)));
    setTxtBorderStyle(bagInteger(bag.readProperty(QStringLiteral("BorderStyle"), 1)));
    setTxtMousePointer(bagInteger(bag.readProperty(QStringLiteral("MousePointer"), 0)));
    mouseIcon_ = bagPicture(bag.readProperty(QStringLiteral("MouseIcon"), QVariant()));
    platform::applyMousePointer(Txt, mousePointer_, mouseIcon_);
    numberBox_ = bagInteger(bag.readProperty(QStringLiteral("NumberBox"), 0));
    signo_ = bagBool(bag.readProperty(QStringLiteral("Signo"), true));
    Txt->setReadOnly(bagBool(bag.readProperty(QStringLiteral("Locked"), 0)));
    Txt->setEnabled(bagBool(bag.readProperty(QStringLiteral("Enabled"), 1)));
    txtForeColor_ = bagColor(bag.readProperty(QStringLiteral("ForeColor"), defaultForeColor));
    applyTxtColors();
    // A bag without a background keeps the box's own.
    const QVariant back = bag.readProperty(QStringLiteral("Backcolor"), QString());
    if (!isEmptyValue(back)) {
        txtBackColor_ = bagColor(back);
        applyTxtColors();
    }
    Txt->setFont(bagFont(bag.readProperty(QStringLiteral("Font"), QStringLiteral("Ms Sans Serif"))));
    setTxtPasswordChar(bag.readProperty(QStringLiteral("PasswordChar"), QString()).toString());
    selOnFocus_ = bagBool(bag.readProperty(QStringLiteral("SelOnFocus"), 1));
    lblHeader->setVisible(bagBool(bag.readProperty(QStringLiteral("Header"), 0)));
    setHeaderLabelAlignment(bagInteger(bag.readProperty(QStringLiteral("HeaderAlignement"), 1)));
    headerForeColor_ = bagColor(bag.readProperty(QStringLiteral("HeaderForeColor"), defaultForeColor));
    headerBackColor_ = bagColor(bag.readProperty(QStringLiteral("HeaderBackColor"), white));
    applyHeaderColors();
    lblHeader->setFont(bagFont(bag.readProperty(QStringLiteral("HeaderFont"), QStringLiteral("Ms Sans Serif"))));
    lblHeader->setText(bag.readProperty(QStringLiteral("HeaderCaption"), QStringLiteral("Header")).toString());
}

void textextend::UserControl_WriteProperties(platform::PropertyBag &bag) const
{
    bag.writeProperty(QStringLiteral("Text"), Txt->text());
    bag.writeProperty(QStringLiteral("Alignement"), static_cast<int>(Alignment()));
    bag.writeProperty(QStringLiteral("Appearance"), static_cast<int>(appearance_));
    bag.writeProperty(QStringLiteral("BorderStyle"), static_cast<int>(borderStyle_));
    bag.writeProperty(QStringLiteral("MousePointer"), static_cast<int>(mousePointer_));
    bag.writeProperty(QStringLiteral("MouseIcon"), QVariant::fromValue(mouseIcon_));
    bag.writeProperty(QStringLiteral("NumberBox"), static_cast<int>(numberBox_));
    bag.writeProperty(QStringLiteral("Signo"), signo_);
    bag.writeProperty(QStringLiteral("Locked"), Locked());
    bag.writeProperty(QStringLiteral("Enabled"), Enabled());
    bag.writeProperty(QStringLiteral("ForeColor"), platform::longFromOleColor(txtForeColor_));
    bag.writeProperty(QStringLiteral("BackColor"), platform::longFromOleColor(txtBackColor_));
    bag.writeProperty(QStringLiteral("Font"), Txt->font());
    bag.writeProperty(QStringLiteral("SelOnFocus"), selOnFocus_);
    bag.writeProperty(QStringLiteral("Header"), Header());
    bag.writeProperty(QStringLiteral("HeaderAlignement"), static_cast<int>(HeaderAlignement()));
    bag.writeProperty(QStringLiteral("HeaderForeColor"), platform::longFromOleColor(headerForeColor_));
    bag.writeProperty(QStringLiteral("HeaderBackColor"), platform::longFromOleColor(headerBackColor_));
    bag.writeProperty(QStringLiteral("HeaderFont"), lblHeader->font());
    bag.writeProperty(QStringLiteral("HeaderCaption"), lblHeader->text());
}

// ---------------------------------------------------------------------------
// Layout

QFont textextend::measuringFont(const QFont &like) const
{
    QFont f = drawFont_;
    if (like.pointSizeF() > 0)
        f.setPointSizeF(like.pointSizeF());
    else if (like.pixelSize() > 0)
        f.setPixelSize(like.pixelSize());
    f.setBold(like.bold());
    f.setItalic(like.italic());
    return f;
}

double textextend::heightOfA(const QFont &font) const
{
    return platform::twipsFromPixels(QFontMetrics(font, this).height());
}

double textextend::measuredHeight() const
{
    double h = heightOfA(measuringFont(Txt->font()));
    if (!lblHeader->isHidden())
        h += heightOfA(measuringFont(lblHeader->font()));
    return h;
}

void textextend::moveTwips(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

void textextend::UserControl_Resize()
{
    layoutRan_ = true;
    inLayout_ = true;
    const double w = platform::twipsFromPixels(width());
    int heightPx;
    if (!lblHeader->isHidden()) {
        drawFont_ = measuringFont(lblHeader->font());
        const double hH = heightOfA(drawFont_);
        drawFont_ = measuringFont(Txt->font());
        const double hT = heightOfA(drawFont_);
        moveTwips(lblHeader, 0, 0, w, hH);
        moveTwips(Txt, 0, platform::twipsFromPixels(lblHeader->height()), w, hT);
        heightPx = lblHeader->height() + Txt->height();
    } else {
        drawFont_ = measuringFont(Txt->font());
        const double hT = heightOfA(drawFont_);
        moveTwips(Txt, 0, 0, w, hT);
        heightPx = Txt->height();
    }
    if (heightPx != height())
        resize(width(), heightPx);
    Txt->resize(width(), Txt->height());
    // A container's Qt layout asks for the height through sizeHint().
    if (heightPx != hintedHeight_) {
        hintedHeight_ = heightPx;
        updateGeometry();
    }
    inLayout_ = false;
    emit Resize();
}

void textextend::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!inLayout_)
        UserControl_Resize();
}

QSize textextend::sizeHint() const
{
    return QSize(Txt->sizeHint().width(), toPixels(measuredHeight()));
}

QSize textextend::minimumSizeHint() const { return QSize(0, toPixels(measuredHeight())); }

void textextend::Move(Single left, Single top, Single width)
{
    Move(left, top, width, Height());
}

void textextend::Move(Single left, Single top, Single width, Single height)
{
    const QSize before = size();
    layoutRan_ = false;
    setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
    // A hidden control gets no resize event until it is shown; its height
    // must be right at once all the same.
    if (!layoutRan_ && size() != before)
        UserControl_Resize();
}

Single textextend::Left() const { return toTwips(x()); }
Single textextend::Top() const { return toTwips(y()); }
Single textextend::Width() const { return toTwips(width()); }
Single textextend::Height() const { return toTwips(height()); }

void textextend::SetFocus() { Txt->setFocus(Qt::OtherFocusReason); }

// ---------------------------------------------------------------------------
// Input

void textextend::Txt_KeyPress(Integer &KeyAscii)
{
    if (numberBox_ == numeroentero || numberBox_ == numerodecimal) {
        if (KeyAscii == 45) {
            if (signo_)
                textoprevio = Txt->text();
            else
                KeyAscii = 0;
        } else {
            textoprevio = Txt->text();
        }
        if (KeyAscii == 44)
            KeyAscii = 0;
        else if (KeyAscii == 46 && numberBox_ == numeroentero)
            KeyAscii = 0;
    } else if (numberBox_ == letras) {
        const bool passes = (KeyAscii >= 65 && KeyAscii <= 90) || (KeyAscii >= 97 && KeyAscii <= 122) ||
                            KeyAscii == 32 || KeyAscii == 8 || KeyAscii == 13;
        if (!passes)
            KeyAscii = 0;
    }
    emit KeyPress(KeyAscii);
}

void textextend::restoreText()
{
    // The restore is itself a change; when the restored text is no number
    // either, the nested pass must not restore it again.
    if (restoring_)
        return;
    restoring_ = true;
    Txt->setText(textoprevio);
    restoring_ = false;
}

void textextend::Txt_Change()
{
    const QString current = Txt->text();
    if (!current.isEmpty() && (numberBox_ == numeroentero || numberBox_ == numerodecimal)) {
        if (platform::isNumeric(current, locale())) {
            if (current.endsWith(QLatin1Char('-')) && current.size() > 2) {
                restoreText();
                Txt->setCursorPosition(Txt->text().size());
            }
        } else {
            if (current != QLatin1String("-"))
                restoreText();
            Txt->setCursorPosition(Txt->text().size());
        }
    }
    updateToolTip();
    emit Change();
}

void textextend::updateToolTip()
{
    const double textWidth = platform::twipsFromPixels(QFontMetrics(drawFont_, this).horizontalAdvance(Txt->text()));
    const Single room = static_cast<Single>(platform::twipsFromPixels(Txt->width()) - 100.0);
    Txt->setToolTip(textWidth > room ? Txt->text() : QString());
}

void textextend::Txt_GotFocus()
{
    if (selOnFocus_)
        Txt->setSelection(0, static_cast<int>(Txt->text().size()));
}

void textextend::Txt_LostFocus()
{
    if (numberBox_ == numeroentero || numberBox_ == numerodecimal) {
        if (Txt->text().isEmpty() || Txt->text() == QLatin1String("-"))
            Txt->setText(QStringLiteral("0"));
    }
}

bool textextend::keyPressFilter(QKeyEvent *event)
{
    // Tab moves the focus on; the box never sees it as a key of its own.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    Integer keyCode = platform::vbKeyCode(*event);
    Integer shift = platform::vbShiftState(event->modifiers());
    emit KeyDown(keyCode, shift);
    const int code = platform::vbKeyAscii(*event);
    if (code < 0)
        return false;
    Integer keyAscii = static_cast<Integer>(code);
    Txt_KeyPress(keyAscii);
    if (keyAscii == 0)
        return true; // the key is swallowed
    if (keyAscii == code)
        return false; // the box types the key itself
    // A handler replaced the key: the box types the new character instead.
    const auto replaced = platform::keyEventForAscii(keyAscii);
    static_cast<QObject *>(Txt)->event(replaced.get());
    return true;
}

// Characters composed by an input method (dead keys, compose sequences)
// arrive as committed text rather than as key presses; each one goes through
// the key filter all the same.
bool textextend::inputMethodFilter(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty())
        return false;
    QString typed;
    bool changed = false;
    for (qsizetype i = 0; i < commit.size(); ++i) {
        QString one(commit.at(i));
        if (commit.at(i).isHighSurrogate() && i + 1 < commit.size())
            one += commit.at(++i);
        const int code = platform::asciiCode(one);
        Integer keyAscii = static_cast<Integer>(code);
        Txt_KeyPress(keyAscii);
        if (keyAscii == code) {
            typed += one;
        } else {
            changed = true;
            if (keyAscii != 0)
                typed += platform::charFromAscii(keyAscii);
        }
    }
    if (!changed)
        return false;
    QInputMethodEvent replaced(event->preeditString(), event->attributes());
    replaced.setCommitString(typed, event->replacementStart(), event->replacementLength());
    static_cast<QObject *>(Txt)->event(&replaced);
    return true;
}

// A click that brings the focus into the box leaves the whole text selected
// when the box selects all on focus: the box does not see that press, nor the
// small moves of the hand while the button is down. Dragging further than the
// platform's drag distance hands the press over after all, so the drag
// selects from where it began. The release always reaches the box.
bool textextend::keepSelectionFromClick(QMouseEvent *me)
{
    switch (me->type()) {
    case QEvent::MouseButtonPress:
        pressHeld_ = clickFocus_ && me->button() == Qt::LeftButton;
        clickFocus_ = false;
        if (pressHeld_)
            heldPress_ = me->position();
        return pressHeld_;
    case QEvent::MouseMove:
        if (!pressHeld_ || !(me->buttons() & Qt::LeftButton))
            return false;
        if ((me->position() - heldPress_).manhattanLength() < QApplication::startDragDistance())
            return true;
        pressHeld_ = false;
        {
            QMouseEvent press(QEvent::MouseButtonPress, heldPress_, Txt->mapToGlobal(heldPress_),
                              Qt::LeftButton, Qt::LeftButton, me->modifiers());
            static_cast<QObject *>(Txt)->event(&press);
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (me->button() == Qt::LeftButton)
            pressHeld_ = false;
        return false;
    default:
        return false;
    }
}

bool textextend::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Txt)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressFilter(static_cast<QKeyEvent *>(event));
    case QEvent::InputMethod:
        return inputMethodFilter(static_cast<QInputMethodEvent *>(event));
    case QEvent::KeyRelease: {
        auto *ke = static_cast<QKeyEvent *>(event);
        if (ke->isAutoRepeat())
            return false;
        Integer keyCode = platform::vbKeyCode(*ke);
        Integer shift = platform::vbShiftState(ke->modifiers());
        emit KeyUp(keyCode, shift);
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::MouseButtonDblClick: {
        auto *me = static_cast<QMouseEvent *>(event);
        const QPointF pos = me->position();
        Integer shift = platform::vbShiftState(me->modifiers());
        Single x = static_cast<Single>(platform::twipsFromPixels(pos.x()));
        Single Y = static_cast<Single>(platform::twipsFromPixels(pos.y()));
        if (event->type() == QEvent::MouseMove) {
            Integer button = platform::vbMouseButtons(me->buttons());
            emit MouseMove(button, shift, x, Y);
        } else if (event->type() == QEvent::MouseButtonDblClick && me->button() == Qt::LeftButton) {
            // The second press of a double click: DblClick in place of MouseDown.
            clickAfterDblClick_ = true;
            emit DblClick();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            Integer button = platform::vbMouseButtons(me->button());
            emit MouseUp(button, shift, x, Y);
            const bool click = me->button() == Qt::LeftButton && !clickAfterDblClick_ &&
                               Txt->rect().contains(pos.toPoint());
            if (me->button() == Qt::LeftButton)
                clickAfterDblClick_ = false;
            if (click)
                emit Click();
        } else {
            Integer button = platform::vbMouseButtons(me->button());
            emit MouseDown(button, shift, x, Y);
        }
        return keepSelectionFromClick(me);
    }
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        static_cast<QObject *>(Txt)->event(event);
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Txt_GotFocus();
        // The press that gave the focus comes next; it must not put the
        // caret where it landed over the text just selected.
        clickFocus_ = reason == Qt::MouseFocusReason && Txt->hasSelectedText();
        return true;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        static_cast<QObject *>(Txt)->event(event);
        // Switching to another window or opening a popup menu leaves the
        // focus where it is as far as the container is concerned.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            Txt_LostFocus();
            emit LostFocus();
        }
        return true;
    }
    default:
        return false;
    }
}

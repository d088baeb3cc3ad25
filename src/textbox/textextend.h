#pragma once
// textextend: a one-line input field with an optional header label above it.
//
// The box `Txt` holds the text and every text-box property; the label
// `lblHeader` is shown only when Header is True. The control measures its own
// height (one text line for the box, one for the header) and takes whatever
// width its container gives it. NumberBox selects the input mode: 0 free text,
// 1 integer, 2 decimal, 3 letters only; in the numeric modes an edit that does
// not leave a number is undone to the text before the last character key.
//
// Events reach the container as signals; the by-reference arguments are
// references, so a container connected with Qt::DirectConnection (the default
// within one thread) may change them: a KeyPress handler that sets KeyAscii to
// 0 swallows the key.
//
// Mouse positions are twips inside the box. A double click raises MouseDown,
// MouseUp, Click, then MouseDown, DblClick and MouseUp (no second Click).
//
// Geometry given to and read from the control is in twips (15 to a pixel).

#include "platform/vbtypes.h"

#include <QFont>
#include <QImage>
#include <QWidget>

class QLabel;
class QInputMethodEvent;
class QLineEdit;
class QMouseEvent;
class QProxyStyle;

namespace platform {
class PropertyBag;
}

class textextend : public QWidget {
    Q_OBJECT

public:
    using Integer = platform::Integer;
    using Long = platform::Long;
    using Single = platform::Single;
    using OleColor = platform::OleColor;

    // Input modes (NumberBox).
    enum Modo : Integer { textolibre = 0, numeroentero = 1, numerodecimal = 2, letras = 3 };

    explicit textextend(QWidget *parent = nullptr);
    ~textextend() override;

    // Public properties. Setters that take a 16-bit value throw
    // VbError(Overflow) outside -32768..32767; values the box refuses throw
    // VbError(InvalidPropertyValue). Nothing changes when a setter throws.
    QFont Font() const;
    void setFont(const QFont &font);
    OleColor ForeColor() const;
    void setForeColor(OleColor color);
    OleColor BackColor() const;
    void setBackColor(OleColor color);
    QString text() const;
    void setText(const QString &text);
    Long Alignment() const;
    void setAlignment(Long value);
    Long MousePointer() const;
    void setMousePointer(Long value);
    QImage MouseIcon() const;
    void setMouseIcon(const QImage &icon);
    Long Appearance() const;
    void setAppearance(Long value);
    Long BorderStyle() const;
    void setBorderStyle(Long value);
    Long NumberBox() const;
    void setNumberBox(Long value);
    bool Signo() const;
    void setSigno(bool value);
    bool SelOnFocus() const;
    void setSelOnFocus(bool value);
    bool Enabled() const;
    void setEnabled(bool value);
    bool Locked() const;
    void setLocked(bool value);
    QString PasswordChar() const;
    void setPasswordChar(const QString &value);
    bool Header() const;
    void setHeader(bool value);
    Long HeaderAlignement() const;
    void setHeaderAlignement(Long value);
    OleColor HeaderForeColor() const;
    void setHeaderForeColor(OleColor color);
    OleColor HeaderBackColor() const;
    void setHeaderBackColor(OleColor color);
    QFont HeaderFont() const;
    void setHeaderFont(const QFont &font);
    QString HeaderCaption() const;
    void setHeaderCaption(const QString &caption);

    // Lifecycle: a new instance without saved properties, reading and writing
    // the container's property bag, and the layout.
    void UserControl_InitProperties();
    void UserControl_ReadProperties(const platform::PropertyBag &bag);
    void UserControl_WriteProperties(platform::PropertyBag &bag) const;
    void UserControl_Resize();

    // Placement by the container, in twips. The height is the control's own:
    // the layout runs at once (shown or not) and decides it.
    void Move(Single left, Single top, Single width);
    void Move(Single left, Single top, Single width, Single height);
    Single Left() const;
    Single Top() const;
    Single Width() const;
    Single Height() const;

    // Gives the focus to the text box.
    void SetFocus();

    // The constituents, for containers that need the widgets themselves
    // (focus chains, tests).
    QLineEdit *textBox() const { return Txt; }
    QLabel *headerLabel() const { return lblHeader; }
    // The font the control measures text with: the default face at the size,
    // bold and italic of the text box after a layout.
    QFont drawingFont() const { return drawFont_; }
    // The last accepted text that an invalid edit is undone to.
    QString previousText() const { return textoprevio; }

signals:
    void DblClick();
    void MouseDown(Integer &Button, Integer &Shift, Single &x, Single &Y);
    void MouseMove(Integer &Button, Integer &Shift, Single &x, Single &Y);
    void MouseUp(Integer &Button, Integer &Shift, Single &x, Single &Y);
    void Change();
    void Click();
    void KeyUp(Integer &KeyCode, Integer &Shift);
    void KeyDown(Integer &KeyCode, Integer &Shift);
    void KeyPress(Integer &KeyAscii);
    void Resize();
    // The control as a whole lost the focus (to another control of the
    // window; not when the window itself is deactivated or a popup opens).
    // Raised after the box's own loss-of-focus handling.
    void LostFocus();
    // A property was set (for persistence); the name is the property's.
    void PropertyChanged(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Handlers of the text box's events.
    void Txt_KeyPress(Integer &KeyAscii);
    void Txt_Change();
    void Txt_GotFocus();
    void Txt_LostFocus();

    bool keyPressFilter(QKeyEvent *event);
    bool inputMethodFilter(QInputMethodEvent *event);
    bool keepSelectionFromClick(QMouseEvent *event);
    void restoreText();
    void updateToolTip();
    void applyTxtLook();
    void applyTxtColors();
    void applyHeaderColors();
    void setTxtAlignment(Integer value);
    void setHeaderLabelAlignment(Integer value);
    void setTxtAppearance(Integer value);
    void setTxtBorderStyle(Integer value);
    void setTxtMousePointer(Integer value);
    void setTxtPasswordChar(const QString &value);
    void moveTwips(QWidget *w, double left, double top, double width, double height);
    QFont measuringFont(const QFont &like) const;
    double heightOfA(const QFont &font) const;
    double measuredHeight() const;

public:
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:

    QLineEdit *Txt = nullptr;
    QLabel *lblHeader = nullptr;

    Integer numberBox_ = 0;
    bool signo_ = true;
    bool selOnFocus_ = true;
    QString textoprevio;

    // Values the constituents show but cannot report back as set: colours
    // (which may name system colours), the look, border, pointer and mask.
    OleColor txtForeColor_;
    OleColor txtBackColor_;
    OleColor headerForeColor_;
    OleColor headerBackColor_;
    Integer appearance_ = 1;
    Integer borderStyle_ = 1;
    Integer mousePointer_ = 0;
    QImage mouseIcon_;
    QString passwordChar_;
    QProxyStyle *maskStyle_ = nullptr;

    QFont drawFont_;
    bool restoring_ = false;
    bool inLayout_ = false;
    int hintedHeight_ = -1;
    bool layoutRan_ = false;
    bool clickAfterDblClick_ = false;
    // The focus came with a mouse press and selected the whole text.
    bool clickFocus_ = false;
    // That press is held back from the box while the button is down.
    bool pressHeld_ = false;
    QPointF heldPress_;
};

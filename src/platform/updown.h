#pragma once
// Up-down spinner: two arrow buttons that step a whole number between Min and
// Max and show it in a buddy text box.
//
// The program only sets the limits; it never corrects the value. Setting Min
// or Max leaves the value (and the buddy's text) as it is, even outside the
// range, and Max may lie below Min. An arrow click moves the value one step
// towards the limit it points at and brings it back into the range; while the
// limits are crossed the arrows leave the value alone. Every arrow click raises
// UpClick or DownClick after the value has been updated, also when the value
// could not move.
//
// The value shown in the buddy is the value: a number written into the buddy by
// the program is where the next click starts from.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace platform
{

class UpDown : public QWidget
{
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent = nullptr);

    int Min() const { return min_; }
    void setMin(int min) { min_ = min; }
    int Max() const { return max_; }
    void setMax(int max) { max_ = max; }

    // The buddy's number when it holds one, otherwise the last value set.
    int Value() const;
    // Sets the value and writes it into the buddy; raises Change when it differs.
    void setValue(int value);

    // Ties the spinner to a text box whose text shows the value (nullptr unties).
    void setBuddy(QLineEdit *buddy);
    QLineEdit *buddy() const { return buddy_; }

    QToolButton *upButton() const { return up_; }
    QToolButton *downButton() const { return down_; }

    QSize sizeHint() const override;

signals:
    void UpClick();
    void DownClick();
    void Change();

private:
    void step(int direction);

    QToolButton *up_ = nullptr;
    QToolButton *down_ = nullptr;
    QLineEdit *buddy_ = nullptr;
    int min_ = 0;
    int max_ = 10;
    int value_ = 0;
};

} // namespace platform

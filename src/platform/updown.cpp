#include "platform/updown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace platform
{

UpDown::UpDown(QWidget *parent) : QWidget(parent)
{
    up_ = new QToolButton(this);
    up_->setObjectName(QStringLiteral("up"));
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setObjectName(QStringLiteral("down"));
    down_->setArrowType(Qt::DownArrow);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton *b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
}

QSize UpDown::sizeHint() const
{
    return QSize(17, 22);
}

int UpDown::Value() const
{
    if (buddy_) {
        bool ok = false;
        const int v = buddy_->text().trimmed().toInt(&ok);
        if (ok)
            return v;
    }
    return value_;
}

void UpDown::setValue(int value)
{
    const bool changed = value != Value();
    value_ = value;
    if (buddy_)
        buddy_->setText(QString::number(value));
    if (changed)
        emit Change();
}

void UpDown::setBuddy(QLineEdit *buddy)
{
    buddy_ = buddy;
}

void UpDown::step(int direction)
{
    if (min_ <= max_) {
        const int from = Value();
        const long long next = static_cast<long long>(from) + direction;
        setValue(static_cast<int>(std::clamp<long long>(next, min_, max_)));
    }
    if (direction > 0)
        emit UpClick();
    else
        emit DownClick();
}

} // namespace platform

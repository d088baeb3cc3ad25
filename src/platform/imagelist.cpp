#include "platform/imagelist.h"

#include <QPainter>

namespace platform
{

void ImageList::add(const QString &key, const QPixmap &picture)
{
    QPixmap p = picture;
    if (!p.isNull() && p.size() != size_)
        p = p.scaled(size_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    items_.append({key, p});
}

int ImageList::indexOf(const QString &key) const
{
    if (key.isEmpty())
        return 0;
    for (int i = 0; i < items_.size(); ++i)
        if (items_[i].key == key)
            return i + 1;
    return 0;
}

QPixmap ImageList::image(int index) const
{
    if (index < 1 || index > items_.size())
        return {};
    return items_[index - 1].picture;
}

QString ImageList::key(int index) const
{
    if (index < 1 || index > items_.size())
        return {};
    return items_[index - 1].key;
}

QPixmap colourSwatch(OleColor color, QSize size)
{
    QPixmap p(size);
    p.fill(QColor(redOf(color), greenOf(color), blueOf(color)));
    QPainter painter(&p);
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return p;
}

} // namespace platform

#pragma once
// A list of pictures of one size, each found by its position (from 1) or by
// its key; the pictures of toolbars and image combos.

#include "platform/vbtypes.h"

#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace platform
{

class ImageList
{
public:
    explicit ImageList(QSize imageSize = QSize(16, 16)) : size_(imageSize) {}

    QSize imageSize() const { return size_; }
    // Appends a picture (scaled to the list's size) under an optional key.
    void add(const QString &key, const QPixmap &picture);
    void clear() { items_.clear(); }
    int count() const { return static_cast<int>(items_.size()); }
    // Position from 1, 0 when the key is not in the list (keys match exactly).
    int indexOf(const QString &key) const;
    // A null pixmap when there is no such picture.
    QPixmap image(int index) const;
    QPixmap image(const QString &key) const { return image(indexOf(key)); }
    QString key(int index) const;

private:
    struct Item {
        QString key;
        QPixmap picture;
    };
    QSize size_;
    QList<Item> items_;
};

// A plain swatch of one colour with a thin dark frame.
QPixmap colourSwatch(OleColor color, QSize size);

} // namespace platform

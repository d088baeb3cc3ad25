#include "platform/imagecombo.h"

#include "platform/imagelist.h"
#include "platform/vberror.h"

namespace platform
{

ImageCombo::ImageCombo(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int) { emit Click(); });
}

void ImageCombo::setImageList(const ImageList *list)
{
    list_ = list;
    if (list_)
        setIconSize(list_->imageSize());
}

void ImageCombo::addImageItem(int position, const QString &imageKey)
{
    if (!list_ || list_->indexOf(imageKey) == 0)
        throw VbError(vberr::InvalidProcedureCall, QStringLiteral("Image not found: %1").arg(imageKey));
    if (position < 1 || position > count() + 1)
        throw VbError(vberr::InvalidProcedureCall, QStringLiteral("Invalid item position"));
    insertItem(position - 1, QIcon(list_->image(imageKey)), QString(), imageKey);
}

QString ImageCombo::itemImageKey(int position) const
{
    return itemData(position - 1).toString();
}

void ImageCombo::setSelectedPosition(int position)
{
    if (position < 0 || position > count())
        throw VbError(vberr::InvalidProcedureCall, QStringLiteral("Invalid item position"));
    setCurrentIndex(position - 1);
}

} // namespace platform

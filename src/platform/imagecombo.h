#pragma once
// A drop-down list of pictures without text, taken from an image list by key.
// Positions count from 1; 0 means no item is selected.

#include <QComboBox>

namespace platform
{

class ImageList;

class ImageCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit ImageCombo(QWidget *parent = nullptr);

    // The list the items take their pictures from; the caller keeps it alive.
    void setImageList(const ImageList *list);
    const ImageList *imageList() const { return list_; }

    // Empties the item list.
    void clearItems() { clear(); }
    // Inserts an item at a position from 1 (count + 1 appends) showing the
    // picture with that key. An unknown key or position raises
    // VbError(InvalidProcedureCall).
    void addImageItem(int position, const QString &imageKey);
    // Key of the picture an item shows.
    QString itemImageKey(int position) const;

    // Position of the selected item, 0 when none.
    int selectedPosition() const { return currentIndex() + 1; }
    // Selects the item at a position (0 selects none).
    void setSelectedPosition(int position);

signals:
    // The user picked an item.
    void Click();

private:
    const ImageList *list_ = nullptr;
};

} // namespace platform

#include "trayctl/imagelist.h"

namespace pinlib6 {

const ImageListItem *ImageListItems::Item(int index) const
{
    if (index < 1 || index > m_items.size())
        return nullptr;
    return &m_items.at(index - 1);
}

void ImageListItems::Remove(int index)
{
    if (index >= 1 && index <= m_items.size())
        m_items.removeAt(index - 1);
}

ImageList::ImageList(QObject *parent)
    : QObject(parent)
{ }

ImageList::ImageList(const QList<QIcon> &pictures, QObject *parent)
    : QObject(parent)
{
    for (const QIcon &picture : pictures)
        m_images.Add(picture);
}

ImageList::~ImageList() = default;

} // namespace pinlib6

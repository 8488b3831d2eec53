#pragma once

#include "pinlib6_export.h"
#include "trayctl/stdpicture.h"

#include <QList>
#include <QObject>

namespace pinlib6 {

// One picture of an image list.
struct PINLIB6_EXPORT ImageListItem {
    StdPicture Picture;
};

// The pictures of an image list, counted from 1 as its users count them.
class PINLIB6_EXPORT ImageListItems
{
public:
    int Count() const { return int(m_items.size()); }
    // Item `index`, or null when there is no such item.
    const ImageListItem *Item(int index) const;
    void Add(const StdPicture &picture) { m_items.append({picture}); }
    void Remove(int index);
    void Clear() { m_items.clear(); }

private:
    QList<ImageListItem> m_items;
};

// A list of pictures (the animation frames). The caller owns it; the tray icon control only
// keeps a reference while it animates it, and stops using it when it goes away.
class PINLIB6_EXPORT ImageList : public QObject
{
    Q_OBJECT

public:
    explicit ImageList(QObject *parent = nullptr);
    explicit ImageList(const QList<QIcon> &pictures, QObject *parent = nullptr);
    ~ImageList() override;

    ImageListItems &ListImages() { return m_images; }
    const ImageListItems &ListImages() const { return m_images; }

private:
    ImageListItems m_images;
};

} // namespace pinlib6

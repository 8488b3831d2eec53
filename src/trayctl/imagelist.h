#pragma once

#include "pinlib6_export.h"

#include <QIcon>
#include <QList>

// A list of icon pictures, 1-based as its users count them (the animation frames).
class PINLIB6_EXPORT ImageList
{
public:
    ImageList() = default;
    explicit ImageList(QList<QIcon> pictures)
        : m_pictures(std::move(pictures))
    {
    }

    int Count() const { return int(m_pictures.size()); }
    // Item `index` (1-based); a null icon outside the list.
    QIcon Picture(int index) const { return m_pictures.value(index - 1); }
    void Add(const QIcon &picture) { m_pictures.append(picture); }
    void Remove(int index) { m_pictures.removeAt(index - 1); }

private:
    QList<QIcon> m_pictures;
};

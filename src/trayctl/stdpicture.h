#pragma once

#include "pinlib6_export.h"

#include <QIcon>
#include <QMetaType>
#include <QPixmap>
#include <QString>

namespace pinlib6 {

// A picture object as the control's users pass it around: nothing, an icon (any picture file
// Qt reads, or any QIcon) or a bitmap (a pixmap handed over as one). Only icons can go into
// the tray; the kind travels with the picture so the control can tell.
class PINLIB6_EXPORT StdPicture
{
public:
    enum class Type { None = 0, Bitmap = 1, Icon = 3 };

    StdPicture() = default;
    // An icon object; a null icon is no picture at all.
    StdPicture(const QIcon &icon); // NOLINT(google-explicit-constructor): pictures pass as icons
    static StdPicture fromBitmap(const QPixmap &bitmap);

    // The picture loader: every image file Qt reads (ICO, PNG, SVG, ...) gives an icon. On a
    // missing or unreadable file it returns false, leaves `picture` alone and tells why.
    static bool load(const QString &fileName, StdPicture &picture, QString &error);

    Type type() const { return m_type; }
    bool isNone() const { return m_type == Type::None; }
    bool isIcon() const { return m_type == Type::Icon; }
    QIcon icon() const { return m_icon; }
    QPixmap bitmap() const { return m_bitmap; }
    // Identifies the picture's contents (the icon handle, as the shell would see it).
    qint64 cacheKey() const;

private:
    Type m_type = Type::None;
    QIcon m_icon;
    QPixmap m_bitmap;
};

} // namespace pinlib6

Q_DECLARE_METATYPE(pinlib6::StdPicture)

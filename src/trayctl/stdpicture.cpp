#include "trayctl/stdpicture.h"

#include <QFileInfo>
#include <QImageReader>

namespace pinlib6 {

StdPicture::StdPicture(const QIcon &icon)
    : m_type(icon.isNull() ? Type::None : Type::Icon)
    , m_icon(icon)
{ }

StdPicture StdPicture::fromBitmap(const QPixmap &bitmap)
{
    StdPicture picture;
    if (!bitmap.isNull()) {
        picture.m_type = Type::Bitmap;
        picture.m_bitmap = bitmap;
    }
    return picture;
}

// Every picture Qt reads goes into the tray: ICO and CUR with all their sizes, PNG, SVG (drawn
// sharp at any size by Qt's SVG icon engine), XPM, BMP, JPEG and the rest.
bool StdPicture::load(const QString &fileName, StdPicture &picture, QString &error)
{
    if (!QFileInfo(fileName).isFile()) {
        error = QStringLiteral("File not found: '%1'").arg(fileName);
        return false;
    }
    QImageReader reader(fileName);
    if (reader.read().isNull()) {
        error = QStringLiteral("Invalid picture: '%1' cannot be read (%2)")
                    .arg(fileName, reader.errorString());
        return false;
    }
    picture = StdPicture(QIcon(fileName));
    return true;
}

qint64 StdPicture::cacheKey() const
{
    switch (m_type) {
    case Type::Icon: return m_icon.cacheKey();
    case Type::Bitmap: return m_bitmap.cacheKey();
    case Type::None: break;
    }
    return 0;
}

} // namespace pinlib6

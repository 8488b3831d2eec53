#include "trayctl/stdpicture.h"

#include <QFileInfo>
#include <QImageReader>

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

bool StdPicture::load(const QString &fileName, StdPicture &picture, QString &error)
{
    if (!QFileInfo(fileName).isFile()) {
        error = QStringLiteral("File not found: '%1'").arg(fileName);
        return false;
    }
    QImageReader reader(fileName);
    const QByteArray format = reader.format();
    if (format == "ico" || format == "cur") {
        const QIcon icon(fileName);
        if (!icon.isNull()) {
            picture = StdPicture(icon);
            return true;
        }
    } else if (!format.isEmpty()) {
        const QImage image = reader.read();
        if (!image.isNull()) {
            picture = fromBitmap(QPixmap::fromImage(image));
            return true;
        }
    }
    error = QStringLiteral("Invalid picture: '%1'").arg(fileName);
    return false;
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

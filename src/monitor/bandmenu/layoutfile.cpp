#include "monitor/bandmenu/layoutfile.h"

#include "settings/privatefiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

const QString formatName = QStringLiteral("Brisvane band layout");
constexpr int formatVersion = 1;

QString encodePicture(const QPixmap &picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return QString::fromLatin1(png.toBase64());
}

QJsonObject encodeTool(const BandTool::State &tool)
{
    QJsonObject object{{QStringLiteral("name"), tool.name},
        {QStringLiteral("caption"), tool.caption}, {QStringLiteral("enabled"), tool.enabled},
        {QStringLiteral("checked"), tool.checked}, {QStringLiteral("visible"), tool.visible}};
    if (!tool.opensBand.isEmpty())
        object.insert(QStringLiteral("opens"), tool.opensBand);
    if (!tool.picture.isNull())
        object.insert(QStringLiteral("picture"), encodePicture(tool.picture));
    return object;
}

// Every field is checked for its type: a value of the wrong kind makes the whole file
// unusable rather than quietly turning into a default.
bool readString(const QJsonObject &o, const QString &key, QString &out, bool required)
{
    const QJsonValue v = o.value(key);
    if (v.isUndefined())
        return !required;
    if (!v.isString())
        return false;
    out = v.toString();
    return true;
}

bool readBool(const QJsonObject &o, const QString &key, bool &out)
{
    const QJsonValue v = o.value(key);
    if (v.isUndefined())
        return true;
    if (!v.isBool())
        return false;
    out = v.toBool();
    return true;
}

bool decodePicture(const QString &text, QPixmap &out)
{
    const auto bytes
        = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return bytes && out.loadFromData(*bytes, "PNG");
}

std::optional<BandTool::State> decodeTool(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject o = value.toObject();
    BandTool::State tool;
    QString picture;
    if (!readString(o, QStringLiteral("name"), tool.name, true)
        || !readString(o, QStringLiteral("caption"), tool.caption, true)
        || !readString(o, QStringLiteral("opens"), tool.opensBand, false)
        || !readString(o, QStringLiteral("picture"), picture, false)
        || !readBool(o, QStringLiteral("enabled"), tool.enabled)
        || !readBool(o, QStringLiteral("checked"), tool.checked)
        || !readBool(o, QStringLiteral("visible"), tool.visible))
        return std::nullopt;
    if (!picture.isEmpty() && !decodePicture(picture, tool.picture))
        return std::nullopt;
    return tool;
}

std::optional<BandLayout::BandEntry> decodeBand(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject o = value.toObject();
    BandLayout::BandEntry band;
    if (!readString(o, QStringLiteral("name"), band.name, true)
        || !readString(o, QStringLiteral("caption"), band.caption, true)
        || !o.value(QStringLiteral("tools")).isArray())
        return std::nullopt;
    for (const QJsonValue &tool : o.value(QStringLiteral("tools")).toArray()) {
        if (!tool.isString())
            return std::nullopt;
        band.tools.append(tool.toString());
    }
    return band;
}

} // namespace

namespace LayoutFile {

QByteArray encode(const BandLayout &layout)
{
    QJsonArray tools;
    for (const BandTool::State &tool : layout.tools)
        tools.append(encodeTool(tool));
    QJsonArray bands;
    for (const BandLayout::BandEntry &band : layout.bands)
        bands.append(QJsonObject{{QStringLiteral("name"), band.name},
            {QStringLiteral("caption"), band.caption},
            {QStringLiteral("tools"), QJsonArray::fromStringList(band.tools)}});
    const QJsonObject root{{QStringLiteral("format"), formatName},
        {QStringLiteral("version"), formatVersion}, {QStringLiteral("tools"), tools},
        {QStringLiteral("bands"), bands}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<BandLayout> decode(const QByteArray &bytes)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != formatName
        || root.value(QStringLiteral("version")).toInt(-1) != formatVersion
        || !root.value(QStringLiteral("tools")).isArray()
        || !root.value(QStringLiteral("bands")).isArray())
        return std::nullopt;
    BandLayout layout;
    for (const QJsonValue &value : root.value(QStringLiteral("tools")).toArray()) {
        const auto tool = decodeTool(value);
        if (!tool)
            return std::nullopt;
        layout.tools.append(*tool);
    }
    for (const QJsonValue &value : root.value(QStringLiteral("bands")).toArray()) {
        const auto band = decodeBand(value);
        if (!band)
            return std::nullopt;
        layout.bands.append(*band);
    }
    if (!layout.problem().isEmpty())
        return std::nullopt;
    return layout;
}

bool write(const QString &path, const BandLayout &layout)
{
    if (!PrivateFiles::makeFolder(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = encode(layout);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace LayoutFile

#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtEndian>

// Builds wave files for the alert tests.
namespace WaveFixture {

inline QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

inline QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

inline QByteArray chunk(const QByteArray &id, const QByteArray &body)
{
    QByteArray c = id + le32(quint32(body.size())) + body;
    if (body.size() % 2)
        c += '\0';
    return c;
}

inline QByteArray formatChunk(int rate, int channels, int bits = 16, int tag = 1)
{
    const int block = channels * bits / 8;
    return chunk("fmt ",
        le16(quint16(tag)) + le16(quint16(channels)) + le32(quint32(rate))
            + le32(quint32(rate * block)) + le16(quint16(block)) + le16(quint16(bits)));
}

inline QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

// 16-bit PCM wave holding `pcm`.
inline QByteArray wave(int rate, int channels, const QByteArray &pcm)
{
    return riff(formatChunk(rate, channels) + chunk("data", pcm));
}

inline QString write(const QString &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace WaveFixture

#include "alerts/wavefile.h"

#include <QFile>
#include <QtEndian>

namespace {

struct ChunkHeader {
    QByteArray id;
    quint32 size = 0;
};

bool readChunkHeader(QFile &file, ChunkHeader &header)
{
    const QByteArray bytes = file.read(8);
    if (bytes.size() != 8)
        return false;
    header.id = bytes.left(4);
    header.size = qFromLittleEndian<quint32>(bytes.constData() + 4);
    return true;
}

// A RIFF file is a list of chunks; a wave needs its "fmt " chunk before the "data" chunk.
// Only headers are read and the walk is bounded, so a hostile file cannot keep us busy.
bool hasFormatThenData(QFile &file)
{
    constexpr int maxChunks = 64;
    constexpr quint32 minFormatSize = 16;
    bool format = false;
    ChunkHeader chunk;
    for (int i = 0; i < maxChunks && readChunkHeader(file, chunk); ++i) {
        if (chunk.id == "fmt ") {
            if (chunk.size < minFormatSize)
                return false;
            format = true;
        } else if (chunk.id == "data") {
            // A wave without samples has nothing to hear.
            return format && chunk.size > 0 && file.bytesAvailable() > 0;
        }
        const qint64 next = file.pos() + chunk.size + (chunk.size & 1);
        if (next > file.size() || !file.seek(next))
            return false;
    }
    return false;
}

} // namespace

namespace WaveFile {

bool isWave(const QString &path)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return false;
    return hasFormatThenData(file);
}

} // namespace WaveFile

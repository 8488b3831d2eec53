#pragma once

#include <QString>

namespace WaveFile {
// True when `path` is a readable RIFF/WAVE file with a format chunk followed by a data
// chunk. Reads only the chunk headers, so it is cheap enough to run before every play.
bool isWave(const QString &path);
} // namespace WaveFile

#pragma once

#include "monitor/bandmenu/bandlayout.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The layout file ("mulayout.tb"): JSON holding every band and tool, pictures as PNG.
namespace LayoutFile {
QByteArray encode(const BandLayout &layout);
// std::nullopt when the text is not a layout this program can show.
std::optional<BandLayout> decode(const QByteArray &bytes);
// Atomic: written to a temporary file and renamed over the old one.
bool write(const QString &path, const BandLayout &layout);
} // namespace LayoutFile

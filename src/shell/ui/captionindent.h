#pragma once

class QCheckBox;

namespace Form {
// Where a check box's caption starts: after the indicator and the style's spacing. For check
// boxes that draw their caption themselves.
int captionIndent(const QCheckBox *box);
} // namespace Form

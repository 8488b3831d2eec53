#pragma once

class QCheckBox;

namespace Form {
// Where a check box's caption starts: after the indicator and the style's spacing. For check
// boxes that draw their caption themselves.
int captionIndent(const QCheckBox *box);
// How such a caption draws its mnemonic: underlined where the style underlines shortcuts,
// else hidden (some styles show it only while Alt is held).
int mnemonicFlag(const QCheckBox *box);
} // namespace Form

#pragma once
// Japanese for Qt's own dialogs and the fonts the windows ask for.

class QApplication;

namespace sorvanta::gui {

// Loads Qt's Japanese translation (はい/いいえ, ファイルダイアログ) and maps the
// Windows font names the documents use onto installed Japanese fonts.
// Returns whether the translation was found.
bool InstallJapaneseUi(QApplication& app);

// Maps "ＭＳ Ｐ明朝", "ＭＳ 明朝" and the gothic names onto installed fonts so that
// Japanese text never falls back to a face without the glyphs.
void InstallFontSubstitutions();

}  // namespace sorvanta::gui

#pragma once
// Japanese for Qt's own dialogs and the fonts the windows ask for.

class QApplication;
class QFileDialog;

namespace sorvanta::gui {

// Before the application object exists: the process's locale becomes
// Japanese, so that what Qt formats through the system locale (the dates and
// sizes of the file dialogs) is Japanese too.
void UseJapaneseSystemLocale();

// Loads Qt's Japanese translation (はい/いいえ, ファイルダイアログ) and maps the
// Windows font names the documents use onto installed Japanese fonts.
// Returns whether the translation was found.
bool InstallJapaneseUi(QApplication& app);

// Maps "ＭＳ Ｐ明朝", "ＭＳ 明朝" and the gothic names onto installed fonts so that
// Japanese text never falls back to a face without the glyphs.
void InstallFontSubstitutions();

// Qt's own file dialog at a size where its name, size, type and date columns
// show their Japanese texts whole.
void FitFileDialog(QFileDialog& dialog);

}  // namespace sorvanta::gui

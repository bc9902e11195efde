#pragma once
// Texts shared by several windows.

#include <QString>
#include <string>

namespace sorvanta::gui {

inline constexpr const char* kMainCaption = "円弧すべり検討システム （Sorvanta） Ver3.5";
inline constexpr const char* kApplicationTitle = "Sorvanta";
// Caption of the Yes/No questions.
inline constexpr const char* kQuestionTitle = "確認";

// The output commands write only a calculation of the design as it stands.
inline constexpr const char* kNoResultsText =
    "計算結果がありません。\n\n「計算開始」で、先に計算して下さい。";
inline constexpr const char* kResultsChangedText =
    "計算の後で、設計条件が変更されています。\n\n"
    "「計算開始」で計算し直してから、出力して下さい。";
// Followed by the existing files' names, one a line.
inline constexpr const char* kReplaceFilesText = "次のファイルは既にあります。上書きしますか。\n";
// Before a changed design is replaced by a load or the program ends.
inline constexpr const char* kSaveChangesText = "設計条件が変更されています。\n保存しますか。";

// UTF-8 of the core <-> QString of the windows.
inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
inline std::string S(const QString& s) {
    return s.toStdString();
}

}  // namespace sorvanta::gui

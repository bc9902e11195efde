#pragma once
// Texts shared by several windows.

#include <QString>
#include <string>
#include <string_view>

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

// The output commands' questions and reports.
inline constexpr std::string_view PdfConfirmText =
    "計算結果をPDF出力しますか。\n\n出力ファイル名は\n　円弧滑り検討システム.pdf\nです。";
inline constexpr std::string_view PdfCreatedText = "円弧滑り検討システム.pdfを作成しました";
inline constexpr std::string_view PdfShowQuestionText =
    "[ 円弧滑り検討システム.pdf ]を表示しますか？\n\n(起動まで少し時間がかかります。)";
inline constexpr std::string_view PdfArbitraryFirstText =
    "「任意点円弧滑り」を先に、計算して下さい。";
inline constexpr const char* TextOutputQuestion =
    "計算結果をテキスト出力しますか。\r\r出力ファイル名は、[ 円弧すべり.txt ]です。";
inline constexpr const char* TextOutputDone = "テキスト出力終わりました。";

// UTF-8 of the core <-> QString of the windows.
inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
inline std::string S(const QString& s) {
    return s.toStdString();
}

}  // namespace sorvanta::gui

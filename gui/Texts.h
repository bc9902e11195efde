#pragma once
// Texts shared by several windows.

#include <QString>
#include <string>

namespace sorvanta::gui {

inline constexpr const char* kMainCaption = "円弧すべり検討システム （Sorvanta） Ver3.5";
inline constexpr const char* kApplicationTitle = "Sorvanta";
// Caption of the Yes/No questions.
inline constexpr const char* kQuestionTitle = "確認";

// UTF-8 of the core <-> QString of the windows.
inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
inline std::string S(const QString& s) {
    return s.toStdString();
}

}  // namespace sorvanta::gui

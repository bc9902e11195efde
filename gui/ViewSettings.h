#pragma once
// What the user chose to see, found again at the next start (QSettings).

namespace sorvanta::gui {

// "全入力項目を表示"; off when never chosen.
bool RememberedFullInputSet();
void RememberFullInputSet(bool on);

// "自動計算"; off when never chosen.
bool RememberedLiveCalculation();
void RememberLiveCalculation(bool on);

}  // namespace sorvanta::gui

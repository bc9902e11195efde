#include <gtest/gtest.h>

#include "report/VerdictTexts.h"

namespace sorvanta {
namespace {

TEST(VerdictTexts, EveryVerdictHasItsText) {
    using V = TCircleVerdict;
    const struct {
        V Verdict;
        int Crossings;
        const char* Text;
    } cases[] = {
        {V::NotTried, 0, ""},
        {V::Valid, 2, "エラーなし"},
        {V::LevelGround, 2, "エラーなし"},
        {V::CentreOutsideWidth, 0, "円弧中心が地形定義幅外"},
        {V::CentreInGround, 0, "円弧中心が地層内"},
        {V::NoCrossing, 0, "円弧が地形と交差しない"},
        {V::StartNotCrossing, 0, "円弧起点が地形と交差しない"},
        {V::OneCrossing, 1, "円弧不当(地形と1点交差)"},
        {V::Crossings, 0, "円弧不当(地形と0点交差)"},
        {V::Crossings, 4, "円弧不当(地形と4点交差)"},
        {V::Crossings, 12, "円弧不当(地形と12点交差)"},
        {V::CentreBelowNeverCut, 0, "円弧中心がﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)より下"},
        {V::NotFinite, 2, "円弧不当(計算値が有限でない)"},
        {V::TooManySlices, 2, "円弧不当(スライス数が多すぎる)"},
        {V::SliceOverHalfTurn, 2, "円弧不当(スライスの円弧が半周を超える)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CircleVerdictText(c.Verdict, c.Crossings), c.Text) << static_cast<int>(c.Verdict);
}

TEST(VerdictTexts, ArbitraryStatusNamesTheVerdictOrTheDirection) {
    TArbitraryOutcome o;
    o.Verdict = TCircleVerdict::Crossings;
    o.Crossings = 3;
    EXPECT_EQ(ArbitraryStatusText(o), "円弧不当(地形と3点交差)");
    o.Verdict = TCircleVerdict::CentreOutsideWidth;
    o.Crossings = 0;
    EXPECT_EQ(ArbitraryStatusText(o), "円弧中心が地形定義幅外");
    // Not a verdict of any circle: whatever verdict is left, the words say so.
    o.Reason = TArbitraryReason::NoCircleInDirection;
    EXPECT_EQ(ArbitraryStatusText(o), "該当する滑り方向の円弧は有りません。");
}

}  // namespace
}  // namespace sorvanta

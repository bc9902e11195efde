#include "report/VerdictTexts.h"

namespace sorvanta {

std::string CircleVerdictText(TCircleVerdict verdict, int crossings) {
    switch (verdict) {
        case TCircleVerdict::NotTried:
            return {};
        case TCircleVerdict::Valid:
        case TCircleVerdict::LevelGround:
            return "エラーなし";
        case TCircleVerdict::CentreOutsideWidth:
            return "円弧中心が地形定義幅外";
        case TCircleVerdict::CentreInGround:
            return "円弧中心が地層内";
        case TCircleVerdict::NoCrossing:
            return "円弧が地形と交差しない";
        case TCircleVerdict::StartNotCrossing:
            return "円弧起点が地形と交差しない";
        case TCircleVerdict::OneCrossing:
            return "円弧不当(地形と1点交差)";
        case TCircleVerdict::Crossings:
            return "円弧不当(地形と" + std::to_string(crossings) + "点交差)";
        case TCircleVerdict::CentreBelowNeverCut:
            return "円弧中心がﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)より下";
        case TCircleVerdict::NotFinite:
            return "円弧不当(計算値が有限でない)";
        case TCircleVerdict::TooManySlices:
            return "円弧不当(スライス数が多すぎる)";
        case TCircleVerdict::SliceOverHalfTurn:
            return "円弧不当(スライスの円弧が半周を超える)";
        case TCircleVerdict::SmallMAlpha:
            return "円弧不当(mαが0.2以下)";
        case TCircleVerdict::NotConverged:
            return "円弧不当(安全率が収束しない)";
    }
    return {};
}

std::string ArbitraryStatusText(const TArbitraryOutcome& outcome) {
    if (outcome.Reason == TArbitraryReason::NoCircleInDirection)
        return "該当する滑り方向の円弧は有りません。";
    return CircleVerdictText(outcome.Verdict, outcome.Crossings);
}

}  // namespace sorvanta

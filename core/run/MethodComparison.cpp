#include "run/MethodComparison.h"

#include "engine/SliceMethod.h"

namespace sorvanta {

std::vector<TMethodFs> CompareMethods(const TAnalysisModel& model, const TSlipCircle& circle) {
    std::vector<TMethodFs> out;
    TAnalysisModel m = model;
    TEngineScratch scratch;
    for (const TSliceMethodKind method :
         {TSliceMethodKind::Ordinary, TSliceMethodKind::Bishop, TSliceMethodKind::Janbu,
          TSliceMethodKind::Spencer, TSliceMethodKind::MorgensternPrice}) {
        m.Method = method;
        const TCircleEvaluation e = Evaluate(m, circle, scratch);
        TMethodFs fs{method, e.Verdict};
        if (e.Verdict == TCircleVerdict::Valid) {
            fs.Fs = e.Fs;
            fs.UncorrectedFs = e.UncorrectedFs;
            fs.Correction = e.Correction;
            fs.Lambda = e.Lambda;
        }
        out.push_back(fs);
    }
    return out;
}

}  // namespace sorvanta

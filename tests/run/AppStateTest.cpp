// Which results an output may write, and which edits a save would keep.
#include <gtest/gtest.h>

#include <functional>

#include "run/AppState.h"

using namespace sorvanta;

namespace {

TDesignConditions Sample() {
    TDesignConditions d;
    LoadSampleDesign(d);
    return d;
}

struct TEdit {
    const char* Name;
    std::function<void(TDesignConditions&)> Apply;
    TResultsState Results;  // of results calculated before the edit
    bool Modified;          // against the design as loaded or saved
};

}  // namespace

TEST(AppState, EditsAgainstTheCalculationAndTheSavedDesign) {
    const TEdit edits[] = {
        {"none", [](TDesignConditions&) {}, TResultsState::Current, false},
        {"saved under a name", [](TDesignConditions& d) { d.DesignName = "new"; },
         TResultsState::Current, false},
        {"print colour", [](TDesignConditions& d) { d.PrintMode = 1; }, TResultsState::Current,
         false},
        {"計算過程表示", [](TDesignConditions& d) { d.ShowCalculationProcess = true; },
         TResultsState::Current, true},
        {"safety factor", [](TDesignConditions& d) { d.SafetyFactor = "1.30"; },
         TResultsState::Changed, true},
        {"a ground point", [](TDesignConditions& d) { d.Layers[0].Boundary.Rows[3].X = "140.00"; },
         TResultsState::Changed, true},
        // Not in the file: the run sees it, a save would not keep it.
        {"slip direction", [](TDesignConditions& d) { d.SlipDirection = 2; },
         TResultsState::Changed, false},
        // A text the file cannot hold counts as a change.
        {"line break in a text", [](TDesignConditions& d) { d.Layers[1].GammaT = "18\n0"; },
         TResultsState::Changed, true},
    };
    for (const TEdit& e : edits) {
        SCOPED_TRACE(e.Name);
        TAppState app;
        app.Design = Sample();
        app.SavedDesign = app.Design;
        EXPECT_EQ(ResultsState(std::nullopt, app.Design), TResultsState::None);
        app.ResultsDesign = app.Design;
        e.Apply(app.Design);
        EXPECT_EQ(ResultsState(app.ResultsDesign, app.Design), e.Results);
        EXPECT_EQ(DesignModified(app), e.Modified);
    }
}

TEST(AppState, ClearResultsIsTheStartUpState) {
    TAppState app;
    app.Results.ResultList = {"x"};
    app.ResultChart.Series[rsRadii].Add(1, 2);
    app.ArbitraryChart.Bottom = TAxisRange{0, 1};
    app.ResultsDesign = app.ArbitraryDesign = Sample();
    ClearResults(app);
    const TAppState fresh;
    EXPECT_TRUE(app.Results == fresh.Results);
    EXPECT_TRUE(app.Arbitrary == fresh.Arbitrary);
    EXPECT_TRUE(app.ResultChart == fresh.ResultChart);
    EXPECT_TRUE(app.ArbitraryChart == fresh.ArbitraryChart);
    EXPECT_FALSE(app.ResultsDesign || app.ArbitraryDesign);
}

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
    std::function<void(TAppState&)> Apply;
    TResultsState Results;  // of results calculated before the edit
    bool Modified;          // against the design as loaded or saved
};

}  // namespace

TEST(AppState, EditsAgainstTheCalculationAndTheSavedDesign) {
    const TEdit edits[] = {
        {"none", [](TAppState&) {}, TResultsState::Current, false},
        {"saved under a name", [](TAppState& a) { a.Design.DesignName = "new"; },
         TResultsState::Current, false},
        {"print colour", [](TAppState& a) { a.Drawing.PrintMode = 1; }, TResultsState::Current,
         false},
        {"計算過程表示", [](TAppState& a) { a.Design.ShowCalculationProcess = true; },
         TResultsState::Current, true},
        {"safety factor", [](TAppState& a) { a.Design.SafetyFactor = "1.30"; },
         TResultsState::Changed, true},
        {"a ground point", [](TAppState& a) { a.Design.Layers[0].Boundary.Rows[3].X = "140.00"; },
         TResultsState::Changed, true},
        // Not in the file: the run sees them, a save would not keep them.
        {"slip direction", [](TAppState& a) { a.Options.Direction = TSlipDirection::Both; },
         TResultsState::Changed, false},
        {"form", [](TAppState& a) { a.Options.Form = TFsForm::Force; }, TResultsState::Changed,
         false},
        {"grid points", [](TAppState& a) { a.Options.GridFsEnabled = true; },
         TResultsState::Changed, false},
        {"grid-point mesh count", [](TAppState& a) { a.Options.GridFsMeshCount = "10"; },
         TResultsState::Changed, false},
        {"contours", [](TAppState& a) { a.Options.ContourEnabled = true; }, TResultsState::Changed,
         false},
        // Offered beside the contours, read by no run.
        {"contour mesh count", [](TAppState& a) { a.Options.ContourMeshCount = "10"; },
         TResultsState::Current, false},
        // The charts were drawn with the slice lines.
        {"slice lines", [](TAppState& a) { a.Drawing.ShowSliceLines = false; },
         TResultsState::Changed, false},
        // A text the file cannot hold counts as a change.
        {"line break in a text", [](TAppState& a) { a.Design.Layers[1].GammaT = "18\n0"; },
         TResultsState::Changed, true},
    };
    for (const TEdit& e : edits) {
        SCOPED_TRACE(e.Name);
        TAppState app;
        app.Design = Sample();
        app.SavedDesign = app.Design;
        EXPECT_EQ(ResultsState(app), TResultsState::None);
        EXPECT_EQ(ArbitraryState(app), TResultsState::None);
        app.ResultsDesign = app.ArbitraryDesign = app.Design;
        app.ResultsOptions = app.ArbitraryOptions = app.Options;
        app.ResultsDrawing = app.ArbitraryDrawing = app.Drawing;
        e.Apply(app);
        EXPECT_EQ(ResultsState(app), e.Results);
        EXPECT_EQ(ArbitraryState(app), e.Results);
        EXPECT_EQ(DesignModified(app), e.Modified);
    }
}

// The run's records and the arbitrary point's are each judged by the options
// they were calculated with.
TEST(AppState, EachRecordKeepsItsOwnOptions) {
    TAppState app;
    app.Design = Sample();
    app.ResultsDesign = app.ArbitraryDesign = app.Design;
    app.ResultsOptions = app.Options;
    app.Options.Direction = TSlipDirection::Both;
    app.ArbitraryOptions = app.Options;
    EXPECT_EQ(ResultsState(app), TResultsState::Changed);
    EXPECT_EQ(ArbitraryState(app), TResultsState::Current);
    app.Options.Direction = TSlipDirection::Clockwise;
    EXPECT_EQ(ResultsState(app), TResultsState::Current);
    EXPECT_EQ(ArbitraryState(app), TResultsState::Changed);
}

TEST(AppState, ClearResultsIsTheStartUpState) {
    TAppState app;
    app.Report.Results.ResultList = {"x"};
    app.Report.ResultChart.Series[rsRadii].Add(1, 2);
    app.Report.ArbitraryChart.Bottom = TAxisRange{0, 1};
    app.ResultsDesign = app.ArbitraryDesign = Sample();
    ClearResults(app);
    const TAppState fresh;
    EXPECT_TRUE(app.Report.Results == fresh.Report.Results);
    EXPECT_TRUE(app.Report.Arbitrary == fresh.Report.Arbitrary);
    EXPECT_TRUE(app.Report.ResultChart == fresh.Report.ResultChart);
    EXPECT_TRUE(app.Report.ArbitraryChart == fresh.Report.ArbitraryChart);
    EXPECT_FALSE(app.ResultsDesign || app.ArbitraryDesign);
}

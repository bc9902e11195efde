#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/AnalysisModel.h"
#include "run/Checks.h"
#include "text/Conversion.h"

namespace sorvanta {
namespace {

TDesignConditions Sample() {
    TDesignConditions design;
    LoadSampleDesign(design);
    return design;
}

TCoordinateTable Rows(std::vector<TCoordinateRow> rows) {
    TCoordinateTable table;
    table.Rows = std::move(rows);
    return table;
}

struct TChecked {
    TCheckOutcome Outcome;
    TRecordingDialogs Dialogs;
};

TChecked Check(const TDesignConditions& design, const TAnalysisOptions& options,
               bool answer = true) {
    TChecked checked{TCheckOutcome::Proceed, TRecordingDialogs(answer)};
    checked.Outcome = PresentCheckResult(CheckDesignConditions(design, options), checked.Dialogs);
    return checked;
}

TChecked Check(const TDesignConditions& design, bool answer = true) {
    return Check(design, TAnalysisOptions{}, answer);
}

const std::string WaterMessage = "地下水の座標データが未定義です。\r座標データを入力して下さい。";
const std::string NclElevationMessage =
    "ﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)の座標データが未定義です。\r座標データを入力して下さい。";
const std::string BothMessage =
    "[ﾈﾊﾞｰｶｯﾄﾗｲﾝ]と[ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ]は同時に指定できません。\rどちらかを解除して下さい。";
const std::string NclLineMessage =
    "ﾈﾊﾞｰｶｯﾄﾗｲﾝ(任意)の座標データが未定義です。\r座標データを入力して下さい。";
const std::string McpMessage =
    "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意)の座標データが未定義です。\r座標データを入力して下さい。";
const std::string LoadPositionMessage =
    "載荷重の位置データがおかしいです。\rデータを点検して下さい。";
const std::string LoadNegativeMessage = "載荷重が負です。\rデータを点検して下さい。";
const std::string LoadDataMessage = "載荷重のデータがおかしいです。\rデータを点検して下さい。";
const std::string MeshPitchMessage = "ﾒｯｼｭﾋﾟｯﾁは0.5以上に設定して下さい。";
const std::string MeshCountMessage = "ﾒｯｼｭ数は2～10に設定して下さい。";
const std::string WaterWeightMessage =
    "水の単位体積重量(γw)が0以下です。\r0より大きい値に設定して下さい。";
const std::string RequiredFsMessage = "必要安全率が0以下です。\r0より大きい値に設定して下さい。";
const std::string McpBelowMessage =
    "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意)がﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)より下です。\r"
    "ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄかﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)を修正して下さい。";
std::string ReversedMessage(const std::string& n) {
    return "[" + n + "]層目の座標データが右から左の順です。\r[" + n +
           "]層目の座標データを左から右の順に入力して下さい。";
}
const std::string WorkMessage =
    "計算量が多すぎます（土塊分割上限幅と格子点安全率のﾒｯｼｭ数）。\r"
    "土塊分割上限幅を大きくするか、格子点安全率のﾒｯｼｭ数を小さくして下さい。";

TEST(ChecksTest, SampleDesignAnsweredYesProceedsAfterTheQuestion) {
    const TChecked c = Check(Sample());
    EXPECT_EQ(c.Outcome, TCheckOutcome::Proceed);
    EXPECT_TRUE(c.Dialogs.Messages.empty());
    ASSERT_EQ(c.Dialogs.Questions.size(), 1u);
    EXPECT_EQ(c.Dialogs.Questions[0],
              "円弧条件は下記で間違いないですか。\r\r"
              "(1)ﾈﾊﾞｰｶｯﾄﾗｲﾝ (標高)= 0.00 m\r"
              "(2)ﾈﾊﾞｰｶｯﾄﾗｲﾝ (任意):指定なし\r"
              "(3)ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意):指定なし");
}

TEST(ChecksTest, AnswerNoRefusesWithoutMessage) {
    const TChecked c = Check(Sample(), false);
    EXPECT_EQ(c.Outcome, TCheckOutcome::Refuse);
    EXPECT_TRUE(c.Dialogs.Messages.empty());
}

TEST(ChecksTest, QuestionNamesSwitchedOnConstraints) {
    TDesignConditions d = Sample();
    d.NeverCutLineEnabled = true;
    d.MustCutPointEnabled = true;
    EXPECT_EQ(CircleConditionsQuestion(d),
              "円弧条件は下記で間違いないですか。\r\r(1)ﾈﾊﾞｰｶｯﾄﾗｲﾝ (標高)= 0.00 m\r"
              "(2)ﾈﾊﾞｰｶｯﾄﾗｲﾝ (任意):指定有り\r(3)ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意):指定有り");
}

struct TCase {
    // `edit` changes the design, or the design and the options.
    template <class Edit>
    TCase(const char* name, Edit edit, std::vector<std::string> messages)
        : Name(name), Messages(std::move(messages)) {
        if constexpr (std::is_invocable_v<Edit, TDesignConditions&, TAnalysisOptions&>)
            Apply = edit;
        else
            Apply = [edit](TDesignConditions& d, TAnalysisOptions&) { edit(d); };
    }
    const char* Name;
    std::function<void(TDesignConditions&, TAnalysisOptions&)> Apply;
    std::vector<std::string> Messages;  // empty: proceeds
};

// Keeps test listings readable: the case name instead of the object's bytes.
void PrintTo(const TCase& c, std::ostream* os) {
    *os << c.Name;
}

class ChecksCaseTest : public ::testing::TestWithParam<TCase> {};

TEST_P(ChecksCaseTest, MessagesInOrder) {
    TDesignConditions d = Sample();
    TAnalysisOptions o;
    GetParam().Apply(d, o);
    const TChecked c = Check(d, o);
    EXPECT_EQ(c.Dialogs.Messages, GetParam().Messages);
    EXPECT_EQ(c.Outcome,
              GetParam().Messages.empty() ? TCheckOutcome::Proceed : TCheckOutcome::Refuse);
}

const TCoordinateRow P0{"0", "0.00", "5.00"};
const TCoordinateRow P1{"1", "70.00", "15.00"};
const TCoordinateRow Dash{"-", "-", "-"};

INSTANTIATE_TEST_SUITE_P(Steps, ChecksCaseTest,
                         ::testing::Values(TCase{"OnlyFirstFaultyLayerReported",
                                                 [](TDesignConditions& d) {
                                                     d.Layers[1].Boundary =
                                                         TCoordinateTable::Placeholder();
                                                     d.Layers[2].Boundary =
                                                         TCoordinateTable::Placeholder();
                                                 },
                                                 {"[2]層目の座標データが未定義です。\r\r[2]"
                                                  "層目の座標データを入力して下さい。"}},
                                           TCase{"OnePointLayerFails",
                                                 [](TDesignConditions& d) {
                                                     d.Layers[4].Boundary = Rows({P0, Dash, P1});
                                                 },
                                                 {"[5]層目の座標データが未定義です。\r\r[5]"
                                                  "層目の座標データを入力して下さい。"}},
                                           TCase{"TwoPointLayerPasses",
                                                 [](TDesignConditions& d) {
                                                     d.Layers[4].Boundary = Rows({P0, P1});
                                                 },
                                                 {}},
                                           TCase{"LayersBeyondCountNotLooked",
                                                 [](TDesignConditions& d) {
                                                     d.LayerCount = "2";
                                                     d.Layers[2].Boundary =
                                                         TCoordinateTable::Placeholder();
                                                 },
                                                 {}},
                                           TCase{"WaterWithoutPoints",
                                                 [](TDesignConditions& d) {
                                                     d.WaterEnabled = true;
                                                     d.GammaW = "10.0";
                                                     d.WaterTable = Rows({P0});
                                                 },
                                                 {WaterMessage}},
                                           TCase{
                                               "OneMustCutPointPasses",
                                               [](TDesignConditions& d) {
                                                   d.MustCutPointEnabled = true;
                                                   d.MustCutPoint = Rows({{"0", "30.00", "8.00"}});
                                               },
                                               {}},
                                           TCase{"MustCutWithoutPoint",
                                                 [](TDesignConditions& d) {
                                                     d.MustCutPointEnabled = true;
                                                 },
                                                 {McpMessage}},
                                           TCase{"NeverCutLineOnePoint",
                                                 [](TDesignConditions& d) {
                                                     d.NeverCutLineEnabled = true;
                                                     d.NeverCutLine = Rows({P0});
                                                 },
                                                 {NclLineMessage}},
                                           TCase{
                                               "BothConstraintsOnlyStep6",
                                               [](TDesignConditions& d) {
                                                   d.NeverCutLineEnabled = true;
                                                   d.NeverCutLine = Rows({P0, P1});
                                                   d.MustCutPointEnabled = true;
                                                   d.MustCutPoint = Rows({{"0", "30.00", "8.00"}});
                                               },
                                               {BothMessage}},
                                           TCase{"LoadPositionAndNegative",
                                                 [](TDesignConditions& d) {
                                                     d.LoadEnabled = true;
                                                     d.LoadStartX = "10";
                                                     d.LoadEndX = "5";
                                                     d.LoadIntensity = "-1";
                                                 },
                                                 {LoadPositionMessage, LoadNegativeMessage}},
                                           TCase{"LoadZeroIntensityPasses",
                                                 [](TDesignConditions& d) {
                                                     d.LoadEnabled = true;
                                                     d.LoadStartX = "1";
                                                     d.LoadEndX = "5";
                                                     d.LoadIntensity = "0";
                                                 },
                                                 {}},
                                           TCase{"LoadUnreadable",
                                                 [](TDesignConditions& d) {
                                                     d.LoadEnabled = true;
                                                     d.LoadEndX = "abc";
                                                     d.LoadIntensity = "-1";
                                                 },
                                                 {LoadDataMessage}},
                                           TCase{"LoadOffIgnored",
                                                 [](TDesignConditions& d) { d.LoadEndX = "abc"; },
                                                 {}},
                                           TCase{"MeshPitchLowerEdge",
                                                 [](TDesignConditions& d) { d.MeshPitch = "0.5"; },
                                                 {}},
                                           TCase{"MeshPitchUpperEdge",
                                                 [](TDesignConditions& d) { d.MeshPitch = "15"; },
                                                 {}},
                                           TCase{"MeshPitchBelow",
                                                 [](TDesignConditions& d) { d.MeshPitch = "0.49"; },
                                                 {MeshPitchMessage}},
                                           TCase{
                                               "MeshPitchAbove",
                                               [](TDesignConditions& d) { d.MeshPitch = "15.01"; },
                                               {MeshPitchMessage}},
                                           TCase{"MeshCountTen",
                                                 [](TDesignConditions& d) { d.MeshCount = "10"; },
                                                 {}},
                                           TCase{"MeshCountOne",
                                                 [](TDesignConditions& d) { d.MeshCount = "1"; },
                                                 {MeshCountMessage}},
                                           TCase{"MeshCountEleven",
                                                 [](TDesignConditions& d) { d.MeshCount = "11"; },
                                                 {MeshCountMessage}},
                                           TCase{"EveryStepRunsAfterAFault",
                                                 [](TDesignConditions& d) {
                                                     d.Layers[0].Boundary = Rows({P0});
                                                     d.WaterEnabled = true;
                                                     d.GammaW = "10.0";
                                                     d.WaterTable = TCoordinateTable::Placeholder();
                                                     d.MeshCount = "11";
                                                 },
                                                 {"[1]層目の座標データが未定義です。\r\r[1]"
                                                  "層目の座標データを入力して下さい。",
                                                  WaterMessage, MeshCountMessage}},
                                           // Beyond the plain checks: values the engine cannot work
                                           // with.
                                           TCase{
                                               "SliceWidthZero",
                                               [](TDesignConditions& d) { d.MaxSliceWidth = "0"; },
                                               {"土塊分割上限幅は0より大きい値に設定して下さい。"}},
                                           TCase{
                                               "SliceWidthNegative",
                                               [](TDesignConditions& d) {
                                                   d.MaxSliceWidth = "-0.5";
                                               },
                                               {"土塊分割上限幅は0より大きい値に設定して下さい。"}},
                                           TCase{"SliceWidthTooSmallForSection",
                                                 [](TDesignConditions& d) {
                                                     d.MaxSliceWidth = "0.0069";
                                                 },
                                                 {"土塊分割上限幅が小さすぎます。\rデータを点検して"
                                                  "下さい。"}},
                                           TCase{"SliceWidthSmallestForSection",
                                                 [](TDesignConditions& d) {
                                                     d.MaxSliceWidth = "0.007";
                                                 },
                                                 {}},
                                           TCase{"GridMeshCountZero",
                                                 [](TDesignConditions&, TAnalysisOptions& o) {
                                                     o.GridFsEnabled = true;
                                                     o.GridFsMeshCount = "0";
                                                 },
                                                 {"格子点安全率のﾒｯｼｭ数は1～100の整数に設定して下さ"
                                                  "い。"}},
                                           TCase{"GridMeshCountNotInteger",
                                                 [](TDesignConditions&, TAnalysisOptions& o) {
                                                     o.GridFsEnabled = true;
                                                     o.GridFsMeshCount = "2.5";
                                                 },
                                                 {"格子点安全率のﾒｯｼｭ数は1～100の整数に設定して下さ"
                                                  "い。"}},
                                           TCase{"GridMeshCountOne",
                                                 [](TDesignConditions&, TAnalysisOptions& o) {
                                                     o.GridFsEnabled = true;
                                                     o.GridFsMeshCount = "1";
                                                 },
                                                 {}},
                                           TCase{"GridMeshCountIgnoredWhenOff",
                                                 [](TDesignConditions&, TAnalysisOptions& o) {
                                                     o.GridFsMeshCount = "abc";
                                                 },
                                                 {}},
                                           TCase{"LayerCountTooLarge",
                                                 [](TDesignConditions& d) { d.LayerCount = "7"; },
                                                 {"地層数は1～5に設定して下さい。"}},
                                           TCase{"LayerCountZero",
                                                 [](TDesignConditions& d) { d.LayerCount = "0"; },
                                                 {"地層数は1～5に設定して下さい。"}},
                                           TCase{"WaterWeightNotANumber",
                                                 [](TDesignConditions& d) {
                                                     d.WaterEnabled = true;
                                                     d.GammaW = "---";
                                                 },
                                                 {"水の単位体積重量(γw)"
                                                  "のデータがおかしいです。\rデータを点検して下さい"
                                                  "。"}},
                                           TCase{"WaterWeightIgnoredWhenOff",
                                                 [](TDesignConditions& d) { d.GammaW = "---"; },
                                                 {}},
                                           // Values that turn the result upside down: water
                                           // that lifts, a required factor every design meets,
                                           // lines entered backwards, a must-cut point the
                                           // never-cut elevation forbids.
                                           TCase{"WaterWeightZeroOrNegative",
                                                 [](TDesignConditions& d) {
                                                     d.WaterEnabled = true;
                                                     d.GammaW = "-10";
                                                 },
                                                 {WaterWeightMessage}},
                                           TCase{"WaterWeightZero",
                                                 [](TDesignConditions& d) {
                                                     d.WaterEnabled = true;
                                                     d.GammaW = "0";
                                                 },
                                                 {WaterWeightMessage}},
                                           TCase{"RequiredFsZeroOrNegative",
                                                 [](TDesignConditions& d) {
                                                     d.SafetyFactor = "-1.2";
                                                 },
                                                 {RequiredFsMessage}},
                                           TCase{"RequiredFsZero",
                                                 [](TDesignConditions& d) {
                                                     d.SafetyFactor = "0";
                                                 },
                                                 {RequiredFsMessage}},
                                           TCase{"GroundAndLayerRightToLeft",
                                                 [](TDesignConditions& d) {
                                                     d.Layers[0].Boundary = Rows(
                                                         {{"0", "70", "15"}, {"1", "40", "15"},
                                                          {"2", "20", "5"}, {"3", "0", "5"}});
                                                     d.Layers[2].Boundary =
                                                         Rows({{"0", "70", "13"}, {"1", "0", "3"}});
                                                 },
                                                 {ReversedMessage("1"), ReversedMessage("3")}},
                                           TCase{"WaterRightToLeft",
                                                 [](TDesignConditions& d) {
                                                     d.WaterEnabled = true;
                                                     d.GammaW = "9.81";
                                                     d.WaterTable =
                                                         Rows({{"0", "70", "13"}, {"1", "0", "2"}});
                                                 },
                                                 {"地下水の座標データが右から左の順です。\r座標"
                                                  "データを左から右の順に入力して下さい。"}},
                                           TCase{"OverhangingGroundEndingRightPasses",
                                                 [](TDesignConditions& d) {
                                                     d.Layers[0].Boundary =
                                                         Rows({{"0", "0", "5"},
                                                               {"1", "30", "5"},
                                                               {"2", "25", "15"},
                                                               {"3", "70", "15"}});
                                                 },
                                                 {}},
                                           TCase{"MustCutPointBelowNeverCutElevation",
                                                 [](TDesignConditions& d) {
                                                     d.MustCutPointEnabled = true;
                                                     d.MustCutPoint = Rows({{"0", "30", "-5"}});
                                                 },
                                                 {McpBelowMessage}},
                                           TCase{"MustCutPointOnNeverCutElevationPasses",
                                                 [](TDesignConditions& d) {
                                                     d.MustCutPointEnabled = true;
                                                     d.MustCutPoint = Rows({{"0", "30", "0"}});
                                                 },
                                                 {}},
                                           // The run reads a trailing blank; the check
                                           // of the elevation does not.
                                           TCase{"NeverCutElevationWithTrailingBlank",
                                                 [](TDesignConditions& d) {
                                                     d.NeverCutElevation = "0.00 ";
                                                     d.MustCutPointEnabled = true;
                                                     d.MustCutPoint = Rows({{"0", "30", "-5"}});
                                                 },
                                                 {NclElevationMessage}},
                                           TCase{"MustCutPointBelowNeverCutLine",
                                                 [](TDesignConditions& d) {
                                                     // Refused as the two together already are.
                                                     d.MustCutPointEnabled = true;
                                                     d.MustCutPoint = Rows({{"0", "30", "1"}});
                                                     d.NeverCutLineEnabled = true;
                                                     d.NeverCutLine = Rows(
                                                         {{"0", "0", "3"}, {"1", "70", "3"}});
                                                 },
                                                 {BothMessage}},
                                           TCase{"ValuesNotFinite",
                                                 [](TDesignConditions& d) {
                                                     d.Layers[0].GammaS = "1e308";
                                                     d.WaterEnabled = true;
                                                     d.GammaW = "1e308";
                                                 },
                                                 {"数値データに計算できない値があります。\rデータを"
                                                  "点検して下さい。"}},
                                           // Soil values without physical meaning: each value names
                                           // the first layer at fault, after the checks above.
                                           TCase{
                                               "SoilValuesFirstFaultyLayerEach",
                                               [](TDesignConditions& d) {
                                                   d.Layers[1].GammaT = "0";
                                                   d.Layers[3].GammaT = "-18";
                                                   d.Layers[2].GammaS = "-1";
                                                   d.Layers[4].Phi = "90";
                                                   d.Layers[0].Cohesion = "-5";
                                               },
                                               {"[2]層目の湿潤単位体積重量(γt)"
                                                "が0以下です。\r0より大きい値に設定して下さい。",
                                                "[3]層目の水中単位体積重量(γs)"
                                                "が0以下です。\r0より大きい値に設定して下さい。",
                                                "[5]層目の剪断抵抗角(φ)"
                                                "が範囲外です。\r0以上90未満の値に設定して下さい。",
                                                "[1]層目の粘着力(C)"
                                                "が負です。\r0以上の値に設定して下さい。"}},
                                           TCase{
                                               "PhiNegative",
                                               [](TDesignConditions&
                                                      d) { d.Layers[0].Phi = "-10"; },
                                               {"[1]層目の剪断抵抗角(φ)"
                                                "が範囲外です。\r0以上90未満の値に設定して下さい"
                                                "。"}},
                                           TCase{"PhiBelowNinetyAndNoCohesionPass",
                                                 [](TDesignConditions& d) {
                                                     d.Layers[0].Phi = "89.9";
                                                     d.Layers[0].Cohesion = "0";
                                                     d.Layers[1].Phi = "0";
                                                 },
                                                 {}},
                                           TCase{"SoilBeyondLayerCountNotLooked",
                                                 [](TDesignConditions& d) {
                                                     d.LayerCount = "2";
                                                     d.Layers[2].Phi = "120";
                                                     d.Layers[4].GammaT = "-1";
                                                 },
                                                 {}},
                                           TCase{"SoilAfterThePlainChecks",
                                                 [](TDesignConditions& d) {
                                                     d.MeshCount = "11";
                                                     d.Layers[0].GammaT = "-18";
                                                 },
                                                 {MeshCountMessage,
                                                  "[1]層目の湿潤単位体積重量(γt)"
                                                  "が0以下です。\r0より大きい値に設定して下さい"
                                                  "。"}},
                                           // The work of a run: slices over the ground's whole X
                                           // extent, times the centres the run searches.
                                           TCase{"OverhangingGroundCountsItsWholeExtent",
                                                 [](TDesignConditions& d) {
                                                     // First and last points 10 m apart, the ground
                                                     // 90 m wide.
                                                     d.Layers[0].Boundary =
                                                         Rows({{"0", "0", "5"},
                                                               {"1", "60", "15"},
                                                               {"2", "-30", "15"},
                                                               {"3", "10", "20"}});
                                                     d.MaxSliceWidth = "0.007";
                                                 },
                                                 {"土塊分割上限幅が小さすぎます。\rデータを点検して"
                                                  "下さい。"}},
                                           TCase{"GridPointsWithinTheWorkBound",
                                                 [](TDesignConditions& d, TAnalysisOptions& o) {
                                                     d.MaxSliceWidth = "0.007";
                                                     o.GridFsEnabled = true;
                                                     o.GridFsMeshCount = "45";
                                                 },
                                                 {}},
                                           // Both directions refine twice.
                                           TCase{"BothDirectionsCountTheirSearchTwice",
                                                 [](TDesignConditions& d, TAnalysisOptions& o) {
                                                     d.MaxSliceWidth = "0.007";
                                                     o.GridFsEnabled = true;
                                                     o.GridFsMeshCount = "45";
                                                     o.Direction = TSlipDirection::Both;
                                                 },
                                                 {WorkMessage}},
                                           TCase{"GridPointsBeyondTheWorkBound",
                                                 [](TDesignConditions& d, TAnalysisOptions& o) {
                                                     d.MaxSliceWidth = "0.007";
                                                     o.GridFsEnabled = true;
                                                     o.GridFsMeshCount = "46";
                                                 },
                                                 {WorkMessage}},
                                           TCase{"ContoursAtTheFinestSliceWidth",
                                                 [](TDesignConditions& d, TAnalysisOptions& o) {
                                                     d.MaxSliceWidth = "0.007";
                                                     o.ContourEnabled = true;
                                                 },
                                                 {}},
                                           TCase{"GridPointsOfOrdinaryWidthAtAnyMeshCount",
                                                 [](TDesignConditions& d, TAnalysisOptions& o) {
                                                     d.MaxSliceWidth = "0.1";
                                                     o.GridFsEnabled = true;
                                                     o.GridFsMeshCount = "100";
                                                     o.ContourEnabled = true;
                                                 },
                                                 {}},
                                           // The grids and the passes at a centre grow with the
                                           // section's size: the sample at 1e9 times its size,
                                           // the slice width scaled alike, takes minutes.
                                           TCase{"HugeScaleCountsItsGridsAndPasses",
                                                 [](TDesignConditions& d) {
                                                     d.Layers[0].Boundary =
                                                         Rows({{"0", "0", "5e9"},
                                                               {"1", "20e9", "5e9"},
                                                               {"2", "40e9", "15e9"},
                                                               {"3", "70e9", "15e9"}});
                                                     d.LayerCount = "1";
                                                     d.MaxSliceWidth = "7e6";
                                                 },
                                                 {WorkMessage}},
                                           TCase{"HugeScaleOfOrdinarySliceCountPasses",
                                                 [](TDesignConditions& d) {
                                                     d.Layers[0].Boundary =
                                                         Rows({{"0", "0", "5e9"},
                                                               {"1", "20e9", "5e9"},
                                                               {"2", "40e9", "15e9"},
                                                               {"3", "70e9", "15e9"}});
                                                     d.LayerCount = "1";
                                                     d.MaxSliceWidth = "1e9";
                                                 },
                                                 {}},
                                           TCase{"WorkNotEstimatedAfterTheSliceRefusal",
                                                 [](TDesignConditions& d, TAnalysisOptions& o) {
                                                     d.MaxSliceWidth = "0.0069";
                                                     o.GridFsEnabled = true;
                                                     o.GridFsMeshCount = "100";
                                                 },
                                                 {"土塊分割上限幅が小さすぎます。\rデータを点検して"
                                                  "下さい。"}}),
                         [](const ::testing::TestParamInfo<TCase>& p) {
                             return std::string(p.param.Name);
                         });

TEST(ChecksTest, UnreadableNeverCutElevationStopsBeforeTheQuestion) {
    TDesignConditions d = Sample();
    d.NeverCutElevation = "abc";
    TRecordingDialogs dialogs;
    EXPECT_THROW(PresentCheckResult(CheckDesignConditions(d, {}), dialogs), ConversionError);
    EXPECT_TRUE(dialogs.Questions.empty());
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST(ChecksTest, UnreadableNeverCutElevationWithoutGroundReachesTheQuestion) {
    TDesignConditions d = Sample();
    d.NeverCutElevation = "abc";
    d.Layers[0].Boundary = TCoordinateTable::Placeholder();
    const TChecked c = Check(d);
    ASSERT_EQ(c.Dialogs.Questions.size(), 1u);
    EXPECT_NE(c.Dialogs.Questions[0].find("(1)ﾈﾊﾞｰｶｯﾄﾗｲﾝ (標高)= abc m\r"), std::string::npos);
    EXPECT_EQ(c.Dialogs.Messages,
              (std::vector<std::string>{
                  "[1]層目の座標データが未定義です。\r\r[1]層目の座標データを入力して下さい。",
                  NclElevationMessage}));
    EXPECT_EQ(c.Outcome, TCheckOutcome::Refuse);
}

TEST(ChecksTest, DesignIsNotChanged) {
    TDesignConditions d = Sample();
    d.LoadEnabled = true;
    d.LoadEndX = "abc";
    const TDesignConditions before = d;
    Check(d);
    EXPECT_EQ(d, before);
}

}  // namespace
}  // namespace sorvanta

namespace sorvanta {
namespace {

TEST(ChecksTest, ResultHoldsTheQuestionTheFaultsAndTheModelAndAsksNothing) {
    TDesignConditions d = Sample();
    d.WaterEnabled = true;
    d.GammaW = "10";
    d.WaterTable = TCoordinateTable::Placeholder();
    const TCheckResult checks = CheckDesignConditions(d, {});
    EXPECT_EQ(checks.Question, CircleConditionsQuestion(d));
    EXPECT_EQ(checks.Faults, std::vector<std::string>{WaterMessage});
    const TAnalysisModel built = BuildAnalysisModel(d, {});
    EXPECT_EQ(checks.Model.BreakX, built.BreakX);
    EXPECT_EQ(checks.Model.Figures, built.Figures);
    EXPECT_EQ(checks.Model.Soil, built.Soil);

    // Presenting them asks first, then shows every fault even after a No.
    TRecordingDialogs no(false);
    EXPECT_EQ(PresentCheckResult(checks, no), TCheckOutcome::Refuse);
    EXPECT_EQ(no.Questions, std::vector<std::string>{checks.Question});
    EXPECT_EQ(no.Messages, checks.Faults);
}

}  // namespace
}  // namespace sorvanta

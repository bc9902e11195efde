// The options block after the design's own lines: written only for options
// that differ from their defaults, read back byte for byte, refused whole
// when a line of it is wrong.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "design/DesignFile.h"
#include "design/StoredOptions.h"
#include "text/TextFile.h"

namespace sorvanta {
namespace {

namespace fs = std::filesystem;
using test::SampleDesign;

const fs::path GoldenOptions = fs::path(SORVANTA_TEST_DATA) / "design" / "sample-options.dat";

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every stored option away from its default.
TAnalysisOptions AllSet() {
    TAnalysisOptions o;
    o.Kh = "0.25";
    o.Case = TDesignCase::Both;
    o.RequiredFsSeismic = "1.0";
    o.PlannedFs = "1.20";
    o.AnchorAngle = "-30";
    o.PilePitch = "2.5";
    o.LoadInAnalysis = true;
    return o;
}

// Options unlike both the defaults and AllSet(), to see what a load changed;
// form and direction are not in the file and must stay.
TAnalysisOptions BeforeLoad() {
    TAnalysisOptions o;
    o.Form = TFsForm::Force;
    o.Direction = TSlipDirection::Both;
    o.Kh = "0.1";
    o.PilePitch = "9";
    return o;
}

std::vector<std::string> SampleLinesAnd(std::vector<std::string> extra) {
    std::vector<std::string> lines = DesignFileLines(SampleDesign());
    lines.insert(lines.end(), extra.begin(), extra.end());
    return lines;
}

TEST(OptionsBlock, EveryOptionRoundTripsInAFixedOrderAfterTheDesign) {
    const std::vector<std::string> lines = DesignFileLines(SampleDesign(), AllSet());
    const std::vector<std::string> block(lines.begin() + 71, lines.end());
    EXPECT_EQ(block, (std::vector<std::string>{"[sorvanta options]", "kh=0.25", "case=both",
                                               "required-fs-seismic=1.0", "planned-fs=1.20",
                                               "anchor-angle=-30", "pile-pitch=2.5",
                                               "load-in-analysis=true"}));
    const std::vector<std::string> own(lines.begin(), lines.begin() + 71);
    EXPECT_EQ(own, DesignFileLines(SampleDesign()));

    const std::string bytes = EncodeTextLines(lines);
    if (std::getenv("SORVANTA_UPDATE_GOLDEN")) WriteFileAtomically(GoldenOptions, bytes);
    ASSERT_EQ(bytes, Slurp(GoldenOptions))
        << "regenerate with SORVANTA_UPDATE_GOLDEN=1 and read the diff";

    TDesignConditions design;
    TAnalysisOptions options = BeforeLoad();
    const TDesignLoadResult r = TryLoadDesignBytes(bytes, design, options);
    ASSERT_TRUE(r) << r.Message;
    TAnalysisOptions expected = AllSet();
    expected.Form = TFsForm::Force;
    expected.Direction = TSlipDirection::Both;
    EXPECT_EQ(options, expected);
    EXPECT_EQ(EncodeTextLines(DesignFileLines(design, options)), bytes);
}

TEST(OptionsBlock, DefaultsAreNotWrittenAndAFileWithoutABlockGivesThem) {
    // Form, direction, grid points and contours never reach the file.
    TAnalysisOptions runChoices;
    runChoices.Form = TFsForm::Force;
    runChoices.Direction = TSlipDirection::CounterClockwise;
    runChoices.GridFsEnabled = true;
    runChoices.ContourEnabled = true;
    EXPECT_EQ(DesignFileLines(SampleDesign(), runChoices), DesignFileLines(SampleDesign()));

    TAnalysisOptions one;
    one.AnchorAngle = "15";
    EXPECT_EQ(DesignFileLines(SampleDesign(), one),
              SampleLinesAnd({"[sorvanta options]", "anchor-angle=15"}));

    TDesignConditions design;
    TAnalysisOptions options = BeforeLoad();
    ASSERT_TRUE(TryLoadDesignLines(DesignFileLines(SampleDesign()), design, options));
    TAnalysisOptions expected;
    expected.Form = TFsForm::Force;
    expected.Direction = TSlipDirection::Both;
    EXPECT_EQ(options, expected);

    // An editor's last line end, or several, is no content; nor is a block
    // that names only defaults, which the next save leaves out.
    options = BeforeLoad();
    ASSERT_TRUE(TryLoadDesignLines(SampleLinesAnd({"", ""}), design, options));
    EXPECT_EQ(options, expected);
    ASSERT_TRUE(TryLoadDesignLines(
        SampleLinesAnd({"[sorvanta options]", "kh=0", "case=normal", ""}), design, options));
    EXPECT_EQ(options, expected);
    // Any order reads; the save puts them in its own.
    ASSERT_TRUE(TryLoadDesignLines(
        SampleLinesAnd({"[sorvanta options]", "load-in-analysis=true", "kh= .2"}), design,
        options));
    EXPECT_EQ(options.Kh, " .2");
    EXPECT_TRUE(options.LoadInAnalysis);
    EXPECT_EQ(DesignFileLines(design, options),
              SampleLinesAnd({"[sorvanta options]", "kh= .2", "load-in-analysis=true"}));
}

TEST(OptionsBlock, AWrongLineRefusesTheLoadNamingItAndChangesNothing) {
    struct Case {
        std::vector<std::string> extra;
        int line;
        std::string message;
    };
    const Case cases[] = {
        {{"kh=0.2"},
         72,
         "72行目: 設計条件の後に、見出し「[sorvanta options]」のない行があります（'kh=0.2'）。"},
        {{"", "x"},
         72,
         "72行目: 設計条件の後に、見出し「[sorvanta options]」のない行があります（''）。"},
        {{"[sorvanta options]", "kh"},
         73,
         "73行目: オプションは「キー=値」の形で書いて下さい（'kh'）。"},
        {{"[sorvanta options]", "", "kh=0.2"},
         73,
         "73行目: オプションは「キー=値」の形で書いて下さい（''）。"},
        {{"[sorvanta options]", "[sorvanta options]"},
         73,
         "73行目: オプションは「キー=値」の形で書いて下さい（'[sorvanta options]'）。"},
        {{"[sorvanta options]", "zone=A1"}, 73, "73行目: 不明なオプションです（'zone'）。"},
        {{"[sorvanta options]", "KH=0.2"}, 73, "73行目: 不明なオプションです（'KH'）。"},
        {{"[sorvanta options]", "kh=0.2", "case=both", "kh=0.2"},
         75,
         "75行目: オプション kh が2度あります。"},
        {{"[sorvanta options]", "kh=abc"},
         73,
         "73行目: 設計水平震度khは0以上1未満の数値で指定して下さい（'abc'）。"},
        {{"[sorvanta options]", "kh="},
         73,
         "73行目: 設計水平震度khは0以上1未満の数値で指定して下さい（''）。"},
        {{"[sorvanta options]", "kh=1"},
         73,
         "73行目: 設計水平震度khは0以上1未満の数値で指定して下さい（'1'）。"},
        {{"[sorvanta options]", "kh=-0.01"},
         73,
         "73行目: 設計水平震度khは0以上1未満の数値で指定して下さい（'-0.01'）。"},
        {{"[sorvanta options]", "case=地震時"},
         73,
         "73行目: 検討ケースは normal、seismic、both のどれかで指定して下さい（'地震時'）。"},
        {{"[sorvanta options]", "required-fs-seismic=0"},
         73,
         "73行目: 地震時の所要安全率は0より大きい数値で指定して下さい（'0'）。"},
        {{"[sorvanta options]", "planned-fs=1e999"},
         73,
         "73行目: 計画安全率PFsは0より大きい数値で指定して下さい（'1e999'）。"},
        {{"[sorvanta options]", "anchor-angle=90"},
         73,
         "73行目: アンカー角度θは-90より大きく90より小さい数値で指定して下さい（'90'）。"},
        {{"[sorvanta options]", "anchor-angle=-90"},
         73,
         "73行目: アンカー角度θは-90より大きく90より小さい数値で指定して下さい（'-90'）。"},
        {{"[sorvanta options]", "pile-pitch=0"},
         73,
         "73行目: 杭間隔は0より大きい数値で指定して下さい（'0'）。"},
        {{"[sorvanta options]", "load-in-analysis=TRUE"},
         73,
         "73行目: 載荷重を計算に含めるは true か false で指定して下さい（'TRUE'）。"},
    };
    for (const Case& c : cases) {
        TDesignConditions design = SampleDesign();
        design.SafetyFactor = "1.50";
        const TDesignConditions designBefore = design;
        TAnalysisOptions options = BeforeLoad();
        const TDesignLoadResult r = TryLoadDesignLines(SampleLinesAnd(c.extra), design, options);
        EXPECT_FALSE(r) << c.message;
        EXPECT_EQ(r.Line, c.line) << c.message;
        EXPECT_EQ(r.Message, c.message);
        EXPECT_EQ(design, designBefore) << c.message;
        EXPECT_EQ(options, BeforeLoad()) << c.message;
    }
}

TEST(OptionsBlock, AProbabilityStudysVariationsAreKeptAsTheirList) {
    TAnalysisOptions options;
    options.Variations = "c1=normal(20,4);phi1=lognormal(30,3);rho1=-0.5";
    const std::vector<std::string> lines = DesignFileLines(SampleDesign(), options);
    EXPECT_EQ(lines, SampleLinesAnd({"[sorvanta options]",
                                     "vary=c1=normal(20,4);phi1=lognormal(30,3);rho1=-0.5"}));
    TDesignConditions design;
    TAnalysisOptions loaded;
    ASSERT_TRUE(TryLoadDesignLines(lines, design, loaded));
    EXPECT_EQ(loaded, options);

    loaded = BeforeLoad();
    const TDesignLoadResult r = TryLoadDesignLines(
        SampleLinesAnd({"[sorvanta options]", "vary=c1=weird(1,2)"}), design, loaded);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.Line, 73);
    EXPECT_NE(r.Message.find("'c1=weird(1,2)'"), std::string::npos) << r.Message;
    EXPECT_EQ(loaded, BeforeLoad());
}

TEST(OptionsBlock, AValueTheLoaderWouldRefuseIsNotSaved) {
    TAnalysisOptions options;
    options.Kh = "0.2";
    options.PilePitch = "-1";
    try {
        (void)DesignFileLines(SampleDesign(), options);
        FAIL() << "saved a file that does not load";
    } catch (const DesignSaveError& e) {
        EXPECT_STREQ(e.what(),
                     "杭間隔は0より大きい数値で指定して下さい（'-1'）。設計条件を保存できません。");
    }
}

TEST(AnalysisOptionsReading, GivesNumbersOrEveryProblem) {
    const TAnalysisOptionsReading defaults = ReadAnalysisOptions({});
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults.Values.Kh, 0);
    EXPECT_EQ(defaults.Values.Case, TDesignCase::Normal);
    EXPECT_EQ(defaults.Values.RequiredFsSeismic, 1.0);
    EXPECT_FALSE(defaults.Values.PlannedFs);
    EXPECT_FALSE(defaults.Values.AnchorAngle);
    EXPECT_FALSE(defaults.Values.PilePitch);
    EXPECT_FALSE(defaults.Values.LoadInAnalysis);

    const TAnalysisOptionsReading all = ReadAnalysisOptions(AllSet());
    ASSERT_TRUE(all) << all.Problems.front();
    EXPECT_EQ(all.Values.Kh, 0.25);
    EXPECT_EQ(all.Values.Case, TDesignCase::Both);
    EXPECT_EQ(all.Values.PlannedFs, 1.2);
    EXPECT_EQ(all.Values.AnchorAngle, -30);
    EXPECT_EQ(all.Values.PilePitch, 2.5);
    EXPECT_TRUE(all.Values.LoadInAnalysis);

    TAnalysisOptions bad;
    bad.Kh = "0,2";
    bad.RequiredFsSeismic = "";
    EXPECT_EQ(
        ReadAnalysisOptions(bad).Problems,
        (std::vector<std::string>{"設計水平震度khは0以上1未満の数値で指定して下さい（'0,2'）。",
                                  "地震時の所要安全率は0より大きい数値で指定して下さい（''）。"}));

    // Each value reads, but together they ask for what cannot be done.
    TAnalysisOptions together;
    together.Case = TDesignCase::Seismic;
    together.PilePitch = "2";
    EXPECT_EQ(ReadAnalysisOptions(together).Problems,
              (std::vector<std::string>{
                  "検討ケースに地震時を含むときは、設計水平震度khを0より大きくして下さい。",
                  "アンカー角度と杭間隔は、計画安全率PFsとともに指定して下さい。"}));
}

}  // namespace
}  // namespace sorvanta

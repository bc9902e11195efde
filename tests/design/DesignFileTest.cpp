#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "design/DesignFile.h"
#include "text/Cp932.h"
#include "text/TextFile.h"

namespace sorvanta {
namespace {

namespace fs = std::filesystem;

const fs::path GoldenSample = fs::path(SORVANTA_TEST_DATA) / "design" / "sample.dat";

using test::SampleDesign;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A scratch folder removed with the test.
class TempDir {
  public:
    TempDir() {
        path_ = fs::temp_directory_path() /
                ("sorvanta-design-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& operator*() const { return path_; }

  private:
    fs::path path_;
};

// A design unlike the sample in every stored field, to see what a load changed.
TDesignConditions BeforeLoad() {
    TDesignConditions d = SampleDesign();
    d.LayerCount = "3";
    d.WaterEnabled = true;
    d.GammaW = "9.8";
    d.Layers[1].Phi = "30";
    d.WaterTable = TCoordinateTable::Placeholder();
    d.StressType = 1;
    d.SafetyFactor = "1.25";
    d.LoadEndX = "33.3";
    d.DesignName = "before";
    return d;
}

// ---------------------------------------------------------------------------

TEST(DesignFile, SampleIsTheGoldenFileAndReadsBackByteForByte) {
    TAnalysisOptions options;
    const std::string bytes = EncodeTextLines(DesignFileLines(SampleDesign()));
    if (std::getenv("SORVANTA_UPDATE_GOLDEN")) WriteFileAtomically(GoldenSample, bytes);
    ASSERT_EQ(bytes, Slurp(GoldenSample))
        << "regenerate with SORVANTA_UPDATE_GOLDEN=1 and read the diff";

    const std::vector<std::string> lines = DesignFileLines(SampleDesign());
    ASSERT_EQ(lines.size(), 71u);
    EXPECT_EQ(lines[23], "5");
    EXPECT_EQ(lines[24], "0,0.00,5.00");
    EXPECT_EQ(lines[47], "3,70.00,11.00");
    EXPECT_EQ(lines[48], "5");
    EXPECT_EQ(lines[49], "0,0.00,1.50");
    EXPECT_EQ(lines[62], "2");
    EXPECT_EQ(lines[63], "-,-,-");

    TDesignConditions loaded = BeforeLoad();
    const TDesignLoadResult r = TryLoadDesignBytes(bytes, loaded, options);
    ASSERT_TRUE(r) << r.Message;
    EXPECT_EQ(r.Axes, (TPreviewAxes{{-2, 72}, {-2, 72}}));
    TDesignConditions expected = SampleDesign();
    expected.DesignName = "before";
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(EncodeTextLines(DesignFileLines(loaded)), bytes);
}

TEST(DesignFile, AwkwardTextsSurviveSaveAndLoad) {
    TAnalysisOptions options;
    TDesignConditions d = SampleDesign();
    d.LayerCount = "2";  // all five layers are still written and read
    d.WaterEnabled = true;
    d.GammaW = " 10.3 ";
    d.Layers[4].Cohesion = "ｱｲｳ　～Ⅲ∞々･";
    d.Layers[3].Boundary.Rows = {{"", "", ""},
                                 {"a b", "\"q\"", "x,y"},
                                 {" lead", "tab\there", "\""},
                                 {"ｶﾅ", "１２", "－"},
                                 {"-", "-", "-"}};
    d.NeverCutLine.Rows = {{"0", "1.5", ""}};
    d.MustCutPoint.Rows = {{"", "", "9"}};
    d.StressType = 1;
    d.ShowSafetyFactors = true;
    d.MustCutPointEnabled = true;
    d.LoadEnabled = true;
    d.LoadIntensity = "";

    const std::string bytes = EncodeTextLines(DesignFileLines(d));
    TDesignConditions loaded;
    const TDesignLoadResult r = TryLoadDesignBytes(bytes, loaded, options);
    ASSERT_TRUE(r) << r.Message;
    d.DesignName = loaded.DesignName;
    EXPECT_EQ(loaded, d);
    EXPECT_EQ(EncodeTextLines(DesignFileLines(loaded)), bytes);

    const std::vector<std::string> lines = DesignFileLines(d);
    EXPECT_EQ(lines[38], "6");
    EXPECT_EQ(lines[39], ",,");
    EXPECT_EQ(lines[40], R"("a b","""q""","x,y")");
    EXPECT_EQ(lines[41], "\" lead\",\"tab\there\",\"\"\"\"");
    EXPECT_EQ(lines[42], "ｶﾅ,１２,－");
}

TEST(CommaText, ReadsItemsAsTheGridDoes) {
    struct Case {
        const char* line;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"0,0.00,5.00", {"0", "0.00", "5.00"}},
        {"0, 0.00 ,5.00", {"0", "0.00", "5.00"}},
        {"  0 , 0.00 , 5.00  ", {"0", "0.00", "5.00"}},
        {",,", {"", "", ""}},
        {"a,", {"a", ""}},
        {"", {}},
        {"a b", {"a", "b"}},
        {"\"a b\",\"x\"\"y\"", {"a b", "x\"y"}},
        {"\"ab\"cd,e", {"ab", "cd", "e"}},
        {"a\"b,c", {"a\"b", "c"}},
        {"\"open", {"open"}},
        {"ｱ　ｲ,～", {"ｱ　ｲ", "～"}},  // the ideographic space is no blank
        {"1,2,3,4,5", {"1", "2", "3", "4", "5"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCommaText(c.line), c.items) << c.line;

    EXPECT_EQ(ParseRowCommaText("1,2,3,4"), (TCoordinateRow{"1", "2", "3"}));
    EXPECT_EQ(ParseRowCommaText("1"), (TCoordinateRow{"1", "", ""}));
    EXPECT_EQ(RowCommaText({"-", "-", "-"}), "-,-,-");
}

// ---------------------------------------------------------------------------
// Hand-edited files

struct TEdit {
    int line;                              // 1-based
    std::vector<std::string> replacement;  // lines put in place of that one
};

std::vector<std::string> SampleLinesWith(std::initializer_list<TEdit> edits) {
    std::vector<std::string> lines = DesignFileLines(SampleDesign());
    // Later lines first, so earlier line numbers stay valid.
    std::vector<TEdit> sorted(edits);
    std::sort(sorted.begin(), sorted.end(),
              [](const TEdit& a, const TEdit& b) { return a.line > b.line; });
    for (const TEdit& e : sorted) {
        const auto at = lines.begin() + (e.line - 1);
        lines.erase(at);
        lines.insert(lines.begin() + (e.line - 1), e.replacement.begin(), e.replacement.end());
    }
    return lines;
}

TEST(DesignFile, ReadsHandEditedValuesAsTheFormatSays) {
    TAnalysisOptions options;
    TDesignConditions d = BeforeLoad();
    ASSERT_TRUE(TryLoadDesignLines(SampleLinesWith({{2, {"true"}},
                                                    {59, {"1"}},
                                                    {60, {"TRUE"}},
                                                    {25, {" 0, 0.00 ,5.00"}},
                                                    {26, {"1,20.00,5.00,extra,items"}},
                                                    {50, {"0,0.00"}}}),
                                   d, options));
    EXPECT_FALSE(d.WaterEnabled);
    EXPECT_FALSE(d.ShowSafetyFactors);
    EXPECT_TRUE(d.ShowCalculationProcess);
    EXPECT_EQ(d.Layers[0].Boundary.Rows[0], (TCoordinateRow{"0", "0.00", "5.00"}));
    EXPECT_EQ(d.Layers[0].Boundary.Rows[1], (TCoordinateRow{"1", "20.00", "5.00"}));
    EXPECT_EQ(d.WaterTable.Rows[0], (TCoordinateRow{"0", "0.00", ""}));
    EXPECT_EQ(d.GammaW, "---");  // loaded as it stands, whatever the switch
}

TEST(DesignFile, KeepsTheFirstRowsOfATableLongerThanItsLimit) {
    TAnalysisOptions options;
    std::vector<std::string> ground{"61"};
    for (int i = 0; i < 60; ++i)
        ground.push_back(std::to_string(i) + "," + std::to_string(i) + ",5");
    TDesignConditions d = BeforeLoad();
    const TDesignLoadResult r = TryLoadDesignLines(
        SampleLinesWith({{24, {ground[0]}},
                         {25, {ground.begin() + 1, ground.end()}},
                         {26, {}},
                         {27, {}},
                         {28, {}},
                         {63, {"8", "0,1,1", "1,2,2", "2,3,3", "3,4,4", "4,5,5", "5,6,6", "6,7,7"}},
                         {64, {}},
                         {66, {"3", "0,10,5", "1,11,6"}},
                         {67, {}}}),
        d, options);
    ASSERT_TRUE(r) << r.Message;
    EXPECT_EQ(d.Layers[0].Boundary.Rows.size(), 51u);
    EXPECT_EQ(d.Layers[0].Boundary.Rows.back(), (TCoordinateRow{"50", "50", "5"}));
    EXPECT_EQ(r.Axes.Bottom, (TAxisRange{-2, 52}));  // from the last row kept
    EXPECT_EQ(d.Layers[1], SampleDesign().Layers[1]);
    EXPECT_EQ(d.NeverCutLine.Rows.size(), 6u);
    EXPECT_EQ(d.MustCutPoint.Rows, (std::vector<TCoordinateRow>{{"0", "10", "5"}}));
    EXPECT_EQ(d.LoadEndX, "0.0");
}

TEST(DesignFile, NormalisesTheLayerCountAsTheWindowDoes) {
    TAnalysisOptions options;
    TDesignConditions d;
    ASSERT_TRUE(TryLoadDesignLines(SampleLinesWith({{1, {"7"}}}), d, options));
    EXPECT_EQ(d.LayerCount, "5");
    ASSERT_TRUE(TryLoadDesignLines(SampleLinesWith({{1, {"abc"}}}), d, options));
    EXPECT_EQ(d.LayerCount, "abc");
}

TEST(DesignFile, AFailedLoadChangesNothingAndNamesTheLine) {
    TAnalysisOptions options;
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        int line;
        std::string message;
    };
    std::vector<std::string> empty;
    std::vector<std::string> seventy = SampleLinesWith({});
    seventy.pop_back();
    std::vector<std::string> fiftyThree = SampleLinesWith({});
    fiftyThree.resize(53);
    const Case cases[] = {
        {"empty file", empty, 1, "1行目: ファイルが途中で終わっています（地層数が必要です）。"},
        {"last line missing", seventy, 71,
         "71行目: ファイルが途中で終わっています（載荷終了位置X座標が必要です）。"},
        {"ends before the stress type", fiftyThree, 54,
         "54行目: ファイルが途中で終わっています（剪断抵抗計算種別が必要です）。"},
        {"stress type not a number", SampleLinesWith({{54, {"abc"}}}), 54,
         "54行目: 剪断抵抗計算種別には整数が必要です。'abc' は有効な数値ではありません。"},
        {"stress type out of range", SampleLinesWith({{54, {"2"}}}), 54,
         "54行目: 剪断抵抗計算種別には 0 または 1 が必要です（'2'）。"},
        {"row count not a number", SampleLinesWith({{29, {"x"}}}), 29,
         "29行目: 2層目の地層座標の行数には整数が必要です。'x' は有効な数値ではありません。"},
        {"row count below 2",
         SampleLinesWith({{49, {"1"}}, {50, {}}, {51, {}}, {52, {}}, {53, {}}}), 49,
         "49行目: 地下水位座標の行数（見出し行を含む）には 2 以上が必要です（'1'）。"},
        {"negative row count", SampleLinesWith({{66, {"-5"}}}), 66,
         "66行目: ﾏｽﾄｶｯﾄﾎﾟｲﾝﾄ(任意)の座標の行数（見出し行を含む）には 2 以上が必要です（'-5'）。"},
        {"rows run past the end", SampleLinesWith({{63, {"100000000"}}}), 72,
         "72行目: ファイルが途中で終わっています（ﾈﾊﾞｰｶｯﾄﾗｲﾝ(任意)の座標の行が必要です）。"},
        {"ground starts without a number", SampleLinesWith({{25, {"0,abc,5.00"}}}), 25,
         "25行目: 地表面（1層目の地層座標）の最初の行のX座標には数値が必要です。'abc' "
         "は有効な数値ではありません。"},
        {"ground ends without a number", SampleLinesWith({{28, {"-,-,-"}}}), 28,
         "28行目: 地表面（1層目の地層座標）の最後の行のX座標には数値が必要です。'-' "
         "は有効な数値ではありません。"},
        {"never-cut elevation not a number", SampleLinesWith({{61, {"1,5"}}}), 61,
         "61行目: ﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)には数値が必要です。'1,5' は有効な数値ではありません。"},
    };
    for (const Case& c : cases) {
        TDesignConditions d = BeforeLoad();
        const TDesignLoadResult r = TryLoadDesignLines(c.lines, d, options);
        EXPECT_FALSE(r) << c.name;
        EXPECT_EQ(r.Line, c.line) << c.name;
        EXPECT_EQ(r.Message, c.message) << c.name;
        EXPECT_EQ(d, BeforeLoad()) << c.name;
    }
}

TEST(DesignFile, BytesThatAreNotCp932AreRefusedWithTheirLine) {
    TAnalysisOptions options;
    std::string bytes = EncodeTextLines(DesignFileLines(SampleDesign()));
    // Line 3 is "---": put a lead byte with an impossible trail byte into it.
    const std::size_t at = bytes.find("---");
    bytes.replace(at, 3, "\x81\x7f");
    TDesignConditions d = BeforeLoad();
    const TDesignLoadResult r = TryLoadDesignBytes(bytes, d, options);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.Line, 3);
    EXPECT_NE(r.Message.find("3行目: "), std::string::npos) << r.Message;
    EXPECT_EQ(d, BeforeLoad());
}

// ---------------------------------------------------------------------------
// Files on disk

TEST(DesignFileOnDisk, SaveAndLoadSetTheDesignNameOnSuccessOnly) {
    TAnalysisOptions options;
    TempDir dir;
    const fs::path path = *dir / "斜面A.dat";
    TDesignConditions d = SampleDesign();
    SaveDesignFile(path, d, TAnalysisOptions{});
    EXPECT_EQ(d.DesignName, "斜面A");
    EXPECT_EQ(Slurp(path), Slurp(GoldenSample));

    TDesignConditions loaded = BeforeLoad();
    const TDesignLoadResult r = TryLoadDesignFile(path, loaded, options);
    ASSERT_TRUE(r) << r.Message;
    EXPECT_EQ(loaded.DesignName, "斜面A");

    const TDesignLoadResult missing = TryLoadDesignFile(*dir / "none.dat", loaded, options);
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Line, 0);
    EXPECT_FALSE(missing.Message.empty());
    EXPECT_EQ(loaded.DesignName, "斜面A");

    WriteFileAtomically(*dir / "bad.dat", "5\r\n");
    EXPECT_FALSE(TryLoadDesignFile(*dir / "bad.dat", loaded, options));
    EXPECT_EQ(loaded.DesignName, "斜面A");
}

TEST(DesignFileOnDisk, AFailedSaveKeepsThePreviousFileAndName) {
    TempDir dir;
    const fs::path path = *dir / "keep.dat";
    TDesignConditions d = SampleDesign();
    SaveDesignFile(path, d, TAnalysisOptions{});
    const std::string before = Slurp(path);

    TDesignConditions unwritable = SampleDesign();
    unwritable.DesignName = "old";
    unwritable.SafetyFactor = "1.2😀";  // no cp932 code
    EXPECT_THROW(SaveDesignFile(path, unwritable, TAnalysisOptions{}), TextCodecError);
    EXPECT_EQ(Slurp(path), before);
    EXPECT_EQ(unwritable.DesignName, "old");

    unwritable.SafetyFactor = "1.20";
    unwritable.Layers[2].Boundary.Rows[1].X = "20\r\n5";
    try {
        SaveDesignFile(path, unwritable, TAnalysisOptions{});
        ADD_FAILURE() << "a line break inside a value was written";
    } catch (const DesignSaveError& e) {
        EXPECT_STREQ(e.what(),
                     "3層目の地層座標に改行が含まれているため、設計条件を保存できません。");
    }
    EXPECT_EQ(Slurp(path), before);
    EXPECT_EQ(unwritable.DesignName, "old");

    unwritable.Layers[2].Boundary.Rows[1].X = "20.00";
    EXPECT_THROW(SaveDesignFile(*dir / "no-such-folder" / "x.dat", unwritable, TAnalysisOptions{}),
                 FileError);
    EXPECT_EQ(unwritable.DesignName, "old");
}

}  // namespace
}  // namespace sorvanta

namespace sorvanta {
namespace {

TEST(DesignFile, AConversionFailureIsLocatedByFieldAndLine) {
    // The sample's file: layer 1 γt on line 4, the mesh count on 58. A longer
    // ground table moves every later line.
    const struct {
        std::string TDesignConditions::*Field;
        int Layer;  // -1: a field of the design itself
        const char* Text;
        std::string Message;
    } cases[] = {
        {nullptr, 0, "abc", "1層目のγt: 'abc' は有効な数値ではありません。"},
        {nullptr, 1, "1..2", "2層目のγt: '1..2' は有効な数値ではありません。"},
        {&TDesignConditions::MeshCount, -1, "x", "ﾒｯｼｭ数: 'x' は有効な数値ではありません。"},
        {&TDesignConditions::NeverCutElevation, -1, "e",
         "ﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高): 'e' は有効な数値ではありません。"},
    };
    const int lines[] = {4, 8, 58, 61};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        TDesignConditions d = SampleDesign();
        std::string& text =
            c.Field ? d.*c.Field : d.Layers[static_cast<std::size_t>(c.Layer)].GammaT;
        text = c.Text;
        const ConversionError located = LocateConversionError(d, ConversionError(c.Text));
        EXPECT_EQ(located.what(), c.Message);
        EXPECT_EQ(located.FileLine(), lines[i]) << c.Message;
        EXPECT_EQ(located.FileLine(), [&] {
            // The line as the file holds it.
            const std::vector<std::string> file = DesignFileLines(d);
            return static_cast<int>(std::find(file.begin(), file.end(), c.Text) - file.begin()) + 1;
        }()) << c.Message;
    }

    // The same bad text in two fields: the one the run converts first failed.
    TDesignConditions d = SampleDesign();
    d.MeshPitch = "bad";
    d.Layers[0].Cohesion = "bad";
    EXPECT_EQ(LocateConversionError(d, ConversionError("bad")).Field(), "1層目のＣ");
    // A layer not in use is never converted: the load intensity failed.
    d = SampleDesign();
    d.LayerCount = "2";
    d.Layers[3].GammaT = "q";
    d.LoadIntensity = "q";
    EXPECT_EQ(LocateConversionError(d, ConversionError("q")).Field(), "荷重強度");
    // Ground rows moved: the mesh count follows them.
    d = SampleDesign();
    d.Layers[0].Boundary.Rows.push_back({"4", "80", "15"});
    d.MeshCount = "x";
    EXPECT_EQ(LocateConversionError(d, ConversionError("x")).FileLine(), 59);
    // A text no field holds: the error as it was.
    EXPECT_EQ(LocateConversionError(SampleDesign(), ConversionError("zz")).FileLine(), 0);
}

TEST(DesignFileOnDisk, NamesThatAreNotUtf8AndHugeFiles) {
    TAnalysisOptions options;
    TempDir dir;
    // A Shift-JIS 堤防.dat from a Windows archive: the name escapes the bytes
    // that are not UTF-8, so that every output can hold it.
    const fs::path sjis = *dir / "\x92\xE7\x96h.dat";
    fs::copy_file(GoldenSample, sjis);
    TDesignConditions d = SampleDesign();
    ASSERT_TRUE(TryLoadDesignFile(sjis, d, options));
    EXPECT_EQ(d.DesignName, "\\x92\\xE7\\x96h");
    EXPECT_EQ(DesignNameOf(*dir / "堤防.dat"), "堤防");

    // More than any design file: refused before it is read, naming the limit.
    const fs::path huge = *dir / "huge.dat";
    fs::copy_file(GoldenSample, huge);
    fs::resize_file(huge, MaxDesignFileBytes + 1);
    TDesignConditions before = BeforeLoad();
    TDesignConditions loaded = before;
    const TDesignLoadResult r = TryLoadDesignFile(huge, loaded, options);
    EXPECT_FALSE(r);
    EXPECT_NE(r.Message.find("上限は 1048576 バイト"), std::string::npos) << r.Message;
    EXPECT_EQ(loaded.DesignName, before.DesignName);
}

}  // namespace
}  // namespace sorvanta

// The batch's parts on their own: the design list and its shards, the output
// names, the interruption and the progress report.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/BatchInputs.h"
#include "cli/BatchInterruption.h"
#include "cli/BatchProgress.h"

namespace sorvanta::cli {
namespace {

namespace fs = std::filesystem;

TEST(BatchInputs, ShardsTakeEveryDesignOnceBetweenThem) {
    EXPECT_EQ(ShardPositions(5, 0, 1), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(ShardPositions(5, 1, 2), (std::vector<std::size_t>{1, 3}));
    EXPECT_TRUE(ShardPositions(2, 2, 3).empty());
    for (int count : {1, 2, 3, 7}) {
        std::vector<int> taken(10, 0);
        for (int index = 0; index < count; ++index) {
            for (std::size_t p : ShardPositions(10, index, count)) ++taken[p];
        }
        EXPECT_EQ(taken, std::vector<int>(10, 1)) << count << " shards";
    }
}

TEST(BatchInputs, ShardTextIsIndexSlashCount) {
    struct TCase {
        const char* Text;
        bool Ok;
    };
    for (const TCase& c : {TCase{"0/1", true}, TCase{"3/4", true}, TCase{"4/4", false},
                           TCase{"-1/2", false}, TCase{"0/0", false}, TCase{"1", false},
                           TCase{"a/2", false}, TCase{"1/2/3", false}, TCase{"", false}}) {
        int index = -5, count = -5;
        EXPECT_EQ(ParseShard(c.Text, index, count), c.Ok) << c.Text;
        if (!c.Ok) {
            EXPECT_EQ(index, -5) << c.Text;
        }
    }
}

class BatchFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("sorvanta-batch-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string Touch(const fs::path& relative, const std::string& bytes = "") {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.lexically_normal().generic_string();
    }
    fs::path root_;
};

TEST_F(BatchFolder, DesignsOfFoldersAndListsSortedOnce) {
    const std::string a = Touch("a.dat");
    const std::string b = Touch("sub/b.DAT");
    Touch("notes.txt");
    const std::string missing = (root_ / "gone.dat").lexically_normal().generic_string();
    // A list with a byte order mark, CR LF, blank lines and padding, naming a
    // design the folder gives again.
    const std::string list =
        Touch("list.txt", "\xEF\xBB\xBF  " + a + " \r\n\r\n\t" + missing + "\r\n");
    TUnreadableFolders unreadable;
    std::string problem;
    const std::vector<std::string> designs =
        CollectDesigns({root_.string(), "@" + list}, unreadable, problem);
    EXPECT_TRUE(problem.empty()) << problem;
    EXPECT_EQ(designs, (std::vector<std::string>{a, missing, b}));
    EXPECT_TRUE(unreadable.empty());

    CollectDesigns({"@" + (root_ / "no-list.txt").string()}, unreadable, problem);
    EXPECT_FALSE(problem.empty());
}

TEST_F(BatchFolder, OutputNamesKeepFoldersApartAndRefuseToMeet) {
    const std::string x = Touch("x/a.dat");
    const std::string y = Touch("y/a.dat");
    std::string problem;
    const std::vector<fs::path> bases = OutputBases({x, y}, "out", {}, problem);
    EXPECT_TRUE(problem.empty());
    EXPECT_EQ(bases, (std::vector<fs::path>{"out/x/a", "out/y/a"}));

    const std::string lower = Touch("z/c.dat");
    const std::string upper = (root_ / "z/C.dat").lexically_normal().generic_string();
    EXPECT_TRUE(OutputBases({upper, lower}, "out", {}, problem).empty());
    EXPECT_NE(problem.find("出力名が重なります"), std::string::npos);

    // An unreadable folder's row writes nothing.
    problem.clear();
    const TUnreadableFolders unreadable{{"locked", "フォルダ「locked」を読めません"}};
    const std::vector<fs::path> some = OutputBases({x, "locked"}, "out", unreadable, problem);
    ASSERT_EQ(some.size(), 2u);
    EXPECT_TRUE(some[1].empty());
}

TEST(BatchInterruption, ASignalCancelsTheRunningDesignsUntilTheHandlersGo) {
    TInterruptProgress progress;
    {
        const TInterruptHandlers handlers;
        EXPECT_FALSE(progress.Cancelled());
        std::raise(SIGTERM);
        EXPECT_EQ(InterruptSignal(), SIGTERM);
        EXPECT_TRUE(progress.Cancelled());
    }
    // New handlers forget the earlier signal; the old ones are back after.
    {
        const TInterruptHandlers handlers;
        EXPECT_EQ(InterruptSignal(), 0);
    }
    EXPECT_EQ(std::signal(SIGTERM, SIG_DFL), SIG_DFL);
}

TEST(BatchProgress, ClockText) {
    EXPECT_EQ(ClockText(0), "0:00");
    EXPECT_EQ(ClockText(59.5), "1:00");
    EXPECT_EQ(ClockText(3599.4), "59:59");
    EXPECT_EQ(ClockText(3725), "1:02:05");
}

TEST(BatchProgress, LinesForALogAndABarForATerminal) {
    TBatchRow ok;
    ok.Path = "a.dat";
    ok.Outcome = TBatchOutcome::Ok;
    TBatchRow refused;
    refused.Path = "b.dat";
    refused.Outcome = TBatchOutcome::Refused;
    refused.Message = "b.dat: 地層数が正しくありません。";

    std::string log;
    TBatchProgressReport lines(
        3, false, false, [&](const std::string& t) { log += t; }, [] { return 65.0; });
    lines.Finished(ok);
    lines.Finished(refused);
    lines.Tick();
    lines.End(false);
    EXPECT_EQ(log,
              "1/3 ok a.dat\n"
              "2/3 refused b.dat: 地層数が正しくありません。\n"
              "完了: 2/3 件、失敗 1 件、経過 1:05\n");

    std::string screen;
    TBatchProgressReport bar(
        3, false, true, [&](const std::string& t) { screen = t; }, [] { return 10.0; });
    bar.Finished(ok);
    EXPECT_EQ(screen, "\r[##########--------------------] 1/3  失敗 0  経過 0:10  残り 0:20\x1b[K");

    std::string quiet;
    TBatchProgressReport none(
        3, true, true, [&](const std::string& t) { quiet += t; }, [] { return 1.0; });
    none.Finished(refused);
    none.Interrupted();
    none.End(true);
    EXPECT_TRUE(quiet.empty());
}

}  // namespace
}  // namespace sorvanta::cli

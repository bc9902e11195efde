#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "text/Cp932.h"
#include "text/TextFile.h"

namespace sorvanta {
namespace {

namespace fs = std::filesystem;
using TLines = std::vector<std::string>;

TEST(TextFile, EncodesCp932WithCrLfAfterEveryLine) {
    EXPECT_EQ(EncodeTextLines({"設計条件", "", "ﾈﾊﾞｰ", "1.20"}),
              "\x90\xDD\x8C\x76\x8F\xF0\x8C\x8F\r\n\r\n\xC8\xCA\xDE\xB0\r\n1.20\r\n");
    EXPECT_EQ(EncodeTextLines({}), "");
    EXPECT_EQ(EncodeTextLines({""}), "\r\n");
}

TEST(TextFile, EncodeFaultsNameTheLine) {
    try {
        (void)EncodeTextLines({"ok", "ab😀"});
        FAIL();
    } catch (const TextCodecError& e) {
        EXPECT_EQ(e.Position, 2u);
        EXPECT_EQ(std::string(e.what()).rfind("2 行目: ", 0), 0u) << e.what();
    }
    // A line break inside a line would read back as two lines.
    for (const char* line : {"a\r\nb", "a\nb", "a\r"}) {
        EXPECT_THROW((void)EncodeTextLines({"first", line}), TextCodecError) << line;
    }
}

TEST(TextFile, DecodesLines) {
    const struct {
        std::string Bytes;
        TLines Lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},  // last line without its line end
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\nb\rc\r\n", {"a", "b", "c"}},
        {"\r\r\n\n", {"", "", ""}},
        {"\x8C\x76\x8E\x5A\r\n\x87\x54\xB6\r\n", {"計算", "Ⅰｶ"}},
        {"\x81\x5C\r\n", {"―"}},  // a trail byte 5C stays in its character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeTextLines(c.Bytes), c.Lines) << testing::PrintToString(c.Bytes);
    }
}

TEST(TextFile, DecodeFaultsNameLineAndByte) {
    const struct {
        std::string Bytes;
        std::size_t Position;
        const char* Line;
    } cases[] = {
        {"\x80", 0, "1 行目: "},
        {"ok\r\nng\x81", 6, "2 行目: "},  // lead byte cut off at the end
        {"a\nb\rc\r\n\x81\x7F\r\n", 7, "4 行目: "},
    };
    for (const auto& c : cases) {
        try {
            (void)DecodeTextLines(c.Bytes);
            ADD_FAILURE() << "no error";
        } catch (const TextCodecError& e) {
            EXPECT_EQ(e.Position, c.Position);
            EXPECT_EQ(std::string(e.what()).rfind(c.Line, 0), 0u) << e.what();
        }
    }
}

class TextFileOnDisk : public testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        dir_ = fs::temp_directory_path() / ("sorvanta-text-" + std::to_string(random()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<fs::path> Entries() const {
        std::vector<fs::path> entries;
        for (const auto& entry : fs::directory_iterator(dir_)) entries.push_back(entry.path());
        return entries;
    }

    fs::path dir_;
};

TEST_F(TextFileOnDisk, WritesReadsAndReplaces) {
    const fs::path file = dir_ / u8"円弧すべり.txt";
    const TLines lines = {"円弧すべり計算書", "  Fs=Mr/Mo=1.234", "", "ﾈﾊﾞｰｶｯﾄﾗｲﾝ"};
    WriteTextFile(file, lines);
    EXPECT_EQ(ReadFileBytes(file), EncodeTextLines(lines));
    EXPECT_EQ(ReadTextFile(file), lines);

    WriteTextFile(file, {"短い"});
    EXPECT_EQ(ReadTextFile(file), TLines{"短い"});
    WriteFileAtomically(file, "");
    EXPECT_EQ(ReadFileBytes(file), "");
    EXPECT_EQ(Entries(), std::vector<fs::path>{file});  // no temporary file left
}

TEST_F(TextFileOnDisk, FailedWriteKeepsThePreviousFile) {
    const fs::path file = dir_ / "design.dat";
    WriteTextFile(file, {"old"});
    EXPECT_THROW(WriteTextFile(file, {"new", "é"}), TextCodecError);
    EXPECT_EQ(ReadTextFile(file), TLines{"old"});

    // The rename over a directory fails after the temporary file was written.
    const fs::path folder = dir_ / "folder.dat";
    fs::create_directory(folder);
    try {
        WriteFileAtomically(folder, "bytes");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル「" + folder.string() + "」に書き込めません。");
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(Entries().size(), 2u);  // no temporary file left

    EXPECT_THROW(WriteFileAtomically(dir_ / "missing" / "x.dat", "bytes"), FileError);
}

TEST_F(TextFileOnDisk, AReadOnlyFileIsNotReplaced) {
    const fs::path file = dir_ / "protected.dat";
    WriteTextFile(file, {"old"});
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    try {
        WriteTextFile(file, {"new"});
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "ファイル「" + file.string() + "」は読み取り専用のため書き込めません。");
    }
    EXPECT_EQ(ReadTextFile(file), TLines{"old"});
    EXPECT_EQ(Entries(), std::vector<fs::path>{file});

    // A writable file keeps its permissions when replaced.
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    WriteTextFile(file, {"new"});
    EXPECT_EQ(ReadTextFile(file), TLines{"new"});
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(TextFileOnDisk, OnlyRegularFilesAreReadAndTheLimitHolds) {
    const fs::path file = dir_ / "a.dat";
    WriteFileAtomically(file, std::string(100, 'x'));
    EXPECT_EQ(ReadFileBytes(file, 100).size(), 100u);
    try {
        (void)ReadFileBytes(file, 99);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル「" + file.string() +
                                             "」は大きすぎるため読み込めません（100 "
                                             "バイト。上限は 99 バイト）。");
    }
    // A FIFO without a writer and an endless device are refused before a
    // byte is read: neither blocks nor fills the memory.
    const fs::path fifo = dir_ / "fifo.dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& path : {fifo, fs::path("/dev/zero"), dir_}) {
        try {
            (void)ReadFileBytes(path);
            ADD_FAILURE() << path;
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("通常のファイルではないため"), std::string::npos)
                << e.what();
        }
    }
}

TEST_F(TextFileOnDisk, SeveralFilesAreWrittenWholeOrNotAtAll) {
    const fs::path a = dir_ / "a.json";
    const fs::path b = dir_ / "b.pdf";
    WriteFileAtomically(a, "old a");
    // The second file cannot be written (its folder is missing): the first,
    // though writable, keeps its old bytes.
    EXPECT_THROW(WriteFilesAtomically({{a, "new a"}, {dir_ / "missing" / "b.pdf", "b"}}),
                 FileError);
    EXPECT_EQ(ReadFileBytes(a), "old a");
    EXPECT_EQ(Entries(), std::vector<fs::path>{a});  // no temporary file left

    WriteFilesAtomically({{a, "new a"}, {b, "new b"}});
    EXPECT_EQ(ReadFileBytes(a), "new a");
    EXPECT_EQ(ReadFileBytes(b), "new b");
}

TEST_F(TextFileOnDisk, ReadFaultsNameTheFile) {
    const fs::path missing = dir_ / u8"無い.dat";
    try {
        (void)ReadTextFile(missing);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル「" + missing.string() + "」を開けません。");
    }
    EXPECT_THROW((void)ReadFileBytes(dir_), FileError);

    const fs::path broken = dir_ / "broken.dat";
    WriteFileAtomically(broken, "line 1\r\nline\xFF 2\r\n");
    try {
        (void)ReadTextFile(broken);
        FAIL();
    } catch (const TextCodecError& e) {
        EXPECT_EQ(e.Position, 12u);
        EXPECT_EQ(std::string(e.what()).rfind("ファイル「" + broken.string() + "」の 2 行目: ", 0),
                  0u)
            << e.what();
    }
}

}  // namespace
}  // namespace sorvanta

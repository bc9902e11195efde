#include "cli/BatchSummary.h"

#include <cerrno>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "cli/Json.h"
#include "text/Conversion.h"
#include "text/DisplayText.h"
#include "text/NumberFormat.h"

namespace sorvanta::cli {

const char* BatchOutcomeName(TBatchOutcome outcome) {
    switch (outcome) {
        case TBatchOutcome::Ok:
            return "ok";
        case TBatchOutcome::Refused:
            return "refused";
        case TBatchOutcome::NoCircle:
            return "no_circle";
        case TBatchOutcome::Unreadable:
            return "unreadable";
        case TBatchOutcome::OutputError:
            return "output_error";
        case TBatchOutcome::Cancelled:
            return "cancelled";
    }
    return "";
}

void SetCircle(TBatchRow& row, const TCriticalCircle& c, std::string judgement) {
    row.Fs = FormatFloat("0.000;-0.000", c.Fs);
    row.Judgement = std::move(judgement);
    row.Xo = FormatFloat("0.00;-0.00", c.Xo);
    row.Yo = FormatFloat("0.00;-0.00", c.Yo);
    row.R = FormatFloat("0.00", c.R);
    row.Xb = FormatFloat("0.00;-0.00", c.Xb);
    row.Yb = FormatFloat("0.00;-0.00", c.Yb);
    row.Xe = FormatFloat("0.00;-0.00", c.Xe);
    row.Ye = FormatFloat("0.00;-0.00", c.Ye);
    row.Resisting = FormatFloat("#,##0.00", c.Resisting);
    row.Driving = FormatFloat("#,##0.00", c.Driving);
}

std::string OneLine(const std::vector<std::string>& messages) {
    std::string line;
    for (const std::string& message : messages) {
        if (!line.empty()) line += " / ";
        bool lineBreak = false;
        for (char c : message) {
            if (c == '\r' || c == '\n') {
                lineBreak = true;
                continue;
            }
            if (lineBreak) line += ' ';
            lineBreak = false;
            line += c;
        }
    }
    return line;
}

std::vector<std::string> SummaryHeader(int form) {
    return {"No.",
            "設計条件ファイル",
            "結果",
            "安全率(Fs)",
            "判定",
            "円弧中心X座標(Xo)",
            "円弧中心Y座標(Yo)",
            "円弧半径(R)",
            "円弧起点X座標(Xb)",
            "円弧起点Y座標(Yb)",
            "円弧終点X座標(Xe)",
            "円弧終点Y座標(Ye)",
            form == 1 ? "抵抗力(Fr)" : "抵抗ﾓｰﾒﾝﾄ(Mr)",
            form == 1 ? "滑り力(Fo)" : "滑動ﾓｰﾒﾝﾄ(Mo)",
            "メッセージ",
            "計算時間(秒)"};
}

namespace {

std::string SecondsText(double seconds) {
    return FormatFloat("0.00", seconds);
}

}  // namespace

std::vector<std::string> SummaryCells(const TBatchRow& row) {
    return {std::to_string(row.Position + 1),
            row.Path,
            BatchOutcomeName(row.Outcome),
            row.Fs,
            row.Judgement,
            row.Xo,
            row.Yo,
            row.R,
            row.Xb,
            row.Yb,
            row.Xe,
            row.Ye,
            row.Resisting,
            row.Driving,
            row.Message,
            SecondsText(row.Seconds)};
}

std::string CsvRecord(const std::vector<std::string>& cells) {
    std::string record;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) record += ',';
        const std::string& cell = cells[i];
        if (cell.find_first_of(",\"\r\n") == std::string::npos) {
            record += cell;
            continue;
        }
        record += '"';
        for (char c : cell) {
            if (c == '"') record += '"';
            record += c;
        }
        record += '"';
    }
    record += "\r\n";
    return record;
}

namespace {

// A formatted number ("1,234.56", "-2.040") as a JSON number; empty as null.
std::string JsonNumberText(const std::string& cell) {
    std::string digits;
    for (char c : cell) {
        if (c != ',') digits += c;
    }
    const auto value = TryStrToFloat(digits);
    return value ? JsonNumber(*value) : "null";
}

}  // namespace

std::string JsonLinesRecord(const TBatchRow& row) {
    const auto text = [](const std::string& s) -> std::string {
        return s.empty() ? "null" : JsonString(s);
    };
    std::string record = "{\"no\": " + std::to_string(row.Position + 1);
    record += ", \"path\": " + JsonString(row.Path);
    record += ", \"outcome\": " + JsonString(BatchOutcomeName(row.Outcome));
    record += ", \"Fs\": " + JsonNumberText(row.Fs);
    record += ", \"judgement\": " + text(row.Judgement);
    const std::pair<const char*, const std::string*> numbers[] = {
        {"Xo", &row.Xo},          {"Yo", &row.Yo}, {"R", &row.R},   {"Xb", &row.Xb},
        {"Yb", &row.Yb},          {"Xe", &row.Xe}, {"Ye", &row.Ye}, {"Resisting", &row.Resisting},
        {"Driving", &row.Driving}};
    for (const auto& [key, value] : numbers) {
        record += std::string(", \"") + key + "\": " + JsonNumberText(*value);
    }
    record += ", \"message\": " + JsonString(row.Message);
    record += ", \"seconds\": " + JsonNumberText(SecondsText(row.Seconds));
    record += "}\n";
    return record;
}

TSummaryFile::~TSummaryFile() {
    Close();
}

bool TSummaryFile::Open(const std::filesystem::path& path, std::string& problem) {
    Close();
    failed_ = false;
    const std::u8string u8 = path.u8string();
    const std::string name =
        EscapeForDisplay(std::string_view(reinterpret_cast<const char*>(u8.data()), u8.size()));
    const std::string cannotWrite = "ファイル「" + name + "」に書き込めません。";
    const std::string held = "要約ファイル「" + name +
                             "」は別の batch が書いています。別の要約ファイルを指定して下さい。";
#ifdef _WIN32
    // Denying others write access is the lock; truncating only after it.
    file_ = _wfsopen(path.c_str(), L"ab", _SH_DENYWR);
    if (!file_) {
        problem = errno == EACCES ? held : cannotWrite;
        return false;
    }
    if (_chsize_s(_fileno(file_), 0) != 0) {
        Close();
        problem = cannotWrite;
        return false;
    }
#else
    // Opened without truncating: the file is emptied only once the lock is
    // ours, so a refused batch leaves the other's rows alone.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        problem = cannotWrite;
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        problem = errno == EWOULDBLOCK ? held : cannotWrite;
        ::close(fd);
        return false;
    }
    if (::ftruncate(fd, 0) != 0) {
        ::close(fd);
        problem = cannotWrite;
        return false;
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        problem = cannotWrite;
        return false;
    }
#endif
    // Larger than any row, so that a row reaches the file in one write.
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
    return true;
}

bool TSummaryFile::Append(std::string_view line) {
    if (!file_ || failed_) return false;
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0) {
        failed_ = true;
    }
    return !failed_;
}

bool TSummaryFile::Close() {
    if (!file_) return !failed_;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

}  // namespace sorvanta::cli

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
#include "design/StoredOptions.h"
#include "report/ReportTexts.h"
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

TCaseFigures CaseFiguresOf(const TRunResult& run) {
    TCaseFigures f;
    if (run.Model) {
        f.Kh = run.Model->Loads.Kh;
        f.RequiredFs = run.Model->RequiredFs;
    }
    if (run.HasCritical) {
        f.Fs = run.Critical.Fs;
        f.Verdict = run.Judgement.Verdict;
    }
    f.Pr = CriticalRestrainingForce(run);
    if (run.MostForce.Found) f.PrMost = run.MostForce.Force;
    return f;
}

void SetCircle(TBatchRow& row, const TCalculationReport& report) {
    row.Circle = report.Run.Critical;
    row.Verdict = report.Run.Judgement.Verdict;
    row.Main = CaseFiguresOf(report.Run);
    if (report.SeismicCase)
        row.Seismic = CaseFiguresOf(report.SeismicCase->Run);
    else if (report.Run.Case == TDesignCase::Seismic)
        row.Seismic = row.Main;
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

std::vector<std::string> SummaryHeader(int form, TSummaryColumns columns) {
    std::vector<std::string> header{"No.",
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
    if (columns.Force) header.insert(header.end(), {"必要抑止力(Pr)", "最大必要抑止力(Pr)"});
    if (columns.Seismic)
        header.insert(header.end(),
                      {"地震時kh", "地震時安全率(Fs)", "地震時所要安全率", "地震時判定"});
    if (columns.Seismic && columns.Force)
        header.insert(header.end(), {"地震時必要抑止力(Pr)", "地震時最大必要抑止力(Pr)"});
    if (columns.Method) header.insert(header.end(), {"分割法", "間隙水圧"});
    return header;
}

namespace {

std::string SecondsText(double seconds) {
    return FormatFloat("0.00", seconds);
}

// The asked-for columns' cells as text, or as JSON values rounded as the
// CSV shows them; empty cells and null where a figure is missing.
template <typename TCell>
void AddCaseCells(std::vector<std::pair<std::string, std::string>>& cells, const TBatchRow& row,
                  TCell cell) {
    const auto& m = row.Main;
    const auto& s = row.Seismic;
    const auto get = [](const std::optional<TCaseFigures>& f,
                        std::optional<double> TCaseFigures::*member) {
        return f ? (*f).*member : std::nullopt;
    };
    if (row.Columns.Force) {
        cells.push_back(cell("Pr", get(m, &TCaseFigures::Pr), "#,##0.00;-#,##0.00", 2));
        cells.push_back(cell("Pr_most", get(m, &TCaseFigures::PrMost), "#,##0.00;-#,##0.00", 2));
    }
    if (row.Columns.Seismic) {
        cells.push_back(cell("seismic_kh", s ? std::optional(s->Kh) : std::nullopt, "0.00##", 4));
        cells.push_back(cell("seismic_Fs", get(s, &TCaseFigures::Fs), "0.000;-0.000", 3));
        cells.push_back(
            cell("seismic_required_fs", get(s, &TCaseFigures::RequiredFs), "0.00##", 4));
        const bool judged = s && s->Fs;
        cells.emplace_back("seismic_judgement", judged ? VerdictText(s->Verdict) : std::string());
    }
    if (row.Columns.Seismic && row.Columns.Force) {
        cells.push_back(cell("seismic_Pr", get(s, &TCaseFigures::Pr), "#,##0.00;-#,##0.00", 2));
        cells.push_back(
            cell("seismic_Pr_most", get(s, &TCaseFigures::PrMost), "#,##0.00;-#,##0.00", 2));
    }
}

}  // namespace

std::vector<std::string> SummaryCells(const TBatchRow& row) {
    std::vector<std::string> cells{std::to_string(row.Position + 1), row.Path,
                                   BatchOutcomeName(row.Outcome)};
    if (const auto& c = row.Circle) {
        cells.insert(cells.end(),
                     {FormatFloat("0.000;-0.000", c->Fs), VerdictText(row.Verdict),
                      FormatFloat("0.00;-0.00", c->Xo), FormatFloat("0.00;-0.00", c->Yo),
                      FormatFloat("0.00", c->R), FormatFloat("0.00;-0.00", c->Xb),
                      FormatFloat("0.00;-0.00", c->Yb), FormatFloat("0.00;-0.00", c->Xe),
                      FormatFloat("0.00;-0.00", c->Ye), FormatFloat("#,##0.00", c->Resisting),
                      FormatFloat("#,##0.00", c->Driving)});
    } else {
        cells.resize(cells.size() + 11);
    }
    cells.push_back(row.Message);
    cells.push_back(SecondsText(row.Seconds));
    if (row.Columns.Any()) {
        std::vector<std::pair<std::string, std::string>> more;
        AddCaseCells(more, row,
                     [](const char* key, std::optional<double> v, const char* format, int) {
                         return std::pair<std::string, std::string>(
                             key, v ? FormatFloat(format, *v) : std::string());
                     });
        for (auto& [key, text] : more) cells.push_back(std::move(text));
    }
    if (row.Columns.Method) {
        cells.push_back(row.Method ? MethodName(*row.Method) : "");
        cells.push_back(row.PoreForm ? PoreFormText(*row.PoreForm) : "");
    }
    return cells;
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

std::string JsonLinesRecord(const TBatchRow& row) {
    // The numbers as the CSV rounds them.
    const auto number = [&](double TCriticalCircle::*member, int decimals) -> std::string {
        return row.Circle ? JsonNumber(RoundToDecimals((*row.Circle).*member, decimals)) : "null";
    };
    std::string record = "{\"no\": " + std::to_string(row.Position + 1);
    record += ", \"path\": " + JsonString(row.Path);
    record += ", \"outcome\": " + JsonString(BatchOutcomeName(row.Outcome));
    record += ", \"Fs\": " + number(&TCriticalCircle::Fs, 3);
    record += ", \"judgement\": " +
              (row.Circle ? JsonString(VerdictText(row.Verdict)) : std::string("null"));
    const std::pair<const char*, double TCriticalCircle::*> numbers[] = {
        {"Xo", &TCriticalCircle::Xo},
        {"Yo", &TCriticalCircle::Yo},
        {"R", &TCriticalCircle::R},
        {"Xb", &TCriticalCircle::Xb},
        {"Yb", &TCriticalCircle::Yb},
        {"Xe", &TCriticalCircle::Xe},
        {"Ye", &TCriticalCircle::Ye},
        {"Resisting", &TCriticalCircle::Resisting},
        {"Driving", &TCriticalCircle::Driving}};
    for (const auto& [key, member] : numbers) {
        record += std::string(", \"") + key + "\": " + number(member, 2);
    }
    record += ", \"message\": " + JsonString(row.Message);
    record += ", \"seconds\": " + JsonNumber(RoundToDecimals(row.Seconds, 2));
    if (row.Columns.Any()) {
        std::vector<std::pair<std::string, std::string>> more;
        AddCaseCells(more, row,
                     [](const char* key, std::optional<double> v, const char*, int decimals) {
                         return std::pair<std::string, std::string>(
                             key, v ? JsonNumber(RoundToDecimals(*v, decimals)) : "null");
                     });
        for (auto& [key, value] : more) {
            // The judgement is a text.
            if (key == "seismic_judgement") value = value.empty() ? "null" : JsonString(value);
            record += ", " + JsonString(key) + ": " + value;
        }
    }
    if (row.Columns.Method) {
        TAnalysisOptions keys;
        if (row.Method) keys.Method = *row.Method;
        if (row.PoreForm) keys.PoreForm = *row.PoreForm;
        const auto key = [&](bool known, std::string_view name) {
            const TStoredOption* option = FindStoredOption(name);
            return known && option ? JsonString(StoredOptionText(keys, *option))
                                   : std::string("null");
        };
        record += ", \"method\": " + key(row.Method.has_value(), "method");
        record += ", \"pore_pressure\": " + key(row.PoreForm.has_value(), "pore-pressure");
    }
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

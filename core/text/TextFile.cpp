#include "text/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string_view>
#include <system_error>

#include "text/Cp932.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace sorvanta {

namespace {

std::string DisplayName(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(reinterpret_cast<const char*>(name.data()), name.size());
}

std::FILE* OpenFile(const std::filesystem::path& path, bool write) {
#if defined(_WIN32)
    return _wfopen(path.c_str(), write ? L"wbx" : L"rb");
#else
    return std::fopen(path.c_str(), write ? "wbx" : "rb");
#endif
}

// Closes on every path; fclose reports a late write failure.
struct TFileCloser {
    std::FILE* File;
    ~TFileCloser() {
        if (File) std::fclose(File);
    }
    bool Close() {
        std::FILE* file = File;
        File = nullptr;
        return std::fclose(file) == 0;
    }
};

bool SyncToDisk(std::FILE* file) {
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// An existing regular file that may not be written: no write permission bit
// (the read-only attribute on Windows), or none for this process.
bool IsReadOnlyFile(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::is_regular_file(status)) return false;
    constexpr fs::perms anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & anyWrite) == fs::perms::none) return true;
#if defined(_WIN32)
    return false;
#else
    return access(path.c_str(), W_OK) != 0;
#endif
}

// Line number (from 1) of the byte at `position`; CR LF, LF and CR end lines.
std::size_t LineOf(std::string_view bytes, std::size_t position) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < position && i < bytes.size(); ++i) {
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++line;
    }
    return line;
}

std::vector<std::string> DecodeLines(std::string_view bytes, const std::string& where) {
    std::string text;
    try {
        text = Cp932ToUtf8(bytes);
    } catch (const TextCodecError& e) {
        throw TextCodecError(
            where + std::to_string(LineOf(bytes, e.Position)) + " 行目: " + e.what(), e.Position);
    }
    // cp932 trail bytes never take the values of CR or LF, so the decoded text
    // splits where the bytes do.
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text, start, i - start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text, start);
    return lines;
}

}  // namespace

std::string EncodeTextLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        // A line break inside a line would change the lines the file reads back as.
        const std::size_t lineBreak = line.find_first_of("\r\n");
        if (lineBreak != std::string::npos)
            throw TextCodecError(std::to_string(i + 1) + " 行目: 行の中に改行文字があります。",
                                 lineBreak);
        try {
            bytes += Utf8ToCp932(line);
        } catch (const TextCodecError& e) {
            throw TextCodecError(std::to_string(i + 1) + " 行目: " + e.what(), e.Position);
        }
        bytes += "\r\n";
    }
    return bytes;
}

std::vector<std::string> DecodeTextLines(std::string_view bytes) {
    return DecodeLines(bytes, std::string());
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::string failure = "ファイル「" + DisplayName(path) + "」に書き込めません。";
    if (path.filename().empty()) throw FileError(failure);
    // Renaming over a read-only file would replace it although writing into it
    // is refused; the protection the user set must hold.
    if (IsReadOnlyFile(path))
        throw FileError("ファイル「" + DisplayName(path) +
                        "」は読み取り専用のため書き込めません。");

    // Beside the target, so that the rename stays within one file system.
    std::random_device entropy;
    std::filesystem::path temp;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(entropy()));
        temp = path;
        temp += suffix;
        file = OpenFile(temp, true);
        if (!file && errno != EEXIST) break;
    }
    if (!file) throw FileError(failure);

    TFileCloser closer{file};
    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && std::fflush(file) == 0 && SyncToDisk(file);
    written = closer.Close() && written;

    std::error_code error;
    if (written) {
        // Keep the permissions of the file being replaced.
        const auto status = std::filesystem::status(path, error);
        if (!error && std::filesystem::is_regular_file(status))
            std::filesystem::permissions(temp, status.permissions(), error);
        error.clear();
        std::filesystem::rename(temp, path, error);
    }
    if (!written || error) {
        std::filesystem::remove(temp, error);
        throw FileError(failure);
    }
}

void WriteTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    WriteFileAtomically(path, EncodeTextLines(lines));
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::FILE* file = OpenFile(path, false);
    if (!file) throw FileError("ファイル「" + DisplayName(path) + "」を開けません。");
    TFileCloser closer{file};
    std::string bytes;
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
    if (std::ferror(file))
        throw FileError("ファイル「" + DisplayName(path) + "」を読み込めません。");
    return bytes;
}

std::vector<std::string> ReadTextFile(const std::filesystem::path& path) {
    return DecodeLines(ReadFileBytes(path), "ファイル「" + DisplayName(path) + "」の ");
}

}  // namespace sorvanta

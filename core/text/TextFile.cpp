#include "text/TextFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string_view>
#include <system_error>

#include "text/Cp932.h"
#include "text/DisplayText.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sorvanta {

namespace {

// The path as messages show it: valid UTF-8 without control characters.
std::string DisplayName(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return EscapeForDisplay(
        std::string_view(reinterpret_cast<const char*>(name.data()), name.size()));
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

namespace {

// A complete temporary file beside its target, waiting to be renamed over it.
struct TStagedFile {
    std::filesystem::path Target;
    std::filesystem::path Temp;
};

std::string WriteFailure(const std::filesystem::path& path) {
    return "ファイル「" + DisplayName(path) + "」に書き込めません。";
}

// Writes `bytes` to a new temporary file beside `path`. Throws FileError, the
// temporary file removed.
TStagedFile StageFile(const std::filesystem::path& path, std::string_view bytes) {
    const std::string failure = WriteFailure(path);
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
    // A write past the file size limit fails here (EFBIG) like a full disk:
    // the tool ignores SIGXFSZ so that it is not killed with the file half
    // written.
    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && std::fflush(file) == 0 && SyncToDisk(file);
    written = closer.Close() && written;
    if (!written) {
        std::error_code error;
        std::filesystem::remove(temp, error);
        throw FileError(failure);
    }
    return {path, temp};
}

// Renames the temporary file over its target, keeping the permissions of the
// file being replaced. Throws FileError, the temporary file removed.
void CommitFile(const TStagedFile& staged) {
    std::error_code error;
    const auto status = std::filesystem::status(staged.Target, error);
    if (!error && std::filesystem::is_regular_file(status))
        std::filesystem::permissions(staged.Temp, status.permissions(), error);
    error.clear();
    std::filesystem::rename(staged.Temp, staged.Target, error);
    if (error) {
        std::filesystem::remove(staged.Temp, error);
        throw FileError(WriteFailure(staged.Target));
    }
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    CommitFile(StageFile(path, bytes));
}

void WriteFilesAtomically(const std::vector<TFileContents>& files) {
    std::vector<TStagedFile> staged;
    staged.reserve(files.size());
    try {
        for (const TFileContents& file : files) staged.push_back(StageFile(file.Path, file.Bytes));
    } catch (const FileError&) {
        std::error_code error;
        for (const TStagedFile& s : staged) std::filesystem::remove(s.Temp, error);
        throw;
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        try {
            CommitFile(staged[i]);
        } catch (const FileError&) {
            std::error_code error;
            for (std::size_t k = i + 1; k < staged.size(); ++k)
                std::filesystem::remove(staged[k].Temp, error);
            throw;
        }
    }
}

void WriteTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    WriteFileAtomically(path, EncodeTextLines(lines));
}

std::string ReadFileBytes(const std::filesystem::path& path, std::size_t limit) {
    const std::string cannotOpen = "ファイル「" + DisplayName(path) + "」を開けません。";
    const std::string notRegular = "ファイル「" + DisplayName(path) +
                                   "」は通常のファイルではないため読み込めません（フォルダ、"
                                   "FIFO、デバイスなど）。";
    const auto tooLarge = [&](std::uintmax_t size) {
        return FileError("ファイル「" + DisplayName(path) + "」は大きすぎるため読み込めません（" +
                         std::to_string(size) + " バイト。上限は " + std::to_string(limit) +
                         " バイト）。");
    };
#if defined(_WIN32)
    std::error_code typeError;
    if (std::filesystem::exists(path, typeError) &&
        !std::filesystem::is_regular_file(path, typeError))
        throw FileError(notRegular);
    std::FILE* file = OpenFile(path, false);
    if (!file) throw FileError(cannotOpen);
#else
    // Opened without blocking, so that a FIFO without a writer does not hang
    // the open; its type is then taken from the open file itself.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw FileError(cannotOpen);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileError(notRegular);
    }
    if (limit > 0 && static_cast<std::uintmax_t>(info.st_size) > limit) {
        ::close(fd);
        throw tooLarge(static_cast<std::uintmax_t>(info.st_size));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        throw FileError(cannotOpen);
    }
#endif
    TFileCloser closer{file};
    std::string bytes;
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
        // A file that grows while it is read is held to the limit too.
        if (limit > 0 && bytes.size() > limit) throw tooLarge(bytes.size());
    }
    if (std::ferror(file))
        throw FileError("ファイル「" + DisplayName(path) + "」を読み込めません。");
    return bytes;
}

std::vector<std::string> ReadTextFile(const std::filesystem::path& path) {
    return DecodeLines(ReadFileBytes(path), "ファイル「" + DisplayName(path) + "」の ");
}

}  // namespace sorvanta

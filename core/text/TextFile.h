#pragma once
// Text files: cp932, CR LF after every line, the last included.

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorvanta {

// A file could not be opened, read, written or renamed. what() is a Japanese
// message naming the file.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Encodes the UTF-8 lines as cp932 with CR LF. Throws TextCodecError naming
// the line when a character cannot be written.
std::string EncodeTextLines(const std::vector<std::string>& lines);

// Splits cp932 bytes into UTF-8 lines at CR LF (a lone LF or CR also ends a
// line). Throws TextCodecError on invalid bytes.
std::vector<std::string> DecodeTextLines(std::string_view bytes);

// Writes the whole file atomically: a temporary file beside the target is
// written and renamed over it only when complete, so a failure never destroys
// the previous file. Throws FileError.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Several files whole or none of them: every file is written beside its
// target first, and only when all are complete are they renamed over their
// targets. A failure removes every temporary file and leaves each target as it
// was. Throws FileError.
struct TFileContents {
    std::filesystem::path Path;
    std::string Bytes;
};
void WriteFilesAtomically(const std::vector<TFileContents>& files);
void WriteTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

// Reads a regular file; anything else (a folder, a FIFO, a device) is refused
// before a byte is read, so that a read never blocks or runs without end.
// With a `limit`, a file of more bytes is refused, naming the limit. Throws
// FileError (ReadTextFile also TextCodecError).
std::string ReadFileBytes(const std::filesystem::path& path, std::size_t limit = 0);
std::vector<std::string> ReadTextFile(const std::filesystem::path& path);

}  // namespace sorvanta

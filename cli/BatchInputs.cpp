#include "cli/BatchInputs.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <system_error>
#include <utility>

#include "text/Conversion.h"
#include "text/DisplayText.h"
#include "text/TextFile.h"

namespace sorvanta::cli {

namespace fs = std::filesystem;

bool ParseShard(const std::string& text, int& index, int& count) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return false;
    const auto i = TryStrToInt(text.substr(0, slash));
    const auto n = TryStrToInt(text.substr(slash + 1));
    if (!i || !n || *n < 1 || *i < 0 || *i >= *n) return false;
    index = *i;
    count = *n;
    return true;
}

std::vector<std::size_t> ShardPositions(std::size_t designs, int index, int count) {
    std::vector<std::size_t> positions;
    for (std::size_t i = static_cast<std::size_t>(index); i < designs;
         i += static_cast<std::size_t>(count)) {
        positions.push_back(i);
    }
    return positions;
}

namespace {

bool IsDesignFile(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".dat";
}

// Every *.dat below `folder`, recursively; symbolic links to folders are not
// followed (a link to a design file is taken). A *.dat that is not a regular
// file (a FIFO, a dangling link) is listed too: its row says why it cannot be
// read, rather than the design going missing without a word.
void AddFolder(const fs::path& folder, std::vector<std::string>& designs,
               TUnreadableFolders& unreadable) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_directory(typeError) && !it->is_symlink(typeError)) {
            AddFolder(it->path(), designs, unreadable);
        } else if (IsDesignFile(it->path())) {
            designs.push_back(it->path().lexically_normal().generic_string());
        }
    }
    if (error) {
        const std::string name = folder.lexically_normal().generic_string();
        designs.push_back(name);
        const std::string reason = error == std::errc::permission_denied ? "権限がありません"
                                   : error == std::errc::filename_too_long ? "パスが長すぎます"
                                                                           : error.message();
        unreadable[name] = "フォルダ「" + name + "」を読めません（" + reason +
                           "）。その中の設計条件は計算されていません。";
    }
}

// Adds the design files an input names, as normalised path texts: a folder
// gives every *.dat below it, anything else is taken as a design file (one
// that does not exist gets its row as unreadable).
void AddInput(const std::string& input, std::vector<std::string>& designs,
              TUnreadableFolders& unreadable) {
    const fs::path path(input);
    std::error_code error;
    if (!fs::is_directory(path, error)) {
        designs.push_back(path.lexically_normal().generic_string());
        return;
    }
    AddFolder(path, designs, unreadable);
}

}  // namespace

std::vector<std::string> CollectDesigns(const std::vector<std::string>& inputs,
                                        TUnreadableFolders& unreadable, std::string& problem) {
    std::vector<std::string> names;
    for (const std::string& input : inputs) {
        if (input.size() < 2 || input[0] != '@') {
            AddInput(input, names, unreadable);
            continue;
        }
        std::string text;
        try {
            text = ReadFileBytes(fs::path(input.substr(1)));
        } catch (const std::exception& e) {
            problem = e.what();
            return {};
        }
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
        const auto blank = [](char c) { return c == '\r' || c == ' ' || c == '\t'; };
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            start = end + 1;
            while (!line.empty() && blank(line.back())) line.pop_back();
            std::size_t first = 0;
            while (first < line.size() && blank(line[first])) ++first;
            line.erase(0, first);
            if (!line.empty()) AddInput(line, names, unreadable);
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());

    std::vector<std::string> designs;
    std::set<std::string> seen;
    for (std::string& name : names) {
        std::error_code error;
        fs::path key = fs::weakly_canonical(fs::absolute(fs::path(name)), error);
        if (error) key = fs::absolute(fs::path(name)).lexically_normal();
        if (seen.insert(key.generic_string()).second) designs.push_back(std::move(name));
    }
    return designs;
}

std::vector<fs::path> OutputBases(const std::vector<std::string>& designs, const fs::path& dir,
                                  const TUnreadableFolders& unreadable, std::string& problem) {
    std::vector<fs::path> folders;
    folders.reserve(designs.size());
    for (const std::string& design : designs) {
        folders.push_back(fs::absolute(fs::path(design)).lexically_normal().parent_path());
    }
    fs::path common = folders.empty() ? fs::path() : folders.front();
    for (const fs::path& folder : folders) {
        fs::path shared;
        auto a = common.begin();
        auto b = folder.begin();
        for (; a != common.end() && b != folder.end() && *a == *b; ++a, ++b) shared /= *a;
        common = shared;
    }
    std::vector<fs::path> bases;
    bases.reserve(designs.size());
    std::map<std::string, std::size_t> taken;
    for (std::size_t i = 0; i < designs.size(); ++i) {
        if (unreadable.count(designs[i]) > 0) {
            bases.emplace_back();  // writes nothing
            continue;
        }
        const fs::path sub = folders[i].lexically_relative(common);
        fs::path base = dir / sub / fs::path(designs[i]).stem();
        base = base.lexically_normal();
        // Case folded: on some file systems a.json and A.json are one file.
        std::string key = base.generic_string();
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const auto [it, inserted] = taken.emplace(std::move(key), i);
        if (!inserted) {
            problem = "出力名が重なります: '" + EscapeForDisplay(designs[it->second]) + "' と '" +
                      EscapeForDisplay(designs[i]) + "'";
            return {};
        }
        bases.push_back(std::move(base));
    }
    return bases;
}

}  // namespace sorvanta::cli

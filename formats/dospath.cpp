#include "formats/dospath.h"

#include <string>
#include <vector>

namespace formats {

namespace fs = std::filesystem;

static bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

static std::vector<std::string> SplitName(std::string_view name) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : name) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

std::optional<fs::path> ResolveDosName(const fs::path& dir, std::string_view name) {
    if (name.empty()) return std::nullopt;
    bool absolute = name.front() == '/';
    fs::path current = absolute ? fs::path("/") : (dir.empty() ? fs::path(".") : dir);
    std::error_code ec;
    for (const std::string& part : SplitName(name)) {
        if (part == "." || part == "..") {
            current /= part;
            continue;
        }
        fs::path exact = current / part;
        if (fs::exists(exact, ec)) {
            current = exact;
            continue;
        }
        // Several entries may match ("Sheet.PBM" and "sheet.pbm"): take the
        // byte-wise smallest name, whatever order the file system lists them in.
        std::optional<std::string> match;
        for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
            // The entry's name as a view into its path: no path is made per entry.
            const std::string& full = it->path().native();
            const std::string_view entry =
                std::string_view(full).substr(full.find_last_of('/') + 1);
            if (SameIgnoringCase(entry, part) && (!match || entry < *match))
                match = std::string(entry);
        }
        if (!match) return std::nullopt;
        current /= *match;
    }
    if (!fs::exists(current, ec)) return std::nullopt;
    return current;
}

fs::path DosNameAsPath(const fs::path& dir, std::string_view name) {
    std::string slashed(name);
    for (char& c : slashed)
        if (c == '\\') c = '/';
    if (!slashed.empty() && slashed.front() == '/') return fs::path(slashed);
    return (dir.empty() ? fs::path(".") : dir) / slashed;
}

fs::path DosNameToPath(const fs::path& dir, std::string_view name) {
    if (auto found = ResolveDosName(dir, name)) return *found;
    return DosNameAsPath(dir, name);
}

} // namespace formats

#include "mapedit/ui/filedialogs.h"

#include <cctype>

namespace mapedit::ui {

const FileDialogSpec& DialogSpec(FileDialogKind kind) {
    static const FileDialogSpec kOpenMap{"Open", "Map files (*.Map)|*.map|All files (*.*)|*.*",
                                         false, true, ""};
    static const FileDialogSpec kSaveMap{"Save As", "Map files (*.map)|*.map|Any files (*.*)|*.*",
                                         true, false, ""};
    static const FileDialogSpec kOpenTileSet{"Open", "Tile sets (*.til)|*.til", false, true, "til"};
    static const FileDialogSpec kOpenPalette{
        "Open", "Tile palette files (*.TPL)|*.tpl|All files (*.*)|*.*", false, true, ""};
    static const FileDialogSpec kSavePalette{"Save As", "Tile palette files (*.tpl)|*.tpl", true,
                                             false, ""};
    switch (kind) {
    case FileDialogKind::OpenMap:
        return kOpenMap;
    case FileDialogKind::SaveMap:
        return kSaveMap;
    case FileDialogKind::OpenTileSet:
        return kOpenTileSet;
    case FileDialogKind::OpenPalette:
        return kOpenPalette;
    case FileDialogKind::SavePalette:
        return kSavePalette;
    }
    return kOpenMap;
}

std::vector<FilterEntry> ParseFilter(std::string_view filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= filter.size()) {
        const size_t bar = filter.find('|', start);
        const size_t end = bar == std::string_view::npos ? filter.size() : bar;
        parts.emplace_back(filter.substr(start, end - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    std::vector<FilterEntry> entries;
    // A description without its pattern part is left out.
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        FilterEntry entry{parts[i], {}};
        std::string_view list = parts[i + 1];
        size_t from = 0;
        while (from <= list.size()) {
            const size_t semi = list.find(';', from);
            const size_t to = semi == std::string_view::npos ? list.size() : semi;
            std::string pattern(list.substr(from, to - from));
            if (!pattern.empty()) entry.patterns.push_back(pattern);
            if (semi == std::string_view::npos) break;
            from = semi + 1;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string CaseFreePattern(std::string_view pattern) {
    if (pattern == "*.*") return "*";
    std::string out;
    for (char c : pattern) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalpha(u)) {
            out += '[';
            out += char(std::tolower(u));
            out += char(std::toupper(u));
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

bool FileNameTooLong(std::string_view name) {
    return name.size() > kMaxFileName;
}

std::string FileNameTooLongMessage(std::string_view name) {
    return "The file name is " + std::to_string(name.size()) +
           " characters long; the editor takes file names of at most " +
           std::to_string(kMaxFileName) + " characters:\n" + std::string(name);
}

} // namespace mapedit::ui

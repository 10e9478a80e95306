#pragma once
// The editor's file dialogs as data: filters in the "description|pattern|..."
// form the commands give them, and the rules for the names they return.
#include <string>
#include <string_view>
#include <vector>

namespace mapedit::ui {

enum class FileDialogKind { OpenMap, SaveMap, OpenTileSet, OpenPalette, SavePalette };

struct FileDialogSpec {
    const char* title;
    const char* filter;
    bool save;              // a save dialog (asks before overwriting a file)
    bool mustExist;         // open dialogs: the file must exist
    const char* defaultExt; // added to a name typed without one; empty for none
};

const FileDialogSpec& DialogSpec(FileDialogKind kind);

struct FilterEntry {
    std::string description;
    std::vector<std::string> patterns;
    bool operator==(const FilterEntry&) const = default;
};

// Splits "Map files (*.Map)|*.map|All files (*.*)|*.*" into its pairs; a
// pattern part may list several patterns separated by ';'.
std::vector<FilterEntry> ParseFilter(std::string_view filter);

// A pattern that matches regardless of letter case, as the names of a DOS
// disk did: "*.map" becomes "*.[mM][aA][pP]"; "*.*" (every file) becomes "*".
std::string CaseFreePattern(std::string_view pattern);

// File names and texts hold at most 255 characters. A longer chosen name is
// refused rather than cut to a different name.
inline constexpr size_t kMaxFileName = 255;
bool FileNameTooLong(std::string_view name);
std::string FileNameTooLongMessage(std::string_view name);

} // namespace mapedit::ui

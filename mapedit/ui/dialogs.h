#pragma once
// Every question, message and dialog the editor's commands show goes through
// this interface, so that tests can answer them. The window's implementation
// shows real Qt dialogs (qtdialogs.h).
#include "mapedit/core/editorui.h"
#include "mapedit/ui/filedialogs.h"

#include <cstdint>
#include <optional>
#include <string>

namespace mapedit::ui {

// The values the Map Settings dialog shows and returns.
struct LayoutValues {
    int32_t width = 64;
    int32_t height = 64;
    bool background = true; // LayerFlags 0x01
    bool foreground = true; // 0x04
    bool collision = true;  // 0x08
    bool attributes = true; // 0x20
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageResult Message(MessageKind kind, const std::string& text,
                                  MessageButtons buttons) = 0;
    // Runs a file dialog with an empty file name; nothing when it was cancelled
    // or confirmed without a name.
    virtual std::optional<std::string> ChooseFile(FileDialogKind kind) = 0;
    // The colour dialog, starting with `initial` (0x00BBGGRR); nothing on Cancel.
    virtual std::optional<uint32_t> ChooseColour(uint32_t initial) = 0;
    // The Map Settings dialog, filled from `values`; true (and `values` read
    // back) only when it was closed with its OK button.
    virtual bool RunLayout(LayoutValues& values) = 0;
    virtual void ShowAbout() = 0;
};

} // namespace mapedit::ui

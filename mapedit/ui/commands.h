#pragma once
// The commands of the editor's main menu and the close question, on top of the
// editor core. The window calls these from its menu actions; every question
// and dialog goes through Dialogs.
#include "formats/errors.h"
#include "mapedit/core/editor.h"
#include "mapedit/ui/dialogs.h"

#include <functional>
#include <string>

namespace mapedit::ui {

class TEditorCommands {
public:
    TEditorCommands(TEditor& editor, Dialogs& dialogs);

    // Runs a command; an exception that leaves it is shown in an error box (with
    // the file it concerns, when known) and the program goes on. Returns false
    // when one was shown.
    template <class F> bool Guarded(F&& command) {
        try {
            command();
            return true;
        } catch (const std::exception& e) {
            ShowError(formats::ErrorMessage(e));
            return false;
        }
    }

    // "&File"
    void New1Click();
    void Open1Click();
    // Opens a map as "&Open..." does once a name is chosen (the command line uses this).
    void OpenMap(const std::string& name);
    void Save1Click();
    void SaveAs1Click();
    void Layout1Click();
    void OpenTilePalette1Click();
    void SaveTilePalette1Click();
    void SaveTilePaletteAs1Click();
    void OpenTileSet1Click();
    void Exit1Click();
    // "&Options" > "&Colors"
    void Slab1Click();
    void Attributes1Click();
    void Flags1Click();
    void AttributesBClick();
    void backgroundClick();
    // "Tile Brightness" (tags 50 to 175) and "Real Shadows".
    void N501Click(int tag);
    void RealShadows1Click(bool checked);
    // "&Help"
    void About1Click();

    // Whether the window may close; asks about unsaved changes.
    bool FormCloseQuery();

    // Ends the program at once, without the close question.
    std::function<void()> QuitApplication;

    // The colour the shared colour dialog starts with next time.
    uint32_t DialogColour() const { return DialogColour_; }

private:
    void ShowError(const std::string& text);
    // A chosen name, or nothing when the dialog was cancelled or the name is
    // too long (which is reported).
    std::optional<std::string> ChooseName(FileDialogKind kind);
    // Runs the colour dialog from `start`; the dialog keeps what it showed.
    std::optional<uint32_t> RunColourDialog(uint32_t start);
    void WriteDocument();
    // Save1Click's work: true when the map was written, false when no name
    // was chosen. Write errors pass to the caller.
    bool SaveDocument();
    bool IsUntitled() const;

    TEditor& Ed;
    Dialogs& Dlg;
    uint32_t DialogColour_ = kInitialSlabColor;
};

inline constexpr const char* kClearQuestion =
    "This will nuke everything.\nYou're sure it's what you want?";
inline constexpr const char* kPaletteOverTileSet =
    "A tile palette cannot be saved over the tile set file it belongs to; choose another name.";

} // namespace mapedit::ui

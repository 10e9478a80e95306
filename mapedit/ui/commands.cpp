#include "mapedit/ui/commands.h"

#include <filesystem>

namespace mapedit::ui {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUntitled = "Untitled";

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
    return fs::weakly_canonical(fs::absolute(a, ec), ec) ==
           fs::weakly_canonical(fs::absolute(b, ec), ec);
}

} // namespace

TEditorCommands::TEditorCommands(TEditor& editor, Dialogs& dialogs) : Ed(editor), Dlg(dialogs) {}

void TEditorCommands::ShowError(const std::string& text) {
    Dlg.Message(MessageKind::Error, text, MessageButtons::Ok);
}

std::optional<std::string> TEditorCommands::ChooseName(FileDialogKind kind) {
    std::optional<std::string> name = Dlg.ChooseFile(kind);
    if (!name || name->empty()) return std::nullopt;
    if (FileNameTooLong(*name)) {
        ShowError(FileNameTooLongMessage(*name));
        return std::nullopt;
    }
    return name;
}

bool TEditorCommands::IsUntitled() const {
    return Ed.Doc.DocName.empty() || Ed.Doc.DocName == kUntitled;
}

// DocName is the short form shown in the caption; the file goes where the
// user chose it, whatever the current directory is.
void TEditorCommands::WriteDocument() {
    Ed.WriteMap(Ed.Doc.DocPath.empty() ? Ed.Doc.DocName : Ed.Doc.DocPath);
}

void TEditorCommands::New1Click() {
    if (Dlg.Message(MessageKind::Warning, kClearQuestion, MessageButtons::YesNo) !=
        MessageResult::Yes)
        return;
    Ed.ClearDocument();
    Ed.Ui.RepaintMap();
}

void TEditorCommands::Open1Click() {
    if (std::optional<std::string> name = ChooseName(FileDialogKind::OpenMap)) OpenMap(*name);
}

void TEditorCommands::OpenMap(const std::string& name) {
    if (FileNameTooLong(name)) {
        ShowError(FileNameTooLongMessage(name));
        return;
    }
    Ed.ClearDocument();
    try {
        Ed.OpenMapFile(name);
    } catch (...) {
        // The emptied document holds what the reader got to; show it.
        Ed.Ui.RepaintMap();
        throw;
    }
}

void TEditorCommands::Save1Click() {
    SaveDocument();
}

bool TEditorCommands::SaveDocument() {
    if (IsUntitled()) {
        if (std::optional<std::string> name = ChooseName(FileDialogKind::SaveMap))
            Ed.SetDocName(*name);
    }
    if (IsUntitled()) return false;
    WriteDocument();
    return true;
}

void TEditorCommands::SaveAs1Click() {
    if (std::optional<std::string> name = ChooseName(FileDialogKind::SaveMap)) {
        Ed.SetDocName(*name);
        WriteDocument();
    }
}

void TEditorCommands::Layout1Click() {
    const uint8_t flags = Ed.Doc.LayerFlags;
    LayoutValues values{Ed.Doc.W(),          Ed.Doc.H(),          (flags & 0x01) != 0,
                        (flags & 0x04) != 0, (flags & 0x08) != 0, (flags & 0x20) != 0};
    if (!Dlg.RunLayout(values)) return;
    Ed.ResizePlanes(values.width, values.height);
    // A cleared box clears nothing.
    if (values.background) Ed.Doc.LayerFlags |= 0x01;
    if (values.foreground) Ed.Doc.LayerFlags |= 0x04;
    if (values.collision) Ed.Doc.LayerFlags |= 0x08;
    if (values.attributes) Ed.Doc.LayerFlags |= 0x20;
}

void TEditorCommands::OpenTilePalette1Click() {
    if (std::optional<std::string> name = ChooseName(FileDialogKind::OpenPalette)) {
        Ed.Tiles.LoadPalette(*name);
        Ed.Ui.RepaintPalette();
        // Map cells find their pictures through the arrangement that just changed.
        Ed.Ui.RepaintMap();
    }
}

void TEditorCommands::SaveTilePalette1Click() {
    if (Ed.Tiles.PaletteFileName.empty())
        SaveTilePaletteAs1Click();
    else
        Ed.Tiles.SavePalette(Ed.Tiles.PaletteFileName);
}

void TEditorCommands::SaveTilePaletteAs1Click() {
    std::optional<std::string> name = ChooseName(FileDialogKind::SavePalette);
    if (!name) return;
    if (SameFile(*name, Ed.Tiles.FileName)) {
        ShowError(kPaletteOverTileSet);
        return;
    }
    Ed.Tiles.PaletteFileName = *name;
    Ed.Tiles.SavePalette(*name);
}

void TEditorCommands::OpenTileSet1Click() {
    std::optional<std::string> name = ChooseName(FileDialogKind::OpenTileSet);
    if (!name) return;
    try {
        formats::WithFileName(*name, [&] { Ed.Tiles.LoadTileSet(*name); });
    } catch (...) {
        // Part of the set may have loaded; show what the slots hold now.
        Ed.Ui.RealizeEditorPalette();
        throw;
    }
    Ed.Ui.RealizeEditorPalette();
}

void TEditorCommands::Exit1Click() {
    if (QuitApplication) QuitApplication();
}

std::optional<uint32_t> TEditorCommands::RunColourDialog(uint32_t start) {
    DialogColour_ = start;
    std::optional<uint32_t> chosen = Dlg.ChooseColour(start);
    if (chosen) DialogColour_ = *chosen;
    return chosen;
}

void TEditorCommands::Slab1Click() {
    if (std::optional<uint32_t> c = RunColourDialog(DialogColour_)) Ed.SlabColor = *c;
}

void TEditorCommands::Attributes1Click() {
    if (std::optional<uint32_t> c = RunColourDialog(Ed.AttrAColor)) {
        Ed.AttrAColor = *c;
        Ed.Ui.RepaintMap();
    }
}

void TEditorCommands::Flags1Click() {
    if (std::optional<uint32_t> c = RunColourDialog(Ed.FlagsColor)) {
        Ed.FlagsColor = *c;
        Ed.Ui.RepaintMap();
    }
}

void TEditorCommands::AttributesBClick() {
    if (std::optional<uint32_t> c = RunColourDialog(Ed.AttrBColor)) {
        Ed.AttrBColor = *c;
        Ed.Ui.RepaintMap();
    }
}

void TEditorCommands::backgroundClick() {
    if (std::optional<uint32_t> c = RunColourDialog(DialogColour_)) {
        Ed.Colours.SetBackgroundColour(uint8_t(*c & 0xFF), uint8_t((*c >> 8) & 0xFF),
                                       uint8_t((*c >> 16) & 0xFF));
        Ed.Ui.RepaintMap();
        Ed.Ui.RepaintPalette();
    }
}

void TEditorCommands::N501Click(int tag) {
    // tag / 100.0 gives 0.5, 0.75, ... 1.75 exactly.
    Ed.Colours.SetBrightness(tag / 100.0);
    Ed.Ui.RepaintMap();
    Ed.Ui.RepaintPalette();
}

void TEditorCommands::RealShadows1Click(bool checked) {
    Ed.SetShadeMode(checked);
    Ed.Ui.RepaintMap();
}

void TEditorCommands::About1Click() {
    Dlg.ShowAbout();
}

bool TEditorCommands::FormCloseQuery() {
    if (!Ed.Doc.Modified) return true;
    const MessageResult answer =
        Dlg.Message(MessageKind::Warning, "Save Changes to Map " + Ed.Doc.DocName + "?",
                    MessageButtons::YesNoCancel);
    // Only a save that wrote the map lets the window close: a failed save, a
    // cancelled file dialog or a name refused keep it open, so nothing is lost.
    if (answer == MessageResult::Yes) {
        bool written = false;
        Guarded([this, &written] { written = SaveDocument(); });
        return written;
    }
    return answer == MessageResult::No;
}

} // namespace mapedit::ui

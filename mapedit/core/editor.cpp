#include "mapedit/core/editor.h"

#include "formats/text.h"

namespace mapedit {

TEditor::TEditor(EditorUi& ui) : Ui(ui), Tiles(Colours, ui), CurrentAttr(&Attrs.BlankAttr) {
    CellSurface.ShadeMode = true;
}

void TEditor::ClearDocument() {
    History.Clear(Ui);
    SetDocName("Untitled");
    Doc.ClearCells();
}

void TEditor::SetDocName(const std::string& name) {
    Doc.DocName = formats::RelativeToProgramDir(formats::ShortText(name));
    Doc.DocPath = name;
    Ui.SetCaption(Doc.DocName);
}

void TEditor::ResizePlanes(int32_t newWidth, int32_t newHeight) {
    Doc.ResizePlanes(newWidth, newHeight);
    Ui.MapSizeChanged(Doc.W(), Doc.H());
}

} // namespace mapedit

// The attribute tools: picking an attribute from the catalogue and setting the
// argument it paints with.
#include "formats/errors.h"
#include "formats/text.h"
#include "mapedit/core/editor.h"

namespace mapedit {

void TEditor::AttrPresetClick(int tag) {
    if (tag < 0 || tag >= kAttrCount) return;
    CurrentAttr = &Attrs.AttrTable[size_t(tag)];
    Ui.ShowAttribute(*CurrentAttr);
    SelectAttrLayer();
}

void TEditor::AttrArgPresetClick(int32_t value) {
    Ui.ShowArgument(value);
    CurrentAttr->Arg = value;
}

void TEditor::MaskEdit1Change(const std::string& text) {
    std::string digits = text;
    formats::RemoveSpaces(digits);
    try {
        CurrentAttr->Arg = formats::StrToInt(digits);
    } catch (const formats::EConvertError&) {
        CurrentAttr->Arg = 0;
    }
}

void TEditor::SelectAttrLayer() {
    if (CurrentLayer == kAttributeLayer) return;
    CurrentLayer = kAttributeLayer;
    Ui.PressLayerButton(AttrBank == 2 ? LayerButton::AttributesButton2
                                      : LayerButton::AttributesButton);
}

} // namespace mapedit

#pragma once
// What the editor core asks of its window. The Qt window implements it; tests
// record the calls with a fake. Every method has a quiet default so that
// programs without a window (benchmarks, tools) can use QuietUi as it stands.
#include "mapedit/core/geometry.h"

#include <memory>
#include <string>

namespace mapedit {

struct TAttrInfo;

enum class MessageKind { Information, Warning, Error };
enum class MessageButtons { Ok, Ignore, YesNo, YesNoCancel };
enum class MessageResult { Ok, Ignore, Yes, No, Cancel };

// The four status panels along the bottom edge.
enum class StatusPanel { CoordsDisp, TerrainDisp, EffectDisp, StatusDisp };

// The layer buttons of the "DisplaySettings" group.
enum class LayerButton {
    BackGroundButton,
    MiddleGroundButton,
    ForeGroundButton,
    CollisionsButton,
    AttributesButton,
    AttributesButton2,
};

// The lines of the progress box (TInfoBox).
enum class ProgressLine { Label1, Label2, Label3, Label4, Label5, CurrentString };

// An open progress box; it closes when the object is destroyed.
class ProgressBox {
public:
    virtual ~ProgressBox() = default;
    virtual void SetText(ProgressLine /*line*/, const std::string& /*text*/) {}
};

class EditorUi {
public:
    virtual ~EditorUi() = default;

    // Compose and paint map cell (x, y) now, from the planes as they are at the
    // call (a preview writes, redraws and restores at once). Cells out of view
    // are skipped by the window.
    virtual void RedrawCell(int32_t /*x*/, int32_t /*y*/) {}
    virtual void RepaintMap() {}
    virtual void RepaintPalette() {}
    // Paint palette cell (column, row) now, with its frames.
    virtual void RedrawPaletteCell(int32_t /*column*/, int32_t /*row*/) {}
    // The colours changed (a map or tile set was loaded): realize them and
    // repaint the palette grid and the map view.
    virtual void RealizeEditorPalette() {}
    // The map's width or height changed; the view takes the new grid size.
    virtual void MapSizeChanged(int32_t /*width*/, int32_t /*height*/) {}
    virtual void SetCaption(const std::string& /*caption*/) {}

    // Edit menu items "&Undo" and "&Redo".
    virtual void SetUndoEnabled(bool /*enabled*/) {}
    virtual void SetRedoEnabled(bool /*enabled*/) {}

    virtual void SetStatusText(StatusPanel /*panel*/, const std::string& /*text*/) {}
    // The stamp outline for `rect` (border cells only) in `colour` (0x00BBGGRR),
    // drawn straight onto the view; the next redraw of those cells removes it.
    virtual void DrawStampOutline(const CellRect& /*rect*/, uint32_t /*colour*/) {}

    // Press the layer button without running its click handler (the others release).
    virtual void PressLayerButton(LayerButton /*button*/) {}
    // Show an attribute in "Attribute settings": the labels, the argument field
    // (its Arg) and the ten argument preset buttons.
    virtual void ShowAttribute(const TAttrInfo& /*attr*/) {}
    // Put a value into the argument field.
    virtual void ShowArgument(int32_t /*value*/) {}

    // A modal message box; returns the button chosen.
    virtual MessageResult ShowMessage(MessageKind /*kind*/, const std::string& /*text*/,
                                      MessageButtons buttons) {
        switch (buttons) {
        case MessageButtons::Ignore:
            return MessageResult::Ignore;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return MessageResult::Yes;
        case MessageButtons::Ok:
            break;
        }
        return MessageResult::Ok;
    }
    // A progress box whose "Action" frame reads `whatDoing`; it stays on top
    // until the returned object is destroyed. Boxes may nest.
    virtual std::unique_ptr<ProgressBox> OpenProgress(const std::string& /*whatDoing*/) {
        return std::make_unique<ProgressBox>();
    }
    // Let the window handle its pending events (keeps it responsive during loads).
    virtual void ProcessPendingEvents() {}
};

// An EditorUi that does nothing, for programs without a window.
class QuietUi : public EditorUi {};

} // namespace mapedit

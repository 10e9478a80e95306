#pragma once
// TMedit: the editor's main window. It holds the editor core (the document,
// tiles, tools and undo), lays out its controls, wires them to the core, and
// answers the core's requests to redraw, enable menu items, show texts and
// messages. Behaviour lives in the core and in TEditorCommands.
#include "mapedit/core/editor.h"
#include "mapedit/ui/commands.h"
#include "mapedit/ui/palettemarks.h"
#include "mapedit/ui/qtdialogs.h"
#include "mapedit/ui/windowgeometry.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace mapedit::ui {

class THandleBox;
class TMapView;
class TPaletteGrid;

class TMedit : public QMainWindow, public EditorUi {
    Q_OBJECT
public:
    // Uses `dialogs` for every question and dialog (tests pass scripted ones);
    // without them the window makes real ones.
    explicit TMedit(QtDialogs* dialogs = nullptr);
    ~TMedit() override;

    TEditor& Editor() { return *Editor_; }
    TEditorCommands& Commands() { return *Commands_; }
    QAction* Action(const char* name) const;

    // Controls, named as the window's design names them (also their object names).
    TMapView* DrawGrid1 = nullptr;
    TPaletteGrid* PaletteGrid = nullptr;
    THandleBox* HandleBox = nullptr;
    std::array<QToolButton*, 5> PaletteMarkers{};
    QPushButton* SetMark = nullptr;
    QToolButton* ZoomIn = nullptr;
    QToolButton* ZoomOut = nullptr;
    QGroupBox* DisplaySettings = nullptr;
    // Indexed by LayerButton.
    std::array<QToolButton*, 6> LayerButtons{};
    // DrawBackGround, DrawCollisions, DrawMiddleGround, DrawForeGround,
    // DrawTerrain, DrawEffect.
    std::array<QCheckBox*, 6> ShowBoxes{};
    QGroupBox* GroupBox2 = nullptr;
    QLabel* AttrNameLabel = nullptr;
    QLabel* AttrStyleLabel = nullptr;
    QLabel* AttrArgLabel = nullptr;
    std::array<QToolButton*, kPresetCount> AttrArgPresets{};
    QLineEdit* MaskEdit1 = nullptr;
    QGroupBox* AtributePresets = nullptr;
    std::array<QPushButton*, kAttrCount> AttrPresetButtons{};
    // CoordsDisp, TerrainDisp, EffectDisp, StatusDisp.
    std::array<QLabel*, 4> StatusPanels{};
    QTimer* Timer1 = nullptr;

    // Where the mouse is on the screen; Timer1 asks it (tests may replace it).
    std::function<QPoint()> CursorPos;

    void FormResize();
    void FitMapView();
    void Timer1Timer();
    void ZoomInClick();
    void ZoomOutClick();

    // EditorUi
    void RedrawCell(int32_t x, int32_t y) override;
    void RepaintMap() override;
    void RepaintPalette() override;
    void RealizeEditorPalette() override;
    void MapSizeChanged(int32_t width, int32_t height) override;
    void SetCaption(const std::string& caption) override;
    void SetUndoEnabled(bool enabled) override;
    void SetRedoEnabled(bool enabled) override;
    void SetStatusText(StatusPanel panel, const std::string& text) override;
    void DrawStampOutline(const CellRect& rect, uint32_t colour) override;
    void PressLayerButton(LayerButton button) override;
    void ShowAttribute(const TAttrInfo& attr) override;
    void ShowArgument(int32_t value) override;
    MessageResult ShowMessage(MessageKind kind, const std::string& text,
                              MessageButtons buttons) override;
    std::unique_ptr<ProgressBox> OpenProgress(const std::string& whatDoing) override;
    void ProcessPendingEvents() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildPalette(QWidget* central);
    void BuildDisplaySettings(QWidget* central);
    void BuildAttributeGroups(QWidget* central);
    void BuildStatusPanels(QWidget* central);
    void SetPresetButton(QToolButton* button, const char* glyph, int32_t value);
    void PaletteMarkerClick(int index);
    // Runs a handler; an exception that leaves it is shown in an error box.
    template <class F> void Guard(F&& handler) { Commands_->Guarded(handler); }

    std::unique_ptr<QtDialogs> OwnDialogs_;
    QtDialogs* Dialogs_ = nullptr;
    std::unique_ptr<TEditor> Editor_;
    std::unique_ptr<TEditorCommands> Commands_;
    TPaletteMarks Marks_;
    WindowLayout Layout_;
    QWidget* Central_ = nullptr;
    bool Quitting_ = false;
    int LoadDepth_ = 0; // progress boxes open
};

} // namespace mapedit::ui
